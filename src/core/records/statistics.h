#pragma once

#include <cstdint>

#include "core/installation/shared_state.h"
#include "core/platform/services.h"
#include "core/records/scoring.h"

namespace numora {

// Clears the statistics tables, scans the results file and fills the per-level-per-pupil tables.
// "Today" is services.clock.Today().
void RebuildStatistics(SharedState& state, Services& services);

// Records the run that has just ended: sets clearedBefore, newPersonalBest and newLevelBest and
// appends the result record (recordedTime, currentPupil) under the file lock.
void RecordRun(SharedState& state, Services& services, int level);

}  // namespace numora
