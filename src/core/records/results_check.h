#pragma once

#include <ostream>

#include "core/installation/shared_state.h"

namespace numora {

// Checks the results file of an installation already set up: a length that is not a multiple of
// 44, records whose pupil or level lie outside the tables, a left-over temporary file. Writes one
// Japanese line per problem; true when all is well.
bool CheckResultsFile(const SharedState& state, std::ostream& report);

}  // namespace numora
