#pragma once

#include <ostream>

#include "core/installation/installation_settings.h"
#include "core/roster/roster_tables.h"

namespace numora {

// Checks the roster file of an installation already set up: missing file, pupil numbers outside
// 1–5000, birth years without four digits, more than 5000 listed pupils, an empty roster or one
// with no listed pupil. Writes one Japanese line
// per problem; true when all is well.
bool CheckRosterFile(const InstallationSettings& installation, RosterTables& roster, double today,
                     std::ostream& report);

}  // namespace numora
