#pragma once

#include <string>

#include "core/platform/dates.h"

namespace numora {

// The Japanese era of a civil day and the year within it ("令和", 6), or "西暦" and the
// Gregorian year before the first era known. Built on ICU's Japanese calendar, or on a table of
// the modern eras where ICU is missing.
struct EraYear {
  std::string name;
  int year = 0;
};
EraYear EraOf(double date, const CivilDate& c);

}  // namespace numora
