// numora-data browse, edit, delete and log on a demo installation in a temporary folder.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/data_commands.h"
#include "core/admin/correction_log.h"
#include "core/admin/results_browser.h"
#include "core/installation/demo_history.h"
#include "core/installation/installation.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/roster/roster.h"
#include "support/demo_command_test.h"
#include "support/fakes.h"

namespace numora {
namespace {

class BrowseCommandsTest : public testing::DemoCommandTest {
 protected:
  void SetUp() override {
    DemoCommandTest::SetUp();
    ReadRoster(state_->installation, state_->roster, MakeDate(2026, 12, 10));
    SeedDemoHistory(state_->installation, state_->catalogue, MakeDate(2026, 12, 10));
  }
};

TEST_F(BrowseCommandsTest, BrowsePrintsTheWindowsLines) {
  ASSERT_EQ(Run(RunBrowseCommand, {}), 0) << err_.str();
  const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
  ASSERT_GT(list.size(), 10u);
  EXPECT_EQ(Lines(out_.str()), list.lines.ToStrings());
}

TEST_F(BrowseCommandsTest, EditAndDeleteCorrectTheFileAndLogEachCorrection) {
  const std::vector<ResultRecord> before = Records();
  ASSERT_GE(before.size(), 5u);

  ASSERT_EQ(Run(RunEditCommand, {"--record", "2", "--seconds", "45.6"}), 0) << err_.str();
  EXPECT_NE(out_.str().find("記録 2 を変更しました"), std::string::npos) << out_.str();
  std::vector<ResultRecord> now = Records();
  ResultRecord expected = before[1];
  expected.seconds = 46;
  EXPECT_EQ(now[1], expected);

  ASSERT_EQ(Run(RunEditCommand, {"--record", "3", "--pupil", "2"}), 0) << err_.str();
  now = Records();
  expected = before[2];
  expected.pupilNumber = 2;
  EXPECT_EQ(now[2], expected);

  ASSERT_EQ(Run(RunDeleteCommand, {"--record", "1"}), 0) << err_.str();
  now = Records();
  ASSERT_EQ(now.size(), before.size() - 1);
  EXPECT_EQ(now[2], before[3]);

  ASSERT_EQ(Run(RunLogCommand, {}), 0) << err_.str();
  const std::vector<std::string> log = Lines(out_.str());
  ASSERT_EQ(log.size(), 3u);
  EXPECT_NE(log[0].find("　変更　記録 2　前 "), std::string::npos) << log[0];
  EXPECT_NE(log[0].find(" 46秒 "), std::string::npos) << log[0];
  EXPECT_NE(log[1].find("　変更　記録 3　"), std::string::npos) << log[1];
  EXPECT_NE(log[2].find("　消去　記録 1　" + RecordSummary(before[0])), std::string::npos)
      << log[2];
}

TEST_F(BrowseCommandsTest, BadInputIsRefusedInJapaneseAndWritesNothing) {
  const std::vector<ResultRecord> before = Records();
  struct Case {
    int (*command)(const DataCommandArgs&, std::ostream&, std::ostream&);
    DataCommandArgs args;
    int status;
    const char* says;
  };
  const std::vector<Case> cases = {
      {RunBrowseCommand, {"--colour", "red"}, 2, "知らないオプションです: 「--colour」"},
      {RunLogCommand, {"extra"}, 2, "余分な語があります"},
      {RunEditCommand, {"--record", "2"}, 2, "--pupil か --seconds"},
      {RunEditCommand, {"--record", "2", "--seconds", "abc"}, 2, "--seconds には"},
      {RunEditCommand, {"--record", "2", "--seconds", "-3"}, 2, "--seconds には"},
      {RunEditCommand, {"--record", "2", "--pupil", "5001"}, 2, "--pupil には"},
      {RunEditCommand, {"--record", "x", "--pupil", "3"}, 2, "--record には"},
      {RunEditCommand, {"--record", "999999", "--pupil", "3"}, 1, "記録 999999 はありません"},
      {RunDeleteCommand, {"--record", "0"}, 2, "--record には"},
      {RunDeleteCommand, {"--force"}, 2, "知らないオプションです: 「--force」"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.command, c.args), c.status) << c.says;
    EXPECT_NE(err_.str().find(c.says), std::string::npos) << err_.str();
  }
  EXPECT_EQ(Records(), before);
  ASSERT_EQ(Run(RunLogCommand, {}), 0);
  EXPECT_NE(out_.str().find("修正記録はまだありません"), std::string::npos);
  EXPECT_EQ(Run(RunBrowseCommand, {}, false), 2);
  EXPECT_NE(err_.str().find("使い方: numora-data browse --program-folder DIR"), std::string::npos);
}

}  // namespace
}  // namespace numora
