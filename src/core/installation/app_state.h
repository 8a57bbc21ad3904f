#pragma once

#include "core/drill/drill_run_state.h"
#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"
#include "core/installation/session.h"
#include "core/installation/sound_table.h"
#include "core/records/statistics_tables.h"
#include "core/roster/roster_tables.h"

namespace numora {

// The program run's state: one of each group, owned by whoever runs the program (the start-up,
// a numora-data command, a test). Functions take the groups they need.
struct AppState {
  InstallationSettings installation;
  LevelCatalogue catalogue;
  RosterTables roster;
  StatisticsTables stats;
  Session session;
  DrillRunState run;
  SoundTable sound;
  ScanWarnings scanWarnings;
};

}  // namespace numora
