#pragma once

#include <ostream>

#include "core/installation/installation_settings.h"

namespace numora {

// Checks the results file of an installation already set up, reading it in bounded pieces: a path
// that cannot be opened (or written), a missing data folder, a length that is not a multiple of
// 44, records whose pupil or level lie outside the tables, damaged records, a left-over temporary
// file. Writes one Japanese line per problem ("✗") and information ("※": more records than the
// hub counts); true when there is no problem.
bool CheckResultsFile(const InstallationSettings& installation, std::ostream& report);

}  // namespace numora
