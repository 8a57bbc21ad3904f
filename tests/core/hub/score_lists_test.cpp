#include "core/hub/score_lists.h"

#include <gtest/gtest.h>

#include "core/installation/app_state.h"
#include "core/records/scoring.h"
#include "hub_test_support.h"

namespace numora {
namespace {

using testing::AddPupil;
using testing::MakeHubState;
using testing::Record;

TEST(FieldPieces, FormatsEachPiece) {
  EXPECT_EQ(R2(1), " 1");
  EXPECT_EQ(R2(12), "12");
  EXPECT_EQ(R2(100), "00");
  EXPECT_EQ(R2(123), "23");
  EXPECT_EQ(Name5("山田太郎            "), "山田太郎　");
  EXPECT_EQ(Name5("長い名前の生徒さん"), "長い名前の");
  EXPECT_EQ(Name5("ab"), "ab　　　");
  EXPECT_EQ(Name5(""), "　　　　　");
  EXPECT_EQ(Time5(47), "  47秒");
  EXPECT_EQ(Time5(5), "   5秒");
  EXPECT_EQ(Time5(1234), "1234秒");
  EXPECT_EQ(Clock5((9 * 3600 + 5 * 60 + 3) / 86400.0), "09:05");
  EXPECT_EQ(Clock5(0), "00:00");
  // A time of day stored with a fraction (by an older copy) lists in the minute it was in.
  EXPECT_EQ(Clock5((9 * 3600 + 59 * 60 + 59.6) / 86400.0), "09:59");
  EXPECT_EQ(Date5(MakeDate(2026, 3, 7)), "03/07");
}

TEST(RunBasePoints, LeavesOutTheMultiplier) {
  // The last case is a damaged record with a negative time: it earns nothing, as in the totals.
  struct Case {
    int target, seconds, points;
  } cases[] = {{60, 30, 11}, {60, 60, 5},  {60, 0, 55},  {60, 61, 4},    {60, 119, 4},
               {60, 120, 1}, {60, 599, 1}, {60, 600, 0}, {60, 99999, 0}, {1500, 1200, 43},
               {0, 0, 0},    {0, 5, 0},    {30, 25, 5},  {60, -5000, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(RunBasePoints(c.target, c.seconds), c.points) << c.target << " " << c.seconds;
  }
}

class RankingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddPupil(s, 1, "青木", 3);
    AddPupil(s, 2, "伊藤", 4);
    AddPupil(s, 3, "上田", 3);
    AddPupil(s, 4, "江口", 1);
    AddPupil(s, 5, "大野", 8);
  }
  std::unique_ptr<AppState> state = MakeHubState();
  AppState& s = *state;
};

TEST_F(RankingTest, TimeRankingSharesRanksAndPutsPupilsWithoutTimeLast) {
  s.stats.bestTime(1, 1) = 40;
  s.stats.bestTime(1, 2) = 40;
  s.stats.bestTime(1, 3) = 45;
  s.stats.bestTime(1, 5) = 50;  // pupil 4 has no time
  ListOptions o{3, "全学年", kHubTimeView, kCumulativeRanking};
  ScoreList list = BuildRankingList(s.roster, s.stats, 1, o);
  std::vector<std::string> want = {" 1③青木　　　    40 　", " 1④伊藤　　　    40 　",
                                   " 3●上田　　　    45 ●", " 4Ⅱ大野　　　    50 　",
                                   "--①江口　　　------ 　"};
  EXPECT_EQ(list.lines, want);
  EXPECT_EQ(list.scrollTo, 1);  // the line above the pupil's own
  EXPECT_FALSE(list.colour.has_value());
}

TEST_F(RankingTest, CumulativePointsRankingOrdersByTotalThenToday) {
  s.stats.totalPoints(2, 1) = 500, s.stats.todayPoints(2, 1) = 60;
  s.stats.totalPoints(2, 2) = 20000, s.stats.todayPoints(2, 2) = 50;
  s.stats.totalPoints(2, 3) = 20000;
  s.stats.totalPoints(2, 5) = 500, s.stats.todayPoints(2, 5) = 60;
  ListOptions o{3, "全学年", kHubPointsView, kCumulativeRanking};
  std::vector<std::string> want = {" 1④伊藤　　　 50/20000", " 1●上田　　　  0/20000",
                                   " 3Ⅱ大野　　　 60/  500", " 3③青木　　　 60/  500",
                                   " 5①江口　　　  0/    0"};
  ScoreList list = BuildRankingList(s.roster, s.stats, 2, o);
  EXPECT_EQ(list.lines, want);
  EXPECT_EQ(list.scrollTo, 0);

  // Today's ranking: 60 today beats 50 today whatever the totals; zero points are not listed.
  o.rankingKind = kTodayRanking;
  want = {" 1Ⅱ大野　　　 60/  500", " 1③青木　　　 60/  500", " 3④伊藤　　　 50/20000"};
  list = BuildRankingList(s.roster, s.stats, 2, o);
  EXPECT_EQ(list.lines, want);
  EXPECT_EQ(list.scrollTo, -1);
}

TEST_F(RankingTest, GradeFilterKeepsSchoolWideRanks) {
  int times[] = {10, 20, 30, 40, 50};
  for (int p = 1; p <= 5; ++p) {
    s.stats.bestTime(3, p) = times[p - 1];
  }
  AddPupil(s, 6, "加藤", 3);
  s.stats.bestTime(3, 6) = 35;  // the sixth pupil ranks fourth
  ListOptions o{0, "小３", kHubTimeView, kCumulativeRanking};
  std::vector<std::string> want = {" 1③青木　　　    10 　", " 3③上田　　　    30 　",
                                   " 4③加藤　　　    35 　"};
  EXPECT_EQ(BuildRankingList(s.roster, s.stats, 3, o).lines, want);
  o.filterText = "中学生全体";
  EXPECT_EQ(BuildRankingList(s.roster, s.stats, 3, o).lines,
            std::vector<std::string>{" 6Ⅱ大野　　　    50 　"});
  o.filterText = "高１";  // a grade nobody belongs to
  EXPECT_TRUE(BuildRankingList(s.roster, s.stats, 3, o).lines.empty());
}

TEST(Ranking, RanksAbove99ShowTheirLastTwoDigitsAndEveryPupilIsRanked) {
  auto state = MakeHubState();
  AppState& s = *state;
  for (int p = 1; p <= 2500; ++p) {
    AddPupil(s, p, "生徒" + std::to_string(p), 5);
    s.stats.bestTime(1, p) = p;
  }
  ListOptions o{0, "全学年", kHubTimeView, kCumulativeRanking};
  ScoreList list = BuildRankingList(s.roster, s.stats, 1, o);
  ASSERT_EQ(list.lines.size(), 2500U);
  // Each pupil's time equals its rank; the line starts with the rank's last two digits.
  for (const auto& line : list.lines) {
    const size_t end = line.rfind(' ');
    const int time = std::stoi(line.substr(end - 6, 6));
    EXPECT_EQ(line.substr(0, 2), R2(time)) << line;
  }
  EXPECT_EQ(list.lines[0].substr(0, 2), " 1");
  EXPECT_EQ(list.lines[9].substr(0, 2), "00");  // rank 100 sorts after ranks 1 … 9
}

TEST_F(RankingTest, TodayRunsListShowsTimesClocksAndPointsWithoutMultiplier) {
  const double today = MakeDate(2026, 12, 10);
  std::vector<ResultEntry> records = {
      Record(today, 9, 5, 1, 1, 47),     Record(today, 10, 0, 3, 1, 25),
      Record(today, 11, 0, 1, 1, 99999), Record(today - 1, 8, 0, 2, 2, 20),
      Record(today, 8, 0, 2, 5, 20),     Record(today, 8, 30, 2, 2, 20),
      Record(today, 8, 40, 5, 2, 20),
  };
  ListOptions o{3, "小学生全体", kHubTimeView, kCumulativeRanking};
  std::vector<ScoreList> lists = BuildTodayRunLists(s.catalogue, s.roster, records, today + 0.5, o);
  ASSERT_EQ(lists.size(), 5U);
  std::vector<std::string> want1 = {"  25秒 10:00●上田　　　●5", "  47秒 09:05③青木　　　③4",
                                    "　　× 11:00③青木　　　③"};
  EXPECT_EQ(lists[1].lines, want1);
  EXPECT_EQ(lists[1].colour, kListLightGreen);  // slowest run 47: above 30, within 60
  EXPECT_EQ(lists[2].lines, std::vector<std::string>{"  20秒 08:30④伊藤　　　④19"});
  EXPECT_EQ(lists[2].colour, kListGreen);
  EXPECT_TRUE(lists[3].lines.empty());
  EXPECT_FALSE(lists[3].colour.has_value());
  EXPECT_EQ(lists[1].scrollTo, -1);
}

TEST_F(RankingTest, TodayRunsListReadsOnlyTheNewest1000Records) {
  const double today = MakeDate(2026, 12, 10);
  std::vector<ResultEntry> records;
  records.push_back(Record(today, 9, 0, 1, 3, 40));
  for (int i = 0; i < 999; ++i) {
    records.push_back(Record(today - 1, 9, 0, 1, 4, 40));
  }
  ListOptions o{0, "全学年", kHubTimeView, kCumulativeRanking};
  EXPECT_EQ(BuildTodayRunLists(s.catalogue, s.roster, records, today, o)[3].lines.size(), 1U);
  records.push_back(Record(today - 1, 9, 0, 1, 4, 40));
  EXPECT_TRUE(BuildTodayRunLists(s.catalogue, s.roster, records, today, o)[3].lines.empty());
}

TEST_F(RankingTest, AllRunsWeekRulesOnSundayAndMonday) {
  auto dates = [&](double now, int period) {
    std::vector<ResultEntry> records;  // one run a day from 5 December up to the day of now
    for (double day = MakeDate(2026, 12, 5); day <= now; ++day) {
      records.push_back(Record(day, 9, 0, 1, 1, 40));
    }
    ListOptions o{0, "全学年", kHubTimeView, kCumulativeRanking};
    std::vector<std::string> d;
    const std::vector<ScoreList> lists =
        BuildAllRunLists(s.catalogue, s.roster, records, now, period, o);
    for (const auto& line : lists[1].lines) {
      d.push_back(line.substr(line.find(' ', 6) + 1, 5));
    }
    return d;
  };
  const double sunday = MakeDateTime(2026, 12, 13, 9, 0, 0);
  const double monday = MakeDateTime(2026, 12, 14, 9, 0, 0);
  EXPECT_EQ(dates(sunday, 1), (std::vector<std::string>{"12/07", "12/08", "12/09", "12/10", "12/11",
                                                        "12/12", "12/13"}));
  EXPECT_EQ(dates(monday, 1), (std::vector<std::string>{"12/14"}));
  EXPECT_EQ(dates(monday, 2).front(), "12/07");
  EXPECT_EQ(dates(monday, 2).size(), 8U);
  EXPECT_EQ(dates(sunday, 2).front(), "12/05");  // 14 days reach past the first record
  EXPECT_EQ(AllResultsPeriodDays(2, sunday), 14);
  EXPECT_EQ(AllResultsPeriodDays(1, MakeDate(2026, 12, 12)), 6);  // Saturday
  EXPECT_EQ(AllResultsPeriodDays(3, sunday), 30);
  EXPECT_EQ(AllResultsPeriodDays(4, sunday), 365);
  EXPECT_EQ(AllResultsPeriodDays(5, sunday), 3650);
}

TEST_F(RankingTest, AllRunsFormatsOfBothViews) {
  const double day = MakeDate(2026, 12, 10);
  std::vector<ResultEntry> records = {
      Record(day, 9, 0, 1, 1, 47), Record(day - 2, 9, 0, 3, 1, 99999), Record(day, 9, 0, 1, 9, 47),
      Record(day - 40, 9, 0, 1, 1, 20)};
  ListOptions o{3, "全学年", kHubTimeView, kCumulativeRanking};
  auto lists = BuildAllRunLists(s.catalogue, s.roster, records, day + 0.5, 3, o);
  EXPECT_EQ(lists[1].lines,
            (std::vector<std::string>{"  47秒 12/10③青木　　　③4", "　　× 12/08●上田　　　●"}));
  EXPECT_EQ(lists[1].colour, kListLightGreen);
  o.viewMode = kHubPointsView;
  lists = BuildAllRunLists(s.catalogue, s.roster, records, day + 0.5, 3, o);
  EXPECT_EQ(lists[1].lines,
            (std::vector<std::string>{"    4 12/10③青木　　　③47秒", "　　× 12/08●上田　　　●"}));
  EXPECT_FALSE(lists[1].colour.has_value());
  EXPECT_EQ(BuildAllRunLists(s.catalogue, s.roster, records, day + 0.5, 5, o)[1].lines.size(), 3U);
}

TEST(ColourRule, ComparesTheSlowestTimedLineWithTheStandards) {
  auto state = MakeHubState();  // level 1: target 30, minimum 60
  auto line = [](int seconds) { return Time5(seconds) + " 09:00③青木　　　③4"; };
  const std::string timeOut = "　　× 09:00③青木　　　③";
  struct Case {
    std::vector<std::string> lines;
    std::optional<uint32_t> colour;
  } cases[] = {
      {{line(30)}, kListGreen},          {{line(31)}, kListLightGreen},
      {{line(60)}, kListLightGreen},     {{line(61)}, kListGrey},
      {{line(20), line(61)}, kListGrey}, {{line(20), line(30), timeOut}, kListGreen},
      {{timeOut}, std::nullopt},         {{}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimeListColour(state->catalogue, 1, c.lines), c.colour)
        << ::testing::PrintToString(c.lines);
  }
}

}  // namespace
}  // namespace numora
