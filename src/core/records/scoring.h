#pragma once

// Run points: what one run of a level earns against the level's target time. The statistics count
// the points with the level's multiplier; today's and the all-runs lists show them without it.

#include <cstdint>

#include "core/installation/level_catalogue.h"

namespace numora {

// The time digits of a run: the number formed by the first three characters of the decimal text
// of its seconds (47 → 47, 99999 → 999, 1234 → 123).
int32_t TimeDigits(int32_t seconds);

// Points of one run without the level's multiplier: 5 to 55 within the target time (more the
// faster), 4 below twice and 1 below ten times the target, else 0; nothing for a time-out, a
// level without a positive target time, or a damaged negative time.
int32_t RunBasePoints(int32_t targetTime, int32_t seconds);

// Points of one run as the statistics count them: the base points times the level's
// single-precision multiplier, rounded down. 0 for a level outside 0..35.
int32_t RunPoints(const LevelCatalogue& catalogue, int level, int32_t seconds);

}  // namespace numora
