#pragma once

#include <string>

#include "startup/shared_state.h"

namespace numora {

// The start-up's path and settings set-up for an executable in programFolder (ending with the
// native separator): folders, common settings, program identity, level standards and sound table,
// in the program's order. False with a Japanese error text (naming the file and its full path) when
// a start-up file is missing, unreadable or too short. The program and numora-data both use it.
bool SetUpPathsAndSettings(SharedState& state, const std::string& programFolder,
                           std::string& error);

// Sets programTitle and freeLevelOrder.
void InitialiseIdentity(SharedState& state);

// The level catalogue, set at every name confirmation: four timed levels named ﾚﾍﾞﾙ1 … ﾚﾍﾞﾙ4.
void SetUpCatalogue(SharedState& state);

}  // namespace numora
