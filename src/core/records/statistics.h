#pragma once

#include <cstdint>

#include "core/installation/app_state.h"
#include "core/platform/services.h"
#include "core/records/scoring.h"

namespace numora {

// Clears the statistics tables, scans the results file and fills the per-level-per-pupil tables.
// "Today" is services.clock.Today().
void RebuildStatistics(AppState& state, Services& services);

// Records the run that has just ended: sets clearedBefore, newPersonalBest and newLevelBest and
// appends the result record (recordedTime, currentPupil) under the file lock.
void RecordRun(AppState& state, Services& services, int level);

}  // namespace numora
