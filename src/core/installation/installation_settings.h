#pragma once

#include <cstdint>
#include <string>

#include "core/platform/value.h"

namespace numora {

// Where the installation lives and its common settings, set once by the start-up.
struct InstallationSettings {
  // Folders as UTF-8 paths, each ending with the native separator.
  std::string programFolder;
  std::string dataRootFolder;
  std::string dataFolder;
  std::string programFolderName;  // the name only
  std::string soundFolder;
  bool developmentLayout = false;  // run from the development tree: data beside the program
  // The settings file's month field as written: checked and reported as text or number.
  Value schoolYearStartMonth;
  std::string schoolName;
  std::string schoolCode;
  bool rosterStatusTwoActive = false;  // pupils of roster status 2 are listed
  // The settings file's password field as written: a number and a text compare differently.
  Value dataChangePassword;
  uint32_t seasonColour = 0;  // &H00BBGGRR
};

}  // namespace numora
