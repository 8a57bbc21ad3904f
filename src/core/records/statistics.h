#pragma once

#include <cstdint>

#include "core/installation/shared_state.h"
#include "core/platform/services.h"

namespace numora {

// Clears the statistics tables, scans the results file and fills the per-level-per-pupil tables.
// "Today" is services.clock.Today().
void RebuildStatistics(SharedState& state, Services& services);

// The time digits of a run: the number formed by the first three characters of the decimal text
// of its seconds (47 → 47, 99999 → 999, 1234 → 123).
int32_t TimeDigits(int32_t seconds);

// The points one run of the given seconds earns on a level.
int32_t RunPoints(const SharedState& state, int level, int32_t seconds);

// Records the run that has just ended: sets clearedBefore, newPersonalBest and newLevelBest and
// appends the result record (recordedTime, currentPupil) under the file lock.
void RecordRun(SharedState& state, Services& services, int level);

}  // namespace numora
