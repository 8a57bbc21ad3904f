#pragma once

#include <cstdint>
#include <string>

namespace numora {

// Who is practising and on which level, and how the hub shows the results.
struct Session {
  int currentPupil = 0;
  std::string pupilName;
  std::string pupilGrade;
  int32_t pupilStartTime = 0;
  int currentLevel = 0;
  int allResultsPeriod = 0;  // the hub's view period
};

}  // namespace numora
