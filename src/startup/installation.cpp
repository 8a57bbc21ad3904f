#include "startup/installation.h"

namespace numora {

bool SetUpPathsAndSettings(SharedState& /*state*/, const std::string& /*programFolder*/,
                           std::string& error) {
  error = "未実装";
  return false;
}

void InitialiseIdentity(SharedState& /*state*/) {}
void SetUpCatalogue(SharedState& /*state*/) {}

}  // namespace numora
