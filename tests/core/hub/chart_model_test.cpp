#include "core/hub/chart_model.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/hub/score_lists.h"
#include "core/installation/app_state.h"
#include "core/platform/field_reader.h"
#include "core/records/results_file.h"
#include "core/roster/roster.h"
#include "hub_test_support.h"
#include "support/fakes.h"
#include "support/platform.h"

namespace numora {
namespace {

using testing::AddPupil;
using testing::MakeHubState;
using testing::Record;

constexpr double kToday = 46366;  // 2026-12-10

const ChartText* FindText(const ChartBand& band, const std::string& text) {
  for (const ChartText& t : band.texts) {
    if (t.text == text) {
      return &t;
    }
  }
  return nullptr;
}

int CountLines(const ChartBand& band, ChartLineRole role) {
  return static_cast<int>(std::count_if(band.lines.begin(), band.lines.end(),
                                        [role](const ChartLine& l) { return l.role == role; }));
}

class ChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(MakeDate(2026, 12, 10), kToday);
    AddPupil(s, 1, "青木", 3);
    AddPupil(s, 2, "伊藤", 4);
    AddPupil(s, 3, "上田", 3);
  }
  ChartRequest Request(int pupil, std::vector<int> levels = {1}) const {
    ChartRequest r;
    r.pupil = pupil;
    r.currentPupil = pupil;
    r.levels = std::move(levels);
    r.filterText = "全学年";
    r.now = kToday + 0.5;
    return r;
  }
  std::unique_ptr<AppState> state = MakeHubState();
  AppState& s = *state;
};

TEST_F(ChartTest, PupilWithoutRunsHasScaleTenBlankCountAndNoAverage) {
  // Another pupil's runs give the school's figures; the pupil has none.
  std::vector<ResultEntry> records = {Record(kToday, 9, 0, 2, 1, 50),
                                      Record(kToday, 9, 5, 2, 1, 61)};
  s.stats.bestTime(1, 2) = 50;
  s.stats.totalPoints(1, 2) = 15;
  const Chart chart = BuildChart(s.catalogue, s.roster, s.stats, records, Request(1));
  ASSERT_EQ(chart.bands.size(), 1U);
  const ChartBand& band = chart.bands[0];
  EXPECT_EQ(band.scale, 10);
  EXPECT_EQ(band.runs, 0);
  EXPECT_TRUE(band.points.empty());
  EXPECT_EQ(CountLines(band, ChartLineRole::kBestStep), 0);
  const std::vector<std::string> want = {
      "回数　　　　　　　   回",
      "タイム  　　 　    本人 / 塾全体",
      "　　順位　　　　  --●位",
      "　　最高　　　　       /   50秒",
      "ポイント  　　　",
      "　　順位　　　　   2●位",
      "　　獲得ポイント     点",
      "　　　　　　　　　　　　/   15点",
      "　　　　　　　　　　　　 (塾平均)",
  };
  EXPECT_EQ(band.statistics, want);
  // Without a best there is no scale text and no date.
  EXPECT_EQ(FindText(band, "0秒"), nullptr);
  EXPECT_EQ(FindText(band, "10秒"), nullptr);
  // Line 5 keeps its place: "ポイント" is the sixth line position.
  const ChartText* points = FindText(band, "ポイント  　　　");
  ASSERT_NE(points, nullptr);
  EXPECT_DOUBLE_EQ(points->y, 0.05 + 5 * 0.08);
  EXPECT_DOUBLE_EQ(points->x, 1.05);
  EXPECT_DOUBLE_EQ(points->fontSize, 9);
  EXPECT_TRUE(points->cells);
}

TEST_F(ChartTest, ThreeRunsMarkTheFirstTwoAsBestsJoinedAndTheThirdBlue) {
  std::vector<ResultEntry> records = {Record(kToday - 2, 9, 0, 1, 1, 40),
                                      Record(kToday - 1, 9, 0, 1, 1, 35),
                                      Record(kToday, 9, 0, 1, 1, 38)};
  s.stats.bestTime(1, 1) = 35;
  s.stats.totalPoints(1, 1) = 33;
  const Chart chart = BuildChart(s.catalogue, s.roster, s.stats, records, Request(1));
  ASSERT_EQ(chart.bands.size(), 1U);
  const ChartBand& band = chart.bands[0];
  EXPECT_EQ(band.scale, 50);
  ASSERT_EQ(band.points.size(), 3U);
  const int seconds[] = {40, 35, 38};
  for (int k = 1; k <= 3; ++k) {
    const ChartPoint& p = band.points[static_cast<size_t>(k - 1)];
    EXPECT_EQ(p.run, k);
    EXPECT_DOUBLE_EQ(p.x, 0.7 * k / 3 + 0.2);
    EXPECT_DOUBLE_EQ(p.y, 0.8 - 0.7 * seconds[k - 1] / 50.0);
  }
  EXPECT_EQ(band.points[0].colour, kChartBestColour);
  EXPECT_EQ(band.points[1].colour, kChartBestColour);
  EXPECT_EQ(band.points[2].colour, kChartOtherColour);
  EXPECT_TRUE(band.points[1].newBest);
  EXPECT_FALSE(band.points[2].newBest);
  ASSERT_EQ(CountLines(band, ChartLineRole::kBestStep), 1);
  const ChartLine& step = *std::find_if(band.lines.begin(), band.lines.end(), [](const auto& l) {
    return l.role == ChartLineRole::kBestStep;
  });
  EXPECT_DOUBLE_EQ(step.x1, band.points[0].x);
  EXPECT_DOUBLE_EQ(step.y2, band.points[1].y);
  EXPECT_DOUBLE_EQ(step.width, 3);

  EXPECT_EQ(band.statistics[0], "回数　　　　　　　  3回");
  EXPECT_EQ(band.statistics[2], "　　順位　　　　   1●位");
  EXPECT_EQ(band.statistics[3], "　　最高　　　　   35秒 /   35秒");
  EXPECT_EQ(band.statistics[4], "　　平均　　　　   37秒 /   38秒");  // 113 / 3 cut, rounded
  EXPECT_EQ(band.statistics[7], "　　獲得ポイント   33点");

  // Scale texts, the first and the last best with their dates.
  const ChartText* zero = FindText(band, "0秒");
  ASSERT_NE(zero, nullptr);
  EXPECT_DOUBLE_EQ(zero->x, 0.12);
  EXPECT_DOUBLE_EQ(zero->y, 0.79);
  ASSERT_NE(FindText(band, "50秒"), nullptr);
  EXPECT_DOUBLE_EQ(FindText(band, "50秒")->y, 0.1);
  const ChartText* firstBest = FindText(band, "40秒");
  ASSERT_NE(firstBest, nullptr);
  EXPECT_DOUBLE_EQ(firstBest->y, band.points[0].y - 0.01);
  const ChartText* lastBest = FindText(band, "35秒");
  ASSERT_NE(lastBest, nullptr);
  EXPECT_DOUBLE_EQ(lastBest->x, band.points[1].x - 0.025);
  EXPECT_DOUBLE_EQ(lastBest->y, band.points[1].y + 0.04);
  EXPECT_NE(FindText(band, "2026/12/08"), nullptr);  // the first best's full date
  ASSERT_NE(FindText(band, "12/09"), nullptr);       // same year as the best before it
  EXPECT_DOUBLE_EQ(FindText(band, "12/09")->y, band.points[1].y + 0.07);
  // The date of the newest record, under the last plotted run.
  const ChartText* newest = FindText(band, "2026/12/10");
  ASSERT_NE(newest, nullptr);
  EXPECT_DOUBLE_EQ(newest->x, band.points[2].x - 0.025);
  EXPECT_DOUBLE_EQ(newest->y, 0.815);
}

TEST_F(ChartTest, RunsOf1800SecondsAndMoreCountInNoFigure) {
  std::vector<ResultEntry> records = {
      Record(kToday, 8, 0, 1, 1, 1800),   Record(kToday, 8, 10, 1, 1, 99999),
      Record(kToday, 8, 20, 1, 1, 42),    Record(kToday, 8, 30, 1, 1, 2500),
      Record(kToday, 8, 40, 2, 1, 1800),  Record(kToday, 8, 50, 2, 1, 1799),
      Record(kToday, 8, 55, 2, 1, 99999),
  };
  const Chart chart = BuildChart(s.catalogue, s.roster, s.stats, records, Request(1));
  const ChartBand& band = chart.bands[0];
  EXPECT_EQ(band.runs, 1);
  EXPECT_EQ(band.runSum, 42);
  EXPECT_EQ(band.slowest, 42);
  EXPECT_EQ(band.scale, 50);
  EXPECT_EQ(band.schoolRuns, 2);
  EXPECT_EQ(band.schoolSum, 42 + 1799);
  EXPECT_EQ(band.schoolBest, 42);
  ASSERT_EQ(band.points.size(), 1U);
  EXPECT_TRUE(band.points[0].newBest);
  EXPECT_DOUBLE_EQ(band.points[0].x, 0.9);  // k = n = 1: the right end of the time axis
  EXPECT_EQ(band.statistics[3], "　　最高　　　　   42秒 /   42秒");
  EXPECT_EQ(band.statistics[4], "　　平均　　　　   42秒 /  921秒");
}

TEST_F(ChartTest, ScaleRoundsTheSlowestRunUpToTensAndStopsAt1000) {
  struct Case {
    int slowest, scale;
  } cases[] = {{9, 10}, {10, 20}, {49, 50}, {50, 60}, {989, 990}, {999, 1000}, {1500, 1000}};
  for (const Case& c : cases) {
    const Chart chart = BuildChart(s.catalogue, s.roster, s.stats,
                                   {Record(kToday, 8, 0, 1, 1, c.slowest)}, Request(1));
    EXPECT_EQ(chart.bands[0].scale, c.scale) << c.slowest;
  }
}

TEST_F(ChartTest, AxisTextsStayClearOfEachOther) {
  // A first run just under the scale: its time text would run into the scale's text.
  const ChartBand band =
      BuildChart(s.catalogue, s.roster, s.stats, {Record(kToday, 8, 0, 1, 1, 49)}, Request(1))
          .bands[0];
  EXPECT_DOUBLE_EQ(FindText(band, "50秒")->y, 0.1);
  EXPECT_DOUBLE_EQ(FindText(band, "49秒")->x, 0.12);
  EXPECT_DOUBLE_EQ(FindText(band, "49秒")->y, 0.145);
  EXPECT_DOUBLE_EQ(FindText(band, "0秒")->y, 0.79);
  // The caption under the school's average is in the base size, left of the figure above it.
  EXPECT_DOUBLE_EQ(FindText(band, "　　　　　　　　　　　　 (塾平均)")->fontSize, 6);
}

TEST_F(ChartTest, FourLevelsStartASecondPageWithTheNameAgain) {
  s.roster.names[1] = RosterText("青木　一郎");
  const Chart chart =
      BuildChart(s.catalogue, s.roster, s.stats, {}, Request(1, {4, 2, 1, 3, 3, 9}));
  ASSERT_EQ(chart.bands.size(), 4U);
  EXPECT_EQ(chart.pages, 2);
  const double tops[] = {0.05, 0.35, 0.65, 0.05};
  for (int i = 0; i < 4; ++i) {
    const ChartBand& band = chart.bands[static_cast<size_t>(i)];
    EXPECT_EQ(band.level, i + 1);
    EXPECT_EQ(band.page, i / 3);
    EXPECT_NEAR(band.top, tops[i], 1e-12);
    const ChartText* name = FindText(band, "青木　一郎");
    EXPECT_EQ(name != nullptr, i == 0 || i == 3) << i;
    if (name != nullptr) {
      EXPECT_TRUE(name->fromPageTop);
      EXPECT_DOUBLE_EQ(name->x, 0.01);
      EXPECT_DOUBLE_EQ(name->y, 0.02);
      EXPECT_DOUBLE_EQ(name->fontSize, 18);
    }
    const ChartText* title = FindText(band, "ヌモラ ﾚﾍﾞﾙ" + std::to_string(i + 1));
    ASSERT_NE(title, nullptr);
    EXPECT_DOUBLE_EQ(title->fontSize, 12);
    EXPECT_EQ(CountLines(band, ChartLineRole::kAxis), 2);
    EXPECT_EQ(CountLines(band, ChartLineRole::kRule), i % 3 == 0 ? 0 : 1);
  }
  EXPECT_EQ(chart.pupilName, "青木　一郎");
}

TEST_F(ChartTest, PaperHasALargerTitleAndATighterStatisticsBlock) {
  ChartRequest r = Request(1);
  r.target = ChartTarget::kPaper;
  const ChartBand band = BuildChart(s.catalogue, s.roster, s.stats, {}, r).bands[0];
  EXPECT_DOUBLE_EQ(FindText(band, "ヌモラ ﾚﾍﾞﾙ1")->fontSize, 18);
  EXPECT_DOUBLE_EQ(FindText(band, "ポイント  　　　")->y, 0.05 + 5 * 0.06);
  EXPECT_DOUBLE_EQ(FindText(band, "　　　　　　　　　　　　 (塾平均)")->y, 0.05 + 8.5 * 0.06);
}

TEST_F(ChartTest, RanksBelongToThePupilEvenWhenNamesContainOneAnother) {
  AddPupil(s, 4, "山田花子", 3);
  AddPupil(s, 5, "山田", 3);
  s.stats.bestTime(1, 4) = 20;
  s.stats.bestTime(1, 5) = 30;
  s.stats.totalPoints(1, 4) = 90;
  s.stats.totalPoints(1, 5) = 40;
  ChartRequest r = Request(5);
  r.currentPupil = 1;  // charted from another pupil's hub: the grade mark, not "●"
  const ChartBand band = BuildChart(s.catalogue, s.roster, s.stats, {}, r).bands[0];
  EXPECT_EQ(band.timeRankText, " 2③");
  EXPECT_EQ(band.pointsRankText, " 2③");
  EXPECT_EQ(band.pointsTotal, 40);
  EXPECT_EQ(band.schoolPointsPupils, 2);
  EXPECT_EQ(band.statistics[7], "　　　　　　　　　　　　/   65点");  // no average line

  // Totals of six digits are shown whole.
  s.stats.totalPoints(1, 5) = 123456;
  const ChartBand big = BuildChart(s.catalogue, s.roster, s.stats, {}, r).bands[0];
  EXPECT_EQ(big.pointsTotal, 123456);
  EXPECT_EQ(big.statistics[6], "　　獲得ポイント123456点");

  // A pupil who is no ranking member gets an empty rank, whatever was charted before.
  s.roster.names[9] = RosterText("山田");
  const ChartBand outside = BuildChart(s.catalogue, s.roster, s.stats, {}, Request(9)).bands[0];
  EXPECT_EQ(outside.timeRankText, "");
  EXPECT_EQ(outside.statistics[2], "　　順位　　　　     位");
  EXPECT_EQ(outside.statistics[5], "　　順位　　　　     位");
}

TEST_F(ChartTest, TodaysPointsRankingCountsOnlyPupilsWithPointsToday) {
  s.stats.totalPoints(2, 1) = 100;
  s.stats.totalPoints(2, 2) = 300, s.stats.todayPoints(2, 2) = 10;
  ChartRequest r = Request(1, {2});
  r.rankingKind = kTodayRanking;
  const ChartBand band = BuildChart(s.catalogue, s.roster, s.stats, {}, r).bands[0];
  EXPECT_EQ(band.pointsRankText, "");
  EXPECT_EQ(band.schoolPointsPupils, 1);
  EXPECT_EQ(band.schoolPointsSum, 300);
  r.rankingKind = kCumulativeRanking;
  const ChartBand total = BuildChart(s.catalogue, s.roster, s.stats, {}, r).bands[0];
  EXPECT_EQ(total.pointsRankText, " 2●");
  EXPECT_EQ(total.schoolPointsSum, 400);
}

TEST_F(ChartTest, APupilOutsideTheFilterGetsStatisticsButNoPoints) {
  std::vector<ResultEntry> records = {Record(kToday, 8, 0, 1, 1, 40)};
  ChartRequest r = Request(1);
  r.filterText = "小４";  // pupil 1 is in the third year
  const ChartBand band = BuildChart(s.catalogue, s.roster, s.stats, records, r).bands[0];
  EXPECT_EQ(band.runs, 1);
  EXPECT_TRUE(band.points.empty());
  EXPECT_EQ(band.statistics[0], "回数　　　　　　　  1回");
  EXPECT_EQ(FindText(band, "0秒"), nullptr);
}

TEST_F(ChartTest, EveryThirdBestIsLabelledWhenThereAreMoreThanFive) {
  std::vector<ResultEntry> records;
  const int seconds[] = {70, 65, 60, 55, 50, 45, 40, 80};
  // Bests 1..6 in 2025, best 7 in 2026.
  for (int i = 0; i < 8; ++i) {
    const double date = i < 6 ? MakeDate(2025, 1 + i, 1) : MakeDate(2026, i - 5, 15);
    records.push_back(Record(date, 8, 0, 1, 1, seconds[i]));
  }
  const ChartBand band = BuildChart(s.catalogue, s.roster, s.stats, records, Request(1)).bands[0];
  ASSERT_EQ(std::count_if(band.points.begin(), band.points.end(),
                          [](const ChartPoint& p) { return p.newBest; }),
            7);
  EXPECT_EQ(CountLines(band, ChartLineRole::kBestStep), 6);
  // Best 3 is labelled (3 ≤ 7 − 2); best 6 is not (6 > 5); best 7 is the last.
  const ChartPoint& third = band.points[2];
  const ChartText* t = FindText(band, "60秒");
  ASSERT_NE(t, nullptr);
  EXPECT_DOUBLE_EQ(t->y, third.y + 0.01);
  EXPECT_EQ(FindText(band, "45秒"), nullptr);
  ASSERT_NE(FindText(band, "40秒"), nullptr);
  // Best 3 shares its year with best 2: month and day only. Best 7 follows a best of another
  // year: its full date.
  EXPECT_NE(FindText(band, "03/01"), nullptr);
  EXPECT_EQ(FindText(band, "2025/03/01"), nullptr);
  EXPECT_NE(FindText(band, "2026/01/15"), nullptr);
}

TEST_F(ChartTest, BothPassesReadTheSameRecordsSoNoPointPassesTheAxisEnd) {
  // 25000 runs: far more than the hub's 20000-record window, all within 3650 days.
  std::vector<ResultEntry> records;
  for (int i = 0; i < 25000; ++i) {
    records.push_back(Record(kToday - 3000 + i / 10, 8, 0, 1 + i % 2, 1, 30 + i % 40));
  }
  records.push_back(Record(kToday - 3651, 8, 0, 1, 1, 5));  // too old: left out
  const ChartBand band = BuildChart(s.catalogue, s.roster, s.stats, records, Request(1)).bands[0];
  EXPECT_EQ(band.runs, 12500);
  EXPECT_EQ(band.statistics[0], "回数　　　　　　　12500回");  // whole, not its last three digits
  ASSERT_EQ(band.points.size(), 12500U);
  EXPECT_DOUBLE_EQ(band.points.back().x, 0.9);
  for (const ChartPoint& p : band.points) {
    ASSERT_LE(p.x, 0.9 + 1e-12);
  }
}

TEST_F(ChartTest, PersonalRunListsHoldThePupilsOwnRunsInDateOrder) {
  std::vector<ResultEntry> records = {
      Record(kToday, 9, 5, 1, 2, 47),      Record(kToday - 1, 15, 0, 1, 2, 99999),
      Record(kToday - 1, 8, 7, 1, 1, 123), Record(kToday, 9, 0, 2, 1, 30),
      Record(kToday, 9, 0, 1, 7, 30),      Record(kToday - 3651, 9, 0, 1, 1, 30),
  };
  const auto lists =
      BuildPersonalRunLists(s.catalogue, s.roster, records, kToday + 0.5, 1, "全学年");
  ASSERT_EQ(lists.size(), 5U);
  EXPECT_EQ(lists[1], std::vector<std::string>{"2026/12/09 08:07:00 123秒"});
  EXPECT_EQ(lists[2],
            (std::vector<std::string>{"2026/12/09 15:00:00", "2026/12/10 09:05:00  47秒"}));
  EXPECT_TRUE(lists[3].empty());
  EXPECT_TRUE(
      BuildPersonalRunLists(s.catalogue, s.roster, records, kToday + 0.5, 1, "小５")[2].empty());
}

TEST(ChartRoster, TakesThePupilNumberAfterTheLastSlash) {
  EXPECT_EQ(ChartRosterLinePupil("小３ /  青木/12"), 12);
  EXPECT_EQ(ChartRosterLinePupil("小３ /  a/b/7"), 7);
  EXPECT_EQ(ChartRosterLinePupil("名前だけ"), 0);
  EXPECT_EQ(ChartRosterLinePupil("小３ /  青木/"), 0);
  EXPECT_EQ(ChartRosterLinePupil("小３ /  青木/x1"), 0);
}

TEST(ChartRoster, ListsStatusZeroPupilsAndKeepsTheRankingMembers) {
  namespace fs = std::filesystem;
  const fs::path root =
      fs::temp_directory_path() / ("numora_chart_roster_" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root);
  {
    std::ofstream out(root / testing::NativePath(kRosterFileName), std::ios::binary);
    out << "1,2017,0,0,\"Aoki\",0,\"\",\"\"\r\n"
           "2,2016,0,0,\"Ito\",2,\"\",\"\"\r\n"
           "3,2017,0,0,\"Ueda\",0,\"\",\"\"\r\n";
  }
  auto state = MakeHubState();
  AppState& s = *state;
  s.installation.dataRootFolder = PathText(root) + "/";
  s.installation.schoolYearStartMonth = 4;
  s.installation.rosterStatusTwoActive = 1;
  AddPupil(s, 1, "Aoki", 3);
  std::string notice;
  const std::vector<std::string> lines = ChartRosterLines(s.installation, s.roster, kToday, notice);
  EXPECT_EQ(lines, (std::vector<std::string>{"小３ /  Aoki/1", "小３ /  Ueda/3"}));
  EXPECT_TRUE(notice.empty());
  EXPECT_EQ(s.roster.count, 1);  // the ranking members are untouched
  EXPECT_EQ(s.roster.order[1], 1);
  EXPECT_TRUE(s.installation.rosterStatusTwoActive);
  EXPECT_EQ(TrimSpaces(s.roster.names[3]), "Ueda");
  fs::remove_all(root);
}

TEST(ChartRecords, ReadsEveryRecordWithinTheChartPeriod) {
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::temp_directory_path() / ("numora_chart_records_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  auto state = MakeHubState();
  state->installation.dataFolder = PathText(folder) + "/";
  FakeServices services;
  services.clock.SetNow(kToday + 0.5);
  {
    std::ofstream out(testing::NativePath(ResultsFilePath(state->installation)), std::ios::binary);
    unsigned char bytes[kResultRecordSize];
    for (int i = 0; i < 30000; ++i) {
      ResultRecord r;
      r.runDate = kToday - 4000 + i / 10;  // the first 500 are older than 3650 days
      r.pupilNumber = 1;
      r.level = 1;
      r.seconds = 40;
      EncodeResultRecord(r, bytes);
      out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
  }
  const std::vector<ResultEntry> records =
      ReadChartRecords(state->installation, state->stats, services.services);
  EXPECT_EQ(records.size(), 30000U - 3510U);
  EXPECT_TRUE(services.host.messages.empty());
  fs::remove_all(folder);
}

}  // namespace
}  // namespace numora
