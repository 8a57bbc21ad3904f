#include "core/installation/season.h"

#include "core/platform/dates.h"

namespace numora {

uint32_t SeasonColourForMonth(int month) {
  if (month <= 2) {
    return 0x0080FF;  // orange
  }
  if (month <= 5) {
    return 0xC0FFC0;  // light green
  }
  if (month <= 8) {
    return 0xC0C000;  // teal
  }
  if (month <= 11) {
    return 0x0040C0;  // brick red
  }
  return 0xC0FFC0;  // light green
}

void SetSeasonColour(InstallationSettings& installation, double today) {
  installation.seasonColour = SeasonColourForMonth(ToCivil(today).month);
}

}  // namespace numora
