#include "core/records/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/installation/app_state.h"
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

void RebuildStatistics(AppState& state, Services& services) {
  ClearPlayableCells(state.stats.totalRuns);
  ClearPlayableCells(state.stats.recentRuns);
  ClearPlayableCells(state.stats.todayRuns);
  ClearPlayableCells(state.stats.todayPoints);
  ClearPlayableCells(state.stats.totalTimeSum);
  ClearPlayableCells(state.stats.totalPoints);
  ClearPlayableCells(state.stats.recentPoints);
  ClearPlayableCells(state.stats.todayTimeSum);
  ClearPlayableCells(state.stats.overPracticeWindowRuns);
  ClearPlayableCells(state.stats.overPracticeWindowPoints);

  if (!ScanResults(state.installation, state.stats, state.scanWarnings, services)) {
    return;
  }

  const double today = std::floor(services.clock.Today());
  std::array<double, kLevelSlots> passStart{};
  std::array<double, kLevelSlots> practiceStart{};
  for (int level = 1; level < kLevelSlots; ++level) {
    const LevelStandard& standard = state.catalogue.standards[static_cast<size_t>(level)];
    passStart[static_cast<size_t>(level)] = PeriodStart(standard.passPeriodDays, today);
    practiceStart[static_cast<size_t>(level)] = PeriodStart(standard.overPracticePeriodDays, today);
  }

  for (int32_t i = 1; i <= state.stats.resultEntryCount; ++i) {
    const ResultEntry& e = state.stats.resultEntries[static_cast<size_t>(i)];
    const int level = e.level;
    const int pupil = e.pupilNumber;
    if (level < 1 || level >= kLevelSlots || pupil < 1 || pupil >= kPupilSlots) {
      continue;
    }
    const size_t cell = LevelPupilIndex(level, pupil);
    const bool counted = e.seconds < 6000;
    const int32_t points = RunPoints(state.catalogue, level, e.seconds);
    const int32_t digits = TimeDigits(e.seconds);
    const double day = std::floor(e.runDate);
    if (counted) {
      ++state.stats.totalRuns[cell];
    }
    if (day > passStart[static_cast<size_t>(level)]) {
      if (counted) {
        ++state.stats.recentRuns[cell];
      }
      state.stats.recentPoints[cell] = SaturatingAdd(state.stats.recentPoints[cell], points);
    }
    if (day > practiceStart[static_cast<size_t>(level)]) {
      if (counted) {
        ++state.stats.overPracticeWindowRuns[cell];
      }
      state.stats.overPracticeWindowPoints[cell] =
          SaturatingAdd(state.stats.overPracticeWindowPoints[cell], points);
    }
    state.stats.totalPoints[cell] = SaturatingAdd(state.stats.totalPoints[cell], points);
    state.stats.totalTimeSum[cell] = SaturatingAdd(state.stats.totalTimeSum[cell], digits);
    if (day == today) {
      if (counted) {
        state.stats.todayRuns[cell] += 1.0F;
      }
      state.stats.todayTimeSum[cell] += static_cast<float>(digits);
      state.stats.todayPoints[cell] = SaturatingAdd(state.stats.todayPoints[cell], points);
    }
  }

  for (int level = 1; level < kLevelSlots; ++level) {
    for (int pupil = 1; pupil < kPupilSlots; ++pupil) {
      const size_t cell = LevelPupilIndex(level, pupil);
      if (state.stats.totalRuns[cell] >= 1) {
        state.stats.totalAverageTime[cell] = static_cast<float>(std::floor(
            static_cast<double>(state.stats.totalTimeSum[cell]) / state.stats.totalRuns[cell] +
            0.5));
      }
      if (state.stats.todayRuns[cell] >= 1) {
        state.stats.todayAverageTime[cell] = static_cast<float>(std::floor(
            static_cast<double>(state.stats.todayTimeSum[cell]) / state.stats.todayRuns[cell] +
            0.5));
      }
    }
  }
}

void RecordRun(AppState& state, Services& services, int level) {
  const int pupil = state.session.currentPupil;
  const bool placeable = level >= 0 && level < kLevelSlots && pupil >= 0 && pupil < kPupilSlots;
  if (placeable) {
    const LevelStandard& standard = state.catalogue.standards[static_cast<size_t>(level)];
    state.run.clearedBefore = state.stats.totalRuns(level, pupil) >= standard.clearCount &&
                              state.stats.totalPoints(level, pupil) >= standard.clearPoints;
    if (state.stats.bestTime(level, pupil) > state.run.recordedTime) {
      state.run.newPersonalBest = true;
      state.stats.bestTime(level, pupil) = state.run.recordedTime;
    }
  } else {
    state.run.clearedBefore = false;
  }
  AppendRunRecord(state.installation, services, state.session.currentPupil,
                  static_cast<int16_t>(level), state.run.recordedTime);
  if (placeable && state.stats.bestTimeAll[static_cast<size_t>(level)] > state.run.recordedTime) {
    state.stats.bestTimeAll[static_cast<size_t>(level)] = state.run.recordedTime;
    state.run.newLevelBest = true;
  }
}

int TodayTotalRuns(const StatisticsTables& stats, int pupil, int lastLevel) {
  if (pupil < 0 || pupil >= kPupilSlots) {
    return 0;
  }
  double sum = 0;
  for (int l = 1; l <= lastLevel && l < kLevelSlots; ++l) {
    sum += stats.todayRuns(l, pupil);
  }
  return SaturatingCast<int>(std::round(sum));
}

}  // namespace numora
