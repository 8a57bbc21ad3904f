#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/installation/table_sizes.h"

namespace numora {

// The roster as read from the roster file, by pupil number.
struct RosterTables {
  std::vector<std::string> names = std::vector<std::string>(kPupilSlots);
  std::vector<std::string> grades = std::vector<std::string>(kPupilSlots);
  std::vector<int> birthYears = std::vector<int>(kPupilSlots);
  std::vector<int> order = std::vector<int>(kPupilSlots);  // position 1.. → pupil
  int count = 0;
  int schoolYear = 0;
  std::string gradeFilterText;
};

}  // namespace numora
