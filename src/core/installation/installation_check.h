#pragma once

// Checks of an installation already set up that the set-up itself lets pass: how the hand-edited
// text files were saved, the school-year start month, and standards outside sane bounds.

#include <ostream>
#include <string>

#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"

namespace numora {

// The five hand-edited text files (path file, common settings, roster, sound table, standards):
// a file saved as UTF-8 (read correctly, but older copies of the program cannot read it), lines
// with bytes that are not valid CP932 (each became U+FFFD), and the school-year start month of
// the common settings (a whole number 1–12). One "✗" line per problem; returns their number.
int CheckInstallationTexts(const InstallationSettings& installation, std::ostream& report);

// Standards of the played levels 1 … lastLevel (those the file holds) outside sane bounds: target
// and minimum time 1–99998 seconds, clear points 0–9999999, clear count 0–9999, points multiplier
// 0–100, over-practice limits 0–9999999, periods 0–36500 days. One "✗" line per value, naming
// level, column, value and the bounds; returns their number. The program says the same at start-up.
int CheckStandardsValues(const InstallationSettings& installation, const LevelCatalogue& catalogue,
                         int lastLevel, std::ostream& report);

}  // namespace numora
