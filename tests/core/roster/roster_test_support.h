#pragma once

// A temporary data root holding a roster file written in CP932, and a state pointing at it.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/installation/app_state.h"
#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"

namespace numora::testing {

namespace fs = std::filesystem;

struct RosterFolder {
  RosterFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root = fs::temp_directory_path() /
           (std::string("numora_roster_") + info->test_suite_name() + "_" + info->name());
    fs::remove_all(root);
    fs::create_directories(root);
    state = std::make_unique<AppState>();
    state->installation.dataRootFolder = PathText(root) + "/";
    state->installation.schoolYearStartMonth = 4;
  }
  ~RosterFolder() { fs::remove_all(root); }
  RosterFolder(const RosterFolder&) = delete;
  RosterFolder& operator=(const RosterFolder&) = delete;

  // Writes 新名簿.txt from UTF-8 text (CR LF line ends are the caller's).
  void WriteRoster(const std::string& utf8) const {
    ASSERT_TRUE(WriteWholeFile(PathText(root / fs::u8path("新名簿.txt")), Utf8ToCp932(utf8)));
  }

  fs::path root;
  std::unique_ptr<AppState> state;
};

// One roster line: number, birth year, two spare numbers, name, status, two spare texts.
inline std::string RosterLine(int pupil, int birthYear, const std::string& name, int status = 0) {
  return std::to_string(pupil) + "," + std::to_string(birthYear) + ",0,0," + name + "," +
         std::to_string(status) + ",,\r\n";
}

}  // namespace numora::testing
