#pragma once

#include "core/installation/shared_state.h"

namespace numora {

// Seeds the results file of a new demo installation (state set up from it, roster read) with a
// plausible history: a few weeks of runs of most pupils on levels 1 to 4, some time-outs, ending
// on the given day.
void SeedDemoHistory(SharedState& state, double today);

}  // namespace numora
