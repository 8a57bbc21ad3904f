#include "core/records/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/platform/saturate.h"
#include "core/records/results_file.h"
#include "core/records/results_scan.h"

namespace numora {

int32_t TimeDigits(int32_t seconds) {
  // The number formed by the first three characters of the decimal text (no sign, no padding).
  int64_t v = std::llabs(static_cast<int64_t>(seconds));
  while (v >= 1000) {
    v /= 10;
  }
  return static_cast<int32_t>(v);
}

int32_t RunPoints(const SharedState& state, int level, int32_t seconds) {
  if (level < 0 || level >= kLevelSlots) {
    return 0;
  }
  const LevelStandard& standard = state.levelStandards[static_cast<size_t>(level)];
  const int32_t target = standard.targetTime;
  // A level without a positive target time cannot be scored (the formula divides by it).
  if (target <= 0) {
    return 0;
  }
  int32_t base = 0;
  if (seconds <= target) {
    const double share = static_cast<double>(target - TimeDigits(seconds)) / target;
    // A damaged record with a negative time could give a negative share: it earns nothing.
    base = share < 0 ? 0 : SaturatingCast<int32_t>(std::floor(share * share * share * 50.0 + 5.0));
  } else if (seconds < 2 * static_cast<int64_t>(target)) {
    base = 4;
  } else if (seconds < 10 * static_cast<int64_t>(target)) {
    base = 1;
  }
  if (seconds >= 99998) {
    base = 0;
  }
  // The multiplier is single precision, and so is its product with the base points.
  // A damaged multiplier (1e9, infinite) saturates instead of wrapping round.
  const float product = standard.pointMultiplier * static_cast<float>(base);
  return SaturatingCast<int32_t>(std::floor(product));
}

namespace {

template <class T>
void ClearPlayableCells(LevelPupilTable<T>& table) {
  for (int level = 1; level < kLevelSlots; ++level) {
    auto row = table.cells.begin() + static_cast<std::ptrdiff_t>(LevelPupilIndex(level, 1));
    std::fill(row, row + (kPupilSlots - 1), T{});
  }
}

// "Dated later than today minus the period": whole days, so a period of 7 covers today and the
// six days before it. An empty, 0 or negative period covers nothing, not even a record dated
// after today (a computer whose clock was once set ahead).
double PeriodStart(const Value& days, double today) {
  const double n = days.Number();
  if (!(n > 0)) {
    return std::numeric_limits<double>::infinity();
  }
  return today - n;
}

}  // namespace

void RebuildStatistics(SharedState& state, Services& services) {
  ClearPlayableCells(state.totalRuns);
  ClearPlayableCells(state.recentRuns);
  ClearPlayableCells(state.todayRuns);
  ClearPlayableCells(state.todayPoints);
  ClearPlayableCells(state.totalTimeSum);
  ClearPlayableCells(state.totalPoints);
  ClearPlayableCells(state.recentPoints);
  ClearPlayableCells(state.todayTimeSum);
  ClearPlayableCells(state.overPracticeWindowRuns);
  ClearPlayableCells(state.overPracticeWindowPoints);

  if (!ScanResults(state, services)) {
    return;
  }

  const double today = std::floor(services.clock.Today());
  std::array<double, kLevelSlots> passStart{};
  std::array<double, kLevelSlots> practiceStart{};
  for (int level = 1; level < kLevelSlots; ++level) {
    const LevelStandard& standard = state.levelStandards[static_cast<size_t>(level)];
    passStart[static_cast<size_t>(level)] = PeriodStart(standard.passPeriodDays, today);
    practiceStart[static_cast<size_t>(level)] = PeriodStart(standard.overPracticePeriodDays, today);
  }

  for (int32_t i = 1; i <= state.resultEntryCount; ++i) {
    const ResultEntry& e = state.resultEntries[static_cast<size_t>(i)];
    const int level = e.level;
    const int pupil = e.pupilNumber;
    if (level < 1 || level >= kLevelSlots || pupil < 1 || pupil >= kPupilSlots) {
      continue;
    }
    const size_t cell = LevelPupilIndex(level, pupil);
    const bool counted = e.seconds < 6000;
    const int32_t points = RunPoints(state, level, e.seconds);
    const int32_t digits = TimeDigits(e.seconds);
    const double day = std::floor(e.runDate);
    if (counted) {
      ++state.totalRuns[cell];
    }
    if (day > passStart[static_cast<size_t>(level)]) {
      if (counted) {
        ++state.recentRuns[cell];
      }
      state.recentPoints[cell] = SaturatingAdd(state.recentPoints[cell], points);
    }
    if (day > practiceStart[static_cast<size_t>(level)]) {
      if (counted) {
        ++state.overPracticeWindowRuns[cell];
      }
      state.overPracticeWindowPoints[cell] =
          SaturatingAdd(state.overPracticeWindowPoints[cell], points);
    }
    state.totalPoints[cell] = SaturatingAdd(state.totalPoints[cell], points);
    state.totalTimeSum[cell] = SaturatingAdd(state.totalTimeSum[cell], digits);
    if (day == today) {
      if (counted) {
        state.todayRuns[cell] += 1.0F;
      }
      state.todayTimeSum[cell] += static_cast<float>(digits);
      state.todayPoints[cell] = SaturatingAdd(state.todayPoints[cell], points);
    }
  }

  for (int level = 1; level < kLevelSlots; ++level) {
    for (int pupil = 1; pupil < kPupilSlots; ++pupil) {
      const size_t cell = LevelPupilIndex(level, pupil);
      if (state.totalRuns[cell] >= 1) {
        state.totalAverageTime[cell] = static_cast<float>(std::floor(
            static_cast<double>(state.totalTimeSum[cell]) / state.totalRuns[cell] + 0.5));
      }
      if (state.todayRuns[cell] >= 1) {
        state.todayAverageTime[cell] = static_cast<float>(std::floor(
            static_cast<double>(state.todayTimeSum[cell]) / state.todayRuns[cell] + 0.5));
      }
    }
  }
}

void RecordRun(SharedState& state, Services& services, int level) {
  const int pupil = state.currentPupil;
  const bool placeable = level >= 0 && level < kLevelSlots && pupil >= 0 && pupil < kPupilSlots;
  if (placeable) {
    const LevelStandard& standard = state.levelStandards[static_cast<size_t>(level)];
    state.run.clearedBefore = state.totalRuns(level, pupil) >= standard.clearCount &&
                              state.totalPoints(level, pupil) >= standard.clearPoints;
    if (state.bestTime(level, pupil) > state.run.recordedTime) {
      state.run.newPersonalBest = true;
      state.bestTime(level, pupil) = state.run.recordedTime;
    }
  } else {
    state.run.clearedBefore = false;
  }
  AppendRunRecord(state, services, state.currentPupil, static_cast<int16_t>(level),
                  state.run.recordedTime);
  if (placeable && state.bestTimeAll[static_cast<size_t>(level)] > state.run.recordedTime) {
    state.bestTimeAll[static_cast<size_t>(level)] = state.run.recordedTime;
    state.run.newLevelBest = true;
  }
}

}  // namespace numora
