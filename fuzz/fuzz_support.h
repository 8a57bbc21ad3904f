#pragma once

// A scratch installation folder for one fuzzing process: each target writes the input as one of
// the installation's files and runs the program's own reader on it.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "core/installation/app_state.h"
#include "core/platform/field_reader.h"

namespace numora::fuzzing {

class Scratch {
 public:
  Scratch() {
    base_ = std::filesystem::temp_directory_path() / ("numora_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(base_ / "root" / "音フォルダ");
    std::filesystem::create_directories(base_ / "apps" / "prog");
    std::filesystem::create_directories(base_ / "root" / "prog");
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(base_, ec);
  }
  std::string Root() const { return PathText(base_ / "root") + "/"; }
  std::string ProgramFolder() const { return PathText(base_ / "apps" / "prog") + "/"; }
  std::string PathFile() const { return PathText(base_ / "apps" / "パスデータ.txt"); }
  std::string DataFolder() const { return Root() + "prog/"; }
  std::string SoundFolder() const { return Root() + "音フォルダ/"; }

  static void Write(const std::string& path, std::string_view bytes) {
    std::ofstream(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  // The state whose folders are those of the scratch installation. One state serves every input
  // of the process (it is large, and each reader sets what it reads); its folders and the school
  // year start are set again for each input.
  AppState* State() const {
    static const std::unique_ptr<AppState> state = std::make_unique<AppState>();
    state->installation.programFolder = ProgramFolder();
    state->installation.dataRootFolder = Root();
    state->installation.dataFolder = DataFolder();
    state->installation.soundFolder = SoundFolder();
    state->installation.schoolYearStartMonth = 4;
    state->scanWarnings = {};
    return state.get();
  }

 private:
  std::filesystem::path base_;
};

inline Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace numora::fuzzing
