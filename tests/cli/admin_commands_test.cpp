// numora-data distribution on a demo installation: the two lists as the editor shows them, and
// options that are refused with the usage.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/data_commands.h"
#include "core/admin/standards_distribution.h"
#include "core/installation/app_state.h"
#include "core/installation/demo_history.h"
#include "core/installation/installation.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "support/demo_folder.h"
#include "support/fakes.h"

namespace numora {
namespace {

class DistributionCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    demo_ = std::make_unique<testing::DemoFolder>("distribution_command");
    std::string error;
    ASSERT_TRUE(demo_->Create(MakeDate(2026, 12, 10), error)) << error;
    state_ = std::make_unique<AppState>();
    ASSERT_TRUE(SetUpPathsAndSettings(*state_, demo_->programFolder(), error)) << error;
    SeedDemoHistory(state_->installation, state_->catalogue, MakeDate(2026, 12, 10));
  }

  int Run(const DataCommandArgs& args) {
    out_.str("");
    err_.str("");
    return RunDistributionCommand(args, out_, err_);
  }

  std::unique_ptr<testing::DemoFolder> demo_;
  std::unique_ptr<AppState> state_;
  FakeServices fake_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(DistributionCommandTest, PrintsBothListsOfTheLevel) {
  ASSERT_EQ(Run({"--program-folder", demo_->programFolder(), "--level", "2"}), 0) << err_.str();
  const DistributionReading reading =
      ReadLevelDistribution(ResultsFilePath(state_->installation), fake_.services, 2);
  ASSERT_TRUE(reading.ok);
  EXPECT_GT(reading.distribution.runCount, 0);
  std::string expected = "全成績\n";
  for (const std::string& line : AllRunsLines(reading.distribution)) expected += line + "\n";
  expected += "最高タイム\n";
  for (const std::string& line : BestTimeLines(reading.distribution)) expected += line + "\n";
  EXPECT_EQ(out_.str(), expected);
  EXPECT_EQ(
      out_.str().rfind(
          "全成績\nレベル2 今まで" + std::to_string(reading.distribution.runCount) + "回  （★=", 0),
      0u);
}

TEST_F(DistributionCommandTest, RefusesBadOptionsWithTheUsage) {
  const std::string folder = demo_->programFolder();
  const std::vector<DataCommandArgs> bad = {
      {"--program-folder", folder},
      {"--level", "1"},
      {"--program-folder", folder, "--level", "0"},
      {"--program-folder", folder, "--level", "36"},
      {"--program-folder", folder, "--level", "x"},
      {"--program-folder", folder, "--level", "1", "--levle", "2"},
      {"--program-folder", folder, "--level", "1", "extra"},
  };
  for (const DataCommandArgs& args : bad) {
    EXPECT_EQ(Run(args), 2) << args.back();
    EXPECT_NE(err_.str().find("使い方: numora-data distribution"), std::string::npos);
    EXPECT_EQ(out_.str(), "");
  }
  EXPECT_EQ(Run({"--program-folder", "/nonexistent/numora/", "--level", "1"}), 1);
  EXPECT_FALSE(err_.str().empty());
}

}  // namespace
}  // namespace numora
