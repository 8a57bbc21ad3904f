#pragma once

#include <vector>

#include "platform/services.h"
#include "startup/shared_state.h"

namespace numora {

// The records the hub's run lists read, oldest first: the run lists take the newest of them.
std::vector<ResultEntry> ReadListRecords(SharedState& state, Services& services);

}  // namespace numora
