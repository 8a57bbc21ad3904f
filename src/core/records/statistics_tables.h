#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/installation/table_sizes.h"

namespace numora {

// The kept fields of one record of the results file.
struct ResultEntry {
  double runDate = 0;
  double runTime = 0;
  int16_t pupilNumber = 0;
  int16_t level = 0;
  int32_t seconds = 0;
};

// What the last scan of the results file built: the entry list, the best times and the
// aggregates per level and pupil.
struct StatisticsTables {
  // Positions 1 … resultEntryCount (position 0 unused).
  std::vector<ResultEntry> resultEntries = std::vector<ResultEntry>(kMaxResultEntries + 1);
  int resultEntryCount = 0;
  LevelPupilTable<int32_t> bestTime;
  std::array<int32_t, kLevelSlots> bestTimeAll{};

  LevelPupilTable<float> todayRuns;
  LevelPupilTable<int32_t> todayPoints;
  LevelPupilTable<float> todayTimeSum;
  LevelPupilTable<float> todayAverageTime;
  LevelPupilTable<int16_t> totalRuns;
  LevelPupilTable<int32_t> totalPoints;
  LevelPupilTable<int32_t> totalTimeSum;
  LevelPupilTable<float> totalAverageTime;
  LevelPupilTable<int16_t> recentRuns;
  LevelPupilTable<int32_t> recentPoints;
  LevelPupilTable<int16_t> overPracticeWindowRuns;
  LevelPupilTable<int32_t> overPracticeWindowPoints;

  // The current pupil's summaries.
  int todayTotalRuns = 0;
  bool finalLevelCleared = false;
};

// A pupil's counted runs today, summed over levels 1 to lastLevel and rounded to a whole number.
// The drill's status panel sums levels 1 to 15, the hub every level.
int TodayTotalRuns(const StatisticsTables& stats, int pupil, int lastLevel);

// What the results scan has told the user in this program run, so each is told once.
struct ScanWarnings {
  bool unplaceableRecordTold = false;  // a record that cannot be placed in the tables
  bool interruptedDeleteTold = false;  // a delete that was interrupted
  bool damagedRecordTold = false;      // a record that cannot be read
};

}  // namespace numora
