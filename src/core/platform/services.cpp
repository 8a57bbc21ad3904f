#include "core/platform/services.h"

#include <cmath>

namespace numora {

double Clock::Today() const {
  return std::floor(Now());
}

double Clock::Timer() const {
  double n = Now();
  return (n - std::floor(n)) * 86400.0;
}

}  // namespace numora
