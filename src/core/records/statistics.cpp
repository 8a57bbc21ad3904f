#include "core/records/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/platform/saturate.h"
#include "core/records/results_file.h"
#include "core/records/results_scan.h"
#include "core/records/scoring.h"

namespace numora {

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
