// numora-data lists on a demo installation with a few runs: the lines of every list, level by
// level, are those the hub's list builders give, and bad options are refused with a message.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/data_commands.h"
#include "core/hub/list_records.h"
#include "core/hub/score_lists.h"
#include "core/installation/app_state.h"
#include "core/installation/demo_installation.h"
#include "core/installation/installation.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"
#include "support/demo_folder.h"
#include "support/fakes.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

// Demo roster: pupil 3 髙橋　そうた (小２), 4 田中　ひまり (小３), 13 佐々木　あさひ (小２);
// pupil 7 is not listed.
constexpr int kPupil = 3;
const char* const kNow = "2026-12-10 12:00:00";

class ListsCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    demo_ = std::make_unique<testing::DemoFolder>(
        "lists_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::string error;
    ASSERT_TRUE(demo_->Create(MakeDate(2026, 12, 10), error)) << error;
    programFolder_ = demo_->programFolder();
    base_ = demo_->base();
    auto setup = std::make_unique<AppState>();
    ASSERT_TRUE(SetUpPathsAndSettings(*setup, programFolder_, error)) << error;
    struct Run {
      int day, hour, minute, pupil, level, seconds;
    } runs[] = {
        {10, 9, 0, 3, 1, 40},  {10, 9, 10, 4, 1, 35},  {10, 9, 20, 3, 2, 99999},
        {8, 10, 0, 13, 1, 50}, {10, 9, 30, 13, 1, 50}, {9, 11, 0, 4, 2, 70},
        {1, 8, 0, 4, 3, 60},   {10, 8, 0, 3, 3, 45},
    };
    FakeServices fake;
    for (const Run& r : runs) {
      fake.clock.Set(2026, 12, r.day, r.hour, r.minute);
      ASSERT_TRUE(AppendRunRecord(setup->installation, fake.services, static_cast<int16_t>(r.pupil),
                                  static_cast<int16_t>(r.level), r.seconds));
    }
  }
  void TearDown() override { demo_.reset(); }

  int Run(DataCommandArgs args) {
    out_.str("");
    err_.str("");
    args.insert(args.begin(), {"--program-folder", programFolder_});
    return RunListsCommand(args, out_, err_);
  }

  // The program's state at the hub of the given pupil at kNow, as the selection screen leaves it.
  std::unique_ptr<AppState> HubState(int pupil) {
    auto s = std::make_unique<AppState>();
    std::string error;
    EXPECT_TRUE(SetUpPathsAndSettings(*s, programFolder_, error)) << error;
    fake_.clock.Set(2026, 12, 10, 12, 0);
    ReadRoster(s->installation, s->roster, fake_.clock.Today());
    s->session.currentPupil = static_cast<int16_t>(pupil);
    SetUpCatalogue(s->catalogue);
    RebuildStatistics(*s, fake_.services);
    return s;
  }

  // Headings and lines as the command prints them.
  static std::string Printed(const std::vector<ScoreList>& lists) {
    std::string text;
    for (size_t level = 1; level < lists.size(); ++level) {
      text += "ﾚﾍﾞﾙ" + std::to_string(level) + "\n";
      for (const std::string& line : lists[level].lines) {
        text += line + "\n";
      }
    }
    return text;
  }

  static std::vector<std::string> Level(const std::string& printed, int level) {
    std::vector<std::string> lines;
    std::istringstream in(printed);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
      if (line.rfind("ﾚﾍﾞﾙ", 0) == 0) {
        inside = line == "ﾚﾍﾞﾙ" + std::to_string(level);
      } else if (inside) {
        lines.push_back(line);
      }
    }
    return lines;
  }

  std::unique_ptr<testing::DemoFolder> demo_;
  fs::path base_;
  std::string programFolder_;
  FakeServices fake_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(ListsCommandTest, EveryListPrintsTheBuildersLinesLevelByLevel) {
  auto s = HubState(kPupil);
  const std::vector<ResultEntry> records =
      ReadListRecords(s->installation, s->stats, fake_.services);
  const double now = fake_.clock.Now();
  auto options = [](int view, int ranking, const std::string& filter = "全学年") {
    ListOptions o;
    o.currentPupil = kPupil;
    o.filterText = filter;
    o.viewMode = view;
    o.rankingKind = ranking;
    return o;
  };
  auto rankings = [&](const ListOptions& o) {
    std::vector<ScoreList> lists(5);
    for (int level = 1; level <= 4; ++level) {
      lists[static_cast<size_t>(level)] = BuildRankingList(s->roster, s->stats, level, o);
    }
    return lists;
  };
  struct Case {
    DataCommandArgs args;
    std::vector<ScoreList> want;
  } cases[] = {
      {{"--list", "best"}, rankings(options(kHubTimeView, kCumulativeRanking))},
      {{"--list", "points-total"}, rankings(options(kHubPointsView, kCumulativeRanking))},
      {{"--list", "points-today"}, rankings(options(kHubPointsView, kTodayRanking))},
      {{"--list", "best", "--filter", "小２"},
       rankings(options(kHubTimeView, kCumulativeRanking, "小２"))},
      {{"--list", "today"},
       BuildTodayRunLists(s->catalogue, s->roster, records, now,
                          options(kHubTimeView, kCumulativeRanking))},
      {{"--list", "all"},
       BuildAllRunLists(s->catalogue, s->roster, records, now, 3,
                        options(kHubTimeView, kCumulativeRanking))},
      {{"--list", "all", "--period", "1"},
       BuildAllRunLists(s->catalogue, s->roster, records, now, 1,
                        options(kHubTimeView, kCumulativeRanking))},
      {{"--list", "points-all", "--period", "5"},
       BuildAllRunLists(s->catalogue, s->roster, records, now, 5,
                        options(kHubPointsView, kCumulativeRanking))},
  };
  for (Case& c : cases) {
    DataCommandArgs args = {"--pupil", std::to_string(kPupil), "--now", kNow};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_EQ(Run(args), 0) << err_.str();
    EXPECT_EQ(out_.str(), Printed(c.want)) << ::testing::PrintToString(c.args);
    EXPECT_EQ(err_.str(), "");
  }

  // A few lines written out: the fastest first, the pupil's own line marked at both ends, the
  // pupils without a time at the bottom, and every listed pupil ranked.
  ASSERT_EQ(Run({"--pupil", "3", "--now", kNow, "--list", "best"}), 0);
  std::vector<std::string> best1 = Level(out_.str(), 1);
  ASSERT_GE(best1.size(), 4U);
  EXPECT_EQ(best1[0], " 1③田中　ひま    35 　");
  EXPECT_EQ(best1[1], " 2●髙橋　そう    40 ●");
  EXPECT_EQ(best1[2], " 3②佐々木　あ    50 　");
  EXPECT_EQ(best1[3].substr(0, 2), "--");
  EXPECT_EQ(best1.size(), static_cast<size_t>(s->roster.count));
  EXPECT_EQ(Level(out_.str(), 2).front(), " 1③田中　ひま    70 　");

  ASSERT_EQ(Run({"--pupil", "3", "--now", kNow, "--list", "today", "--filter", "小２"}), 0);
  EXPECT_EQ(Level(out_.str(), 1),
            (std::vector<std::string>{"  40秒 09:00●髙橋　そう●5", "  50秒 09:30②佐々木　あ②4"}));
  EXPECT_EQ(Level(out_.str(), 2), (std::vector<std::string>{"　　× 09:20●髙橋　そう●"}));
}

TEST_F(ListsCommandTest, BadOptionsAreRefusedWithAMessage) {
  const std::vector<DataCommandArgs> bad = {
      {"--pupil", "3"},
      {"--pupil", "3", "--list", "fastest"},
      {"--pupil", "0", "--list", "best"},
      {"--pupil", "5001", "--list", "best"},
      {"--pupil", "x", "--list", "best"},
      {"--list", "best"},
      {"--pupil", "3", "--list", "all", "--period", "6"},
      {"--pupil", "3", "--list", "all", "--period", "0"},
      {"--pupil", "3", "--list", "best", "--filter", "高１"},
      {"--pupil", "3", "--list", "best", "--now", "2026-12-10"},
      {"--pupil", "3", "--list", "best", "--now", "2026-02-30 09:00:00"},
  };
  for (const DataCommandArgs& args : bad) {
    EXPECT_EQ(Run(args), 2) << ::testing::PrintToString(args);
    EXPECT_EQ(out_.str(), "");
    EXPECT_FALSE(err_.str().empty());
  }
  // A pupil who is not listed in the roster never reaches the hub.
  EXPECT_EQ(Run({"--pupil", "7", "--list", "best", "--now", kNow}), 1);
  EXPECT_NE(err_.str().find("名簿に載っていません"), std::string::npos) << err_.str();
  // A folder that holds no installation.
  out_.str("");
  err_.str("");
  EXPECT_EQ(RunListsCommand(
                {"--program-folder", PathText(base_ / "none"), "--pupil", "3", "--list", "best"},
                out_, err_),
            1);
  EXPECT_FALSE(err_.str().empty());
}

}  // namespace
}  // namespace numora
