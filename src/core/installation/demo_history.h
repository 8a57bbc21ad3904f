#pragma once

#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"

namespace numora {

// Seeds the results file of a new demo installation (state set up from it) with a plausible
// history for the pupils its roster lists (read here, teachers left out): a few weeks of runs of
// most of them on levels 1 to 4, some time-outs, ending at the given moment (date and time of
// day): today's runs all lie before it. The history of the days before today depends on the date
// only.
void SeedDemoHistory(const InstallationSettings& installation, const LevelCatalogue& catalogue,
                     double now);

}  // namespace numora
