#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/installation/table_sizes.h"
#include "core/platform/value.h"

namespace numora {

// One row of the level standards file.
struct LevelStandard {
  int32_t targetTime = 0;     // seconds
  int32_t minimumTime = 0;    // seconds; the drill's time limit is five times this
  int32_t clearPoints = 0;    // 9999: no clear requirement
  int16_t clearCount = 0;     // 9999 anywhere suppresses the goal panel
  float pointMultiplier = 0;  // single precision
  Value overPracticeCount;    // 0 or empty: no limit
  Value overPracticePoints;   // 0 or empty: no limit
  Value passPeriodDays;
  Value overPracticePeriodDays;
  // Columns 10 to 12 of the file are read past: nothing uses them, and the editor keeps their
  // texts from the file itself.
};

// The program's title and its levels: names from the catalogue, standards from the standards
// file (entries 0..35; entry 0 receives the header line).
struct LevelCatalogue {
  std::string title;
  int levelCount = 0;
  int finalLevel = 0;
  std::array<std::string, kLevelSlots> levelNames{};
  std::array<bool, kLevelSlots> levelIsTimed{};  // the catalogue's levels: runs timed and stored
  std::array<LevelStandard, kLevelSlots> standards{};
};

}  // namespace numora
