#pragma once

#include "core/installation/shared_state.h"

namespace numora {

// Seeds the results file of a new demo installation (state set up from it, roster read) with a
// plausible history: a few weeks of runs of most pupils on levels 1 to 4, some time-outs, ending
// at the given moment (date and time of day): today's runs all lie before it. The history of
// the days before today depends on the date only.
void SeedDemoHistory(SharedState& state, double now);

}  // namespace numora
