#pragma once

// The arithmetic of the drill's run clock: elapsed seconds, minutes since the pupil started, the
// run's time limit and time bar, the countdown squares, the status panel's run numbers and the
// one-second wait at the end of a run.

#include <array>
#include <cstdint>
#include <string>

#include "core/installation/level_catalogue.h"
#include "core/platform/services.h"
#include "core/records/sentinels.h"
#include "core/records/statistics_tables.h"

namespace numora {

inline constexpr int kProblemsPerRun = 10;
inline constexpr int kPenaltySeconds = 10;

// Whole seconds from start to timer (both seconds after midnight), rounded to the nearest second
// (halves to even). A run that goes on past midnight keeps counting instead of turning negative.
int32_t ElapsedSeconds(double timer, double start);

// Whole minutes since the pupil confirmed the name (whole seconds after midnight, rounded, so
// the timer can be up to half a second before it). Past midnight the count goes on.
int32_t MinutesSince(double timer, int32_t startSeconds);

// The time limit of a level: five times its minimum time; 0 when the minimum time is 0 or less,
// which means the run has no time limit.
int32_t RunTimeLimit(const LevelStandard& standard);

// Time-bar width per second of run time for a bar of barWidth; 0 without a time limit.
double TimeBarScale(double barWidth, int32_t timeLimit);

// The countdown squares 10..39 of the status panel: 10-19 count down to the school's best time on
// the level, 20-29 to the pupil's own best, 30-39 to the level's target time and minimum time.
// Each group loses one square a second during the ten seconds before its threshold.
struct CountdownThresholds {
  int32_t best = 0;          // 0: no countdown for the green squares
  int32_t personalBest = 0;  // 0: no countdown for the olive squares
  int32_t targetTime = 0;
  int32_t minimumTime = 0;
};
// Thresholds of level L and pupil P: a best time counts when it lies between 1 and 99998.
CountdownThresholds CountdownThresholdsFor(const LevelCatalogue& catalogue,
                                           const StatisticsTables& stats, int level, int pupil);

struct CountdownSquares {
  static constexpr int kFirst = 10;
  static constexpr int kLast = 39;
  std::array<bool, kLast + 1> hidden{};  // entries 10..39 are used; hidden squares stay hidden
  // Hides the squares whose moment has come at the given elapsed seconds.
  void Tick(int32_t elapsed, const CountdownThresholds& thresholds);
  int HiddenCount() const;
};

// Font size of the title on the status panel: 14 points for a title longer than nine characters,
// else 16.8.
double TitlePointSize(const std::string& title);

// Waits the given seconds by counting 10-millisecond steps against the clock's tick count,
// catching up at most one step per pass, so it never ends early; window messages keep being
// processed in every pass. Between passes that count no step it yields for a few milliseconds
// rather than spin.
void WaitOnTickCount(Services& services, double seconds);

}  // namespace numora
