// The records the run lists read: the newest 20000 of the file as it is now, and the records of
// the last statistics rebuild, with a message, when the file cannot be read.

#include "core/hub/list_records.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/installation/app_state.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "hub_test_support.h"
#include "support/fakes.h"
#include "support/platform.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

class ListRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("numora_listrec_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    s.installation.dataFolder = folder_.string() + "/";
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Records numbered first..last (the number stored as the seconds), appended to the file.
  void Write(int first, int last) {
    std::ofstream out(testing::NativePath(ResultsFilePath(s.installation)),
                      std::ios::binary | std::ios::app);
    unsigned char bytes[kResultRecordSize];
    for (int i = first; i <= last; ++i) {
      ResultRecord r;
      r.runDate = MakeDate(2026, 12, 10);
      r.pupilNumber = 1;
      r.level = 1;
      r.seconds = i;
      EncodeResultRecord(r, bytes);
      out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
  }

  fs::path folder_;
  std::unique_ptr<AppState> state = testing::MakeHubState();
  AppState& s = *state;
  FakeServices fake;
};

TEST_F(ListRecordsTest, ReadsTheNewest20000RecordsAsTheFileHoldsThemNow) {
  Write(1, 10);
  RebuildStatistics(s, fake.services);
  Write(11, 20005);  // stored by another program copy after the rebuild
  const std::vector<ResultEntry> records = ReadListRecords(s.installation, s.stats, fake.services);
  ASSERT_EQ(records.size(), 20000U);
  EXPECT_EQ(records.front().seconds, 6);
  EXPECT_EQ(records.back().seconds, 20005);
  EXPECT_TRUE(fake.host.messages.empty());
}

TEST_F(ListRecordsTest, AnUnreadableFileGivesTheLastRebuildsRecordsAndAMessage) {
  Write(1, 3);
  RebuildStatistics(s, fake.services);
  fs::remove(testing::NativePath(ResultsFilePath(s.installation)));
  fs::create_directory(testing::NativePath(ResultsFilePath(s.installation)));
  const std::vector<ResultEntry> records = ReadListRecords(s.installation, s.stats, fake.services);
  ASSERT_EQ(records.size(), 3U);
  EXPECT_EQ(records[2].seconds, 3);
  ASSERT_EQ(fake.host.messages.size(), 1U);
  EXPECT_EQ(fake.host.messages[0].rfind("注意|成績累積データを読めませんでした。", 0), 0U)
      << fake.host.messages[0];
}

// What the hub's buttons choose: the list, its title, the period box, and the view and points
// ranking in use afterwards.
TEST(ChooseHubList, EachViewAndListButtonChoosesItsList) {
  struct Case {
    HubListSelection selection;  // view, list button, ranking kind in use
    HubList list;
    const char* title;
    bool periodShown;
    int viewMode;
    int rankingKind;
  };
  constexpr int kTime = kHubTimeView;
  constexpr int kPoints = kHubPointsView;
  constexpr int kTotal = kCumulativeRanking;
  constexpr int kToday = kTodayRanking;
  const Case cases[] = {
      // Before any view was chosen the time view's lists are built.
      {{0, 1, 0}, HubList::kBest, "ベスト成績", false, kTime, 0},
      {{kTime, 1, kToday}, HubList::kBest, "ベスト成績", false, kTime, kToday},
      {{kTime, 2, kTotal}, HubList::kToday, "本日の成績", false, kTime, kTotal},
      {{kTime, 3, kToday}, HubList::kAll, "", true, kTime, kToday},
      // The points view's first two buttons choose the ranking; all runs keep it.
      {{kPoints, 1, kToday},
       HubList::kPointsTotal,
       "獲得ポイント（今まで順位）",
       false,
       kPoints,
       kTotal},
      {{kPoints, 2, kTotal},
       HubList::kPointsToday,
       "獲得ポイント（今日の順位）",
       false,
       kPoints,
       kToday},
      {{kPoints, 3, kToday}, HubList::kPointsAll, "", true, kPoints, kToday},
      {{kPoints, 3, 0}, HubList::kPointsAll, "", true, kPoints, kTotal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "view " << c.selection.viewMode << " button " << c.selection.listButton
                 << " ranking " << c.selection.rankingKind);
    const std::optional<HubListChoice> choice = ChooseHubList(c.selection);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->list, c.list);
    EXPECT_EQ(choice->title, c.title);
    EXPECT_EQ(choice->periodShown, c.periodShown);
    EXPECT_EQ(choice->viewMode, c.viewMode);
    EXPECT_EQ(choice->rankingKind, c.rankingKind);
  }
  for (const int button : {0, 4}) {
    EXPECT_FALSE(ChooseHubList({kPoints, button, kTotal}).has_value()) << button;
    EXPECT_FALSE(ChooseHubList({kTime, button, kTotal}).has_value()) << button;
  }
}

}  // namespace
}  // namespace numora
