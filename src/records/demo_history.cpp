#include "records/demo_history.h"

namespace numora {

void SeedDemoHistory(SharedState& /*state*/, double /*today*/) {}

}  // namespace numora
