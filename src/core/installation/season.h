#pragma once

#include <cstdint>

#include "core/installation/installation_settings.h"

namespace numora {

// Background colour (&H00BBGGRR) of the selection screen and the hub for a calendar month:
// orange in January and February, light green in spring and December, teal in summer, brick red
// in autumn.
uint32_t SeasonColourForMonth(int month);

// Sets seasonColour from the month of the given date.
void SetSeasonColour(InstallationSettings& installation, double today);

}  // namespace numora
