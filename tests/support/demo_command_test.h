#pragma once

// The numora-data commands run on a demo installation made for 2026-12-10 in a temporary folder
// and set up as the program sets itself up, with their output and error text captured.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/data_commands.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "support/demo_folder.h"
#include "support/fakes.h"

namespace numora::testing {

// One of the numora-data commands.
using DataCommand = int (*)(const DataCommandArgs&, std::ostream&, std::ostream&);

class DemoCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    demo_ = std::make_unique<DemoFolder>(std::string(test->test_suite_name()) + "_" + test->name());
    std::string error;
    ASSERT_TRUE(demo_->Create(MakeDate(2026, 12, 10), error)) << error;
    programFolder_ = demo_->programFolder();
    base_ = demo_->base();
    state_ = std::make_unique<AppState>();
    ASSERT_TRUE(SetUpPathsAndSettings(*state_, programFolder_, error)) << error;
  }
  void TearDown() override { demo_.reset(); }

  // Runs the command with --program-folder of the demo in front of args (unless withFolder is
  // false); its output and error text go to out_ and err_.
  int Run(DataCommand command, DataCommandArgs args, bool withFolder = true) {
    out_.str("");
    err_.str("");
    if (withFolder) {
      args.insert(args.begin(), {"--program-folder", programFolder_});
    }
    return command(args, out_, err_);
  }
  std::vector<ResultRecord> Records() {
    std::vector<ResultRecord> records;
    std::string error;
    EXPECT_TRUE(ReadAllResultRecords(state_->installation, fake_.services, records, error))
        << error;
    return records;
  }
  // The lines of a text, each ended by `end`.
  static std::vector<std::string> Lines(const std::string& text, const std::string& end = "\n") {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find(end, from)) != std::string::npos; from = at + end.size()) {
      lines.push_back(text.substr(from, at - from));
    }
    return lines;
  }

  std::unique_ptr<DemoFolder> demo_;
  std::filesystem::path base_;
  std::string programFolder_;
  std::unique_ptr<AppState> state_;
  FakeServices fake_;
  std::ostringstream out_;
  std::ostringstream err_;
};

}  // namespace numora::testing
