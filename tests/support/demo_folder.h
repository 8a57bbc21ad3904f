#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/installation/demo_installation.h"
#include "core/platform/field_reader.h"

namespace numora::testing {

// A demo installation, as numora-data demo makes it, in a fresh temporary folder that is removed
// again when the object goes. A stand-in file takes the place of the program.
class DemoFolder {
 public:
  // tag keeps the folders of different tests (and test programs) apart.
  explicit DemoFolder(const std::string& tag)
      : base_(std::filesystem::temp_directory_path() /
              ("numora_" + tag + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(base_);
    std::filesystem::create_directories(base_);
  }
  ~DemoFolder() { std::filesystem::remove_all(base_); }
  DemoFolder(const DemoFolder&) = delete;
  DemoFolder& operator=(const DemoFolder&) = delete;

  // Creates the installation with its history ending on today; false with the reason in error.
  bool Create(double today, std::string& error) {
    const std::filesystem::path program = base_ / "numora";
    std::ofstream(program) << "program";
    return CreateDemoInstallation(PathText(base_ / "demo"), PathText(program), today,
                                  programFolder_, error);
  }

  const std::filesystem::path& base() const { return base_; }
  const std::string& programFolder() const { return programFolder_; }

 private:
  std::filesystem::path base_;
  std::string programFolder_;
};

}  // namespace numora::testing
