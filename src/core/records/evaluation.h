#pragma once

// The rules of the evaluation screen after a run: the points of the run, the lines it shows, the
// message and sound chosen for the run, the clear and goal rules and the buttons offered.

#include <cstdint>
#include <string>

#include "core/drill/drill_run_state.h"
#include "core/installation/level_catalogue.h"
#include "core/records/statistics_tables.h"

namespace numora {

// Points of a run of t seconds against the target time T, before the multiplier: from 55 at 0 s
// down to 5 at T, then 4 below 2T, 1 below 10T and 0 beyond; 0 for a timed-out run (t ≥ 99998)
// and 0 on a level without a positive target time.
int32_t EvaluationBasePoints(int32_t targetTime, int32_t t);
// Whole points after the multiplier, multiplied in single precision.
int32_t AwardedPoints(float pointMultiplier, int32_t basePoints);

// "獲得ポイント：11点×1.5→16点"
std::string PointsLine(int32_t basePoints, float pointMultiplier, int32_t awarded);
// "今の成績：95秒", or "記録なし" for a timed-out run.
std::string RunTimeLine(int32_t t);
// " (このレベル　3回目)"
std::string LevelRunsLine(float todayRunsOnLevel);
// "（5回目)"
std::string TotalRunsLine(int todayTotalRuns);

// The pupil meets the level's clear requirements within its pass period.
bool IsCleared(const LevelCatalogue& catalogue, const StatisticsTables& stats, int level,
               int pupil);
// The pupil has reached the level's over-practice limit (runs or points) within its period.
bool IsOverPractised(const LevelCatalogue& catalogue, const StatisticsTables& stats, int level,
                     int pupil);
// The goal panel may be shown: no level 1 to 35 has a clear count of 9999.
bool GoalPanelAllowed(const LevelCatalogue& catalogue);
bool IsFinalLevel(const LevelCatalogue& catalogue, int level);

enum class EvaluationSound {
  kNone,
  kLevelBest,     // the fixed "最高1.wav"
  kPersonalBest,  // a variant of cue 8
  kNotPassed,     // a variant of cue 10
};

// What the evaluation screen shows and plays once the statistics include the run just recorded.
struct EvaluationResult {
  int32_t basePoints = 0;
  int32_t awardedPoints = 0;
  std::string pointsLine;
  std::string timeLine;
  std::string levelRunsLine;
  std::string totalRunsLine;
  int16_t todayTotalRuns = 0;
  std::string message;  // empty: no message line
  EvaluationSound sound = EvaluationSound::kNone;
  bool cleared = false;        // shows "このレベルクリア"
  bool showGoalPanel = false;  // "目標レベルクリア。おめでとう！"
  bool playGoalSound = false;  // "合格.wav": the goal level cleared for the first time
};
EvaluationResult Evaluate(const LevelCatalogue& catalogue, const StatisticsTables& stats,
                          const DrillRunState& run, int level, int pupil);

// What the screen offers half a second later.
struct EvaluationButtons {
  bool showRetry = true;    // "もう一度"
  bool hideLabel2 = false;  // the clear line is cleared and hidden
  std::string label2Text;   // non-empty: the clear line's new caption
};
EvaluationButtons ButtonsAfterDelay(const LevelCatalogue& catalogue, const StatisticsTables& stats,
                                    int level, int pupil);

inline constexpr const char* kClearedText = "このレベルクリア";
inline constexpr const char* kGoalText = "目標レベルクリア。おめでとう！";
inline constexpr const char* kMoveOnText = "次のレベルへ進みましょう";

}  // namespace numora
