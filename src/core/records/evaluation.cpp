#include "core/records/evaluation.h"

#include <cmath>

#include "core/platform/saturate.h"
#include "core/platform/value.h"
#include "core/records/sentinels.h"

namespace numora {

namespace {

bool InRange(int level, int pupil) {
  return level >= 0 && level < kLevelSlots && pupil >= 0 && pupil < kPupilSlots;
}

const LevelStandard& StandardOf(const LevelCatalogue& catalogue, int level) {
  return catalogue.standards[static_cast<std::size_t>(level)];
}

}  // namespace

int32_t EvaluationBasePoints(int32_t targetTime, int32_t t) {
  if (t >= kCountsAsTimeOutFrom || targetTime <= 0) {
    return 0;
  }
  const double target = targetTime;
  if (t <= targetTime) {
    const double ratio = (target - t) / target;
    return SaturatingCast<int32_t>(std::floor(ratio * ratio * ratio * 50.0 + 5.0));
  }
  if (t < 2.0 * target) {
    return 4;
  }
  if (t < 10.0 * target) {
    return 1;
  }
  return 0;
}

int32_t AwardedPoints(float pointMultiplier, int32_t basePoints) {
  const float product = pointMultiplier * static_cast<float>(basePoints);
  return SaturatingCast<int32_t>(std::floor(product));
}

std::string PointsLine(int32_t basePoints, float pointMultiplier, int32_t awarded) {
  return "獲得ポイント：" + std::to_string(basePoints) + "点×" + FormatSingle(pointMultiplier) +
         "→" + std::to_string(awarded) + "点";
}

std::string RunTimeLine(int32_t t) {
  if (t >= kCountsAsTimeOutFrom) {
    return "記録なし";
  }
  return "今の成績：" + std::to_string(t) + "秒";
}

std::string LevelRunsLine(float todayRunsOnLevel) {
  return " (このレベル　" + FormatSingle(todayRunsOnLevel) + "回目)";
}

std::string TotalRunsLine(int todayTotalRuns) {
  return "（" + std::to_string(todayTotalRuns) + "回目)";
}

bool IsCleared(const LevelCatalogue& catalogue, const StatisticsTables& stats, int level,
               int pupil) {
  if (!InRange(level, pupil)) {
    return false;
  }
  const LevelStandard& s = StandardOf(catalogue, level);
  return stats.recentPoints(level, pupil) >= s.clearPoints &&
         stats.recentRuns(level, pupil) >= s.clearCount;
}

bool IsOverPractised(const LevelCatalogue& catalogue, const StatisticsTables& stats, int level,
                     int pupil) {
  if (!InRange(level, pupil)) {
    return false;
  }
  const LevelStandard& s = StandardOf(catalogue, level);
  const double runsLimit = s.overPracticeCount.Number();
  const double pointsLimit = s.overPracticePoints.Number();
  return (runsLimit != 0 && stats.overPracticeWindowRuns(level, pupil) >= runsLimit) ||
         (pointsLimit != 0 && stats.overPracticeWindowPoints(level, pupil) >= pointsLimit);
}

bool GoalPanelAllowed(const LevelCatalogue& catalogue) {
  for (int l = 1; l < kLevelSlots; ++l) {
    if (StandardOf(catalogue, l).clearCount == 9999) {
      return false;
    }
  }
  return true;
}

bool IsFinalLevel(const LevelCatalogue& catalogue, int level) {
  return catalogue.finalLevel == level;
}

EvaluationResult Evaluate(const LevelCatalogue& catalogue, const StatisticsTables& stats,
                          const DrillRunState& run, int level, int pupil) {
  EvaluationResult r;
  if (!InRange(level, pupil)) {
    return r;
  }
  const LevelStandard& s = StandardOf(catalogue, level);
  const int32_t t = run.recordedTime;

  r.basePoints = EvaluationBasePoints(s.targetTime, t);
  r.awardedPoints = AwardedPoints(s.pointMultiplier, r.basePoints);
  r.pointsLine = PointsLine(r.basePoints, s.pointMultiplier, r.awardedPoints);
  r.timeLine = RunTimeLine(t);
  r.levelRunsLine = LevelRunsLine(stats.todayRuns(level, pupil));
  double total = 0;
  for (int l = 1; l < kLevelSlots; ++l) {
    total += stats.todayRuns(l, pupil);
  }
  r.todayTotalRuns = SaturatingCast<int16_t>(std::nearbyint(total));
  r.totalRunsLine = TotalRunsLine(r.todayTotalRuns);

  if (run.timedOut) {
    r.message = "時間切れ";
  } else if (run.newLevelBest) {
    r.message = "！！！最高新記録！！！";
    r.sound = EvaluationSound::kLevelBest;
  } else if (run.newPersonalBest) {
    r.message = "新記録おめでとう";
    r.sound = EvaluationSound::kPersonalBest;
  } else if (t <= s.minimumTime) {
    r.sound = EvaluationSound::kNotPassed;
  }

  r.cleared = IsCleared(catalogue, stats, level, pupil);
  const bool goalLevel = r.cleared && IsFinalLevel(catalogue, level);
  r.showGoalPanel = goalLevel && GoalPanelAllowed(catalogue);
  r.playGoalSound = goalLevel && !run.clearedBefore;
  return r;
}

EvaluationButtons ButtonsAfterDelay(const LevelCatalogue& catalogue, const StatisticsTables& stats,
                                    int level, int pupil) {
  EvaluationButtons b;
  if (!IsOverPractised(catalogue, stats, level, pupil) ||
      !IsCleared(catalogue, stats, level, pupil)) {
    return b;
  }
  if (IsFinalLevel(catalogue, level)) {
    b.hideLabel2 = true;
  } else if (!stats.finalLevelCleared) {
    b.label2Text = kMoveOnText;
    b.showRetry = false;
  }
  return b;
}

}  // namespace numora
