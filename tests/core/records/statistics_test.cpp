#include "core/records/statistics.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/installation/app_state.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/records/results_scan.h"
#include "support/fakes.h"
#include "support/platform.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

ResultRecord Rec(double date, int pupil, int level, int32_t seconds) {
  ResultRecord r;
  r.runDate = std::floor(date);
  r.runTime = 0.4;
  r.pupilNumber = static_cast<int16_t>(pupil);
  r.level = static_cast<int16_t>(level);
  r.seconds = seconds;
  return r;
}

class RecordsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("numora_stats_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    state_ = std::make_unique<AppState>();
    state_->installation.dataFolder = folder_.string() + "/";
    LevelStandard& one = state_->catalogue.standards[1];
    one.targetTime = 60;
    one.pointMultiplier = 1;
    one.clearPoints = 20;
    one.clearCount = 2;
    one.passPeriodDays = 7;
    one.overPracticePeriodDays = 3;
    fake_.clock.Set(2026, 12, 10, 9, 0, 0);
  }
  void TearDown() override { fs::remove_all(folder_); }

  double Today() const { return fake_.clock.Today(); }

  void Write(const std::vector<ResultRecord>& records, const std::string& tail = "") {
    std::ofstream out(testing::NativePath(ResultsFilePath(state_->installation)),
                      std::ios::binary | std::ios::trunc);
    for (const auto& r : records) {
      unsigned char bytes[kResultRecordSize];
      EncodeResultRecord(r, bytes);
      out.write(reinterpret_cast<const char*>(bytes), kResultRecordSize);
    }
    out << tail;
  }

  fs::path folder_;
  std::unique_ptr<AppState> state_;
  FakeServices fake_;
};

TEST(RunPointsTest, PointsFollowTargetTimeAndMultiplier) {
  struct Case {
    int32_t target;
    float multiplier;
    int32_t seconds;
    int32_t points;
  };
  const Case cases[] = {
      {60, 1, 30, 11},
      {60, 1, 60, 5},
      {60, 1, 0, 55},
      {60, 1, 61, 4},
      {60, 1, 119, 4},
      {60, 1, 120, 1},
      {60, 1, 599, 1},
      {60, 1, 600, 0},
      {60, 1, 99999, 0},
      {60, 1.5F, 30, 16},
      {1500, 1, 1200, 43},
      {60, 2, 99998, 0},
      // A level without a positive target time scores nothing instead of dividing by zero.
      {0, 1, 0, 0},
      {0, 1, 30, 0},
      {-5, 1, 10, 0},
      // A damaged record with a negative time earns nothing rather than negative points.
      {60, 1, -1234, 0},
      // Multipliers below 1 round the single-precision product down.
      {60, 0.7F, 60 * 2, 0},
      {60, 0.7F, 50, 3},
  };
  auto state = std::make_unique<AppState>();
  for (const Case& c : cases) {
    state->catalogue.standards[2].targetTime = c.target;
    state->catalogue.standards[2].pointMultiplier = c.multiplier;
    EXPECT_EQ(RunPoints(state->catalogue, 2, c.seconds), c.points)
        << "target " << c.target << " × " << c.multiplier << ", " << c.seconds << " s";
  }
  state->catalogue.standards[3].targetTime = 60;
  state->catalogue.standards[3].pointMultiplier = 0.7F;
  // 0 seconds: base 55 → ⌊38.5⌋; 54 s: base ⌊(6/60)³×50+5⌋ = 5 → ⌊3.5⌋.
  EXPECT_EQ(RunPoints(state->catalogue, 3, 0), 38);
  state->catalogue.standards[3].pointMultiplier = 1.4F;
  EXPECT_EQ(RunPoints(state->catalogue, 3, 60), 7);  // 1.4f × 5 is 7 in single precision
  EXPECT_EQ(RunPoints(state->catalogue, 36, 30), 0);
  EXPECT_EQ(RunPoints(state->catalogue, -1, 30), 0);
}

TEST(RunPointsTest, TimeDigitsAreTheFirstThreeDecimalDigits) {
  const std::pair<int32_t, int32_t> cases[] = {{47, 47},    {0, 0},      {5, 5},       {999, 999},
                                               {1000, 100}, {1234, 123}, {99999, 999}, {6000, 600}};
  for (auto [seconds, digits] : cases) EXPECT_EQ(TimeDigits(seconds), digits) << seconds;
}

TEST_F(RecordsFixture, TodayCountsSumsAndRoundedAverage) {
  const double today = Today();
  Write({Rec(today, 5, 1, 47), Rec(today, 5, 1, 48), Rec(today, 5, 1, 99999),
         Rec(today - 1, 5, 1, 30)});
  RebuildStatistics(*state_, fake_.services);
  EXPECT_EQ(state_->stats.todayRuns(1, 5), 2);
  EXPECT_EQ(state_->stats.todayTimeSum(1, 5), 47 + 48 + 999);  // a time-out adds 999 to the sum
  EXPECT_EQ(state_->stats.todayPoints(1, 5),
            RunPoints(state_->catalogue, 1, 47) + RunPoints(state_->catalogue, 1, 48));
  EXPECT_EQ(state_->stats.todayAverageTime(1, 5), std::floor((47 + 48 + 999) / 2.0 + 0.5));
  EXPECT_EQ(state_->stats.totalRuns(1, 5), 3);
  EXPECT_EQ(state_->stats.totalTimeSum(1, 5), 47 + 48 + 999 + 30);
  EXPECT_EQ(state_->stats.totalPoints(1, 5), RunPoints(state_->catalogue, 1, 47) +
                                                 RunPoints(state_->catalogue, 1, 48) +
                                                 RunPoints(state_->catalogue, 1, 30));
  EXPECT_EQ(state_->stats.totalAverageTime(1, 5), std::floor((47 + 48 + 999 + 30) / 3.0 + 0.5));

  // The two-run example: 47 and 48 seconds average to ⌊47.5 + 0.5⌋ = 48.
  Write({Rec(today, 6, 1, 47), Rec(today, 6, 1, 48)});
  RebuildStatistics(*state_, fake_.services);
  EXPECT_EQ(state_->stats.todayAverageTime(1, 6), 48);
  EXPECT_EQ(state_->stats.todayTimeSum(1, 6), 95);

  // The next day nobody has run today: counts are 0, the averages keep their last value.
  fake_.clock.Advance(86400);
  RebuildStatistics(*state_, fake_.services);
  EXPECT_EQ(state_->stats.todayRuns(1, 6), 0);
  EXPECT_EQ(state_->stats.todayTimeSum(1, 6), 0);
  EXPECT_EQ(state_->stats.todayAverageTime(1, 6), 48);
  EXPECT_EQ(state_->stats.totalAverageTime(1, 6), 48);
}

TEST_F(RecordsFixture, PeriodsCountWholeDaysBackFromToday) {
  const double today = Today();
  // Pass period 7 days, over-practice period 3 days on level 1; level 2 has an empty and a 0
  // period, level 3 a negative and a 0 one given as text.
  state_->catalogue.standards[2] = state_->catalogue.standards[1];
  state_->catalogue.standards[2].passPeriodDays = Value();
  state_->catalogue.standards[2].overPracticePeriodDays = 0;
  state_->catalogue.standards[3] = state_->catalogue.standards[1];
  state_->catalogue.standards[3].passPeriodDays = -2;
  state_->catalogue.standards[3].overPracticePeriodDays = Value::FromField("0");
  struct Case {
    int daysAgo;
    bool inPass;
    bool inPractice;
  };
  // A record dated after today (a clock once set ahead) is within a positive period.
  const Case cases[] = {{-1, true, true}, {0, true, true},   {2, true, true},   {3, true, false},
                        {6, true, false}, {7, false, false}, {30, false, false}};
  for (const Case& c : cases) {
    // A late time of day must not move a run into another day.
    ResultRecord r = Rec(today - c.daysAgo, 9, 1, 30);
    r.runTime = 0.99;
    ResultRecord r2 = r;
    r2.level = 2;
    ResultRecord r3 = r;
    r3.level = 3;
    Write({r, r2, r3, Rec(today - c.daysAgo, 9, 1, 99999)});
    RebuildStatistics(*state_, fake_.services);
    const int32_t points = RunPoints(state_->catalogue, 1, 30);
    EXPECT_EQ(state_->stats.recentRuns(1, 9), c.inPass ? 1 : 0) << c.daysAgo;
    EXPECT_EQ(state_->stats.recentPoints(1, 9), c.inPass ? points : 0) << c.daysAgo;
    EXPECT_EQ(state_->stats.overPracticeWindowRuns(1, 9), c.inPractice ? 1 : 0) << c.daysAgo;
    EXPECT_EQ(state_->stats.overPracticeWindowPoints(1, 9), c.inPractice ? points : 0) << c.daysAgo;
    EXPECT_EQ(state_->stats.recentRuns(2, 9), 0) << "an empty period covers nothing";
    EXPECT_EQ(state_->stats.recentPoints(2, 9), 0) << c.daysAgo;
    EXPECT_EQ(state_->stats.overPracticeWindowRuns(2, 9), 0) << "a 0 period covers nothing";
    EXPECT_EQ(state_->stats.overPracticeWindowPoints(2, 9), 0) << c.daysAgo;
    EXPECT_EQ(state_->stats.recentRuns(3, 9), 0) << "a negative period covers nothing";
    EXPECT_EQ(state_->stats.overPracticeWindowRuns(3, 9), 0) << c.daysAgo;
    EXPECT_EQ(state_->stats.totalRuns(3, 9), 1);
    EXPECT_EQ(state_->stats.totalRuns(1, 9), 1);
  }
}

TEST_F(RecordsFixture, ScanOfMissingFileCreatesItAndResetsBestTimes) {
  state_->stats.bestTime(4, 17) = 12;
  state_->stats.resultEntryCount = 5;
  ASSERT_TRUE(
      ScanResults(state_->installation, state_->stats, state_->scanWarnings, fake_.services));
  EXPECT_TRUE(fs::exists(testing::NativePath(ResultsFilePath(state_->installation))));
  EXPECT_EQ(state_->stats.resultEntryCount, 0);
  for (int level : {1, 4, 35}) {
    for (int pupil : {1, 17, 5000}) EXPECT_EQ(state_->stats.bestTime(level, pupil), 99999);
    EXPECT_EQ(state_->stats.bestTimeAll[static_cast<size_t>(level)], 99999);
  }
  EXPECT_TRUE(fake_.host.messages.empty());
}

TEST_F(RecordsFixture, ScanKeepsEntriesDiscardsInvalidOnesAndTracksBestTimes) {
  const double today = Today();
  // Level 0 and pupil 0 are not reset by the scan; give them a value a record can lower.
  state_->stats.bestTime(2, 0) = 99999;
  state_->stats.bestTime(0, 4) = 99999;
  Write({Rec(today, 3, 2, 40), Rec(today, 3, 2, 35), Rec(today, 3, 2, 35),
         Rec(today, 0, 2, 20),      // pupil 0: not kept, lowers bestTime(2, 0)
         Rec(today, 4, 0, 10),      // level 0: not kept, lowers bestTime(0, 4)
         Rec(-3, 5, 2, 25),         // negative date: not kept, lowers bestTime(2, 5)
         Rec(today, 1200, 2, 9),    // above pupil 1000: own best only
         Rec(today, 7, 3, 99999)},  // a time-out never lowers a best time
        "partial tail");
  ASSERT_TRUE(
      ScanResults(state_->installation, state_->stats, state_->scanWarnings, fake_.services));
  ASSERT_EQ(state_->stats.resultEntryCount, 5);
  EXPECT_EQ(state_->stats.resultEntries[1].seconds, 40);
  EXPECT_EQ(state_->stats.resultEntries[4].pupilNumber, 1200);
  EXPECT_EQ(state_->stats.resultEntries[5].seconds, 99999);
  EXPECT_DOUBLE_EQ(state_->stats.resultEntries[1].runTime, 0.4);
  EXPECT_EQ(state_->stats.bestTime(2, 3), 35);
  EXPECT_EQ(state_->stats.bestTime(2, 0), 20);
  EXPECT_EQ(state_->stats.bestTime(0, 4), 10);
  EXPECT_EQ(state_->stats.bestTime(2, 5), 25);
  EXPECT_EQ(state_->stats.bestTime(2, 1200), 9);
  EXPECT_EQ(state_->stats.bestTime(3, 7), 99999);
  EXPECT_EQ(state_->stats.bestTimeAll[2], 25);  // pupil 5's discarded record counts, pupil 1200 not
  EXPECT_EQ(state_->stats.bestTimeAll[3], 99999);
}

TEST_F(RecordsFixture, RecordsOutsideTheTablesAreSkippedAndReportedOnce) {
  const double today = Today();
  Write({Rec(today, 3, 1, 40), Rec(MakeDate(2026, 12, 9), 6000, 1, 30), Rec(today, 3, 40, 20),
         Rec(today, -2, 1, 10), Rec(today, 3, -1, 10), Rec(today, 4, 1, 50)});
  ASSERT_TRUE(
      ScanResults(state_->installation, state_->stats, state_->scanWarnings, fake_.services));
  EXPECT_EQ(state_->stats.resultEntryCount, 2);
  EXPECT_EQ(state_->stats.resultEntries[2].pupilNumber, 4);
  EXPECT_EQ(state_->stats.bestTime(1, 3), 40);
  ASSERT_EQ(fake_.host.messages.size(), 1U);
  // One plain sentence (which record, why, where to look), then the diagnostic text.
  EXPECT_EQ(fake_.host.messages[0],
            "注意|成績ファイルの記録番号 2 は番号またはレベルが範囲外のため、集計から除きました。"
            "詳しくは numora-data check で確かめてください。\n\n"
            "成績ランダムファイル表示89インデックスが有効範囲にありません。9/date2026/12/09"
            "/i=2/time=09:36:00/name=/Bangou=6000/level=1/time=30line8");
  EXPECT_TRUE(fake_.host.endedWith.empty());
  EXPECT_TRUE(state_->scanWarnings.unplaceableRecordTold);
  EXPECT_FALSE(state_->scanWarnings.damagedRecordTold);
  RebuildStatistics(*state_, fake_.services);
  EXPECT_EQ(fake_.host.messages.size(), 1U) << "told once per program run";
  EXPECT_EQ(state_->stats.totalRuns(1, 3), 1);
}

TEST_F(RecordsFixture, LeftOverSafetyCopyIsReportedOnceAndKept) {
  Write({Rec(Today(), 3, 1, 40)});
  std::ofstream(testing::NativePath(ResultsSafetyCopyPath(state_->installation))) << "copy";
  RebuildStatistics(*state_, fake_.services);
  RebuildStatistics(*state_, fake_.services);
  ASSERT_EQ(fake_.host.messages.size(), 1U);
  EXPECT_EQ(fake_.host.messages[0], "注意|" + DetectInterruptedDelete(state_->installation));
  EXPECT_TRUE(fs::exists(testing::NativePath(ResultsSafetyCopyPath(state_->installation))))
      << "never discarded";
  EXPECT_EQ(state_->stats.totalRuns(1, 3), 1);
}

TEST_F(RecordsFixture, ScanReadsOnlyTheNewest20000Records) {
  std::vector<ResultRecord> records;
  const double today = Today();
  for (int i = 1; i <= 20005; ++i) records.push_back(Rec(today, 1 + i % 4000, 1, 100 + i % 50));
  records[2].seconds = 5;  // record 3: outside the window, does not count
  records[2].pupilNumber = 4500;
  records[20004].seconds = 6;  // the newest record always counts
  Write(records);
  ASSERT_TRUE(
      ScanResults(state_->installation, state_->stats, state_->scanWarnings, fake_.services));
  EXPECT_EQ(state_->stats.resultEntryCount, 20000);
  EXPECT_EQ(state_->stats.resultEntries[1].pupilNumber, 1 + 6 % 4000);
  EXPECT_EQ(state_->stats.resultEntries[20000].seconds, 6);
  EXPECT_EQ(state_->stats.bestTime(1, 4500), 99999) << "record 3 (5 s) lies outside the window";
  EXPECT_EQ(state_->stats.bestTimeAll[1], 6);
}

TEST_F(RecordsFixture, RecordRunSetsFlagsAndAppendsOneRecord) {
  const double today = Today();
  Write({Rec(today - 1, 8, 1, 40), Rec(today - 1, 8, 1, 42), Rec(today, 2, 1, 31)});
  RebuildStatistics(*state_, fake_.services);
  state_->session.currentPupil = 8;
  state_->session.currentLevel = 1;
  state_->installation.schoolCode = "12345";

  // Two runs with 8 + 7 points: clearCount 2 met, clearPoints 20 not.
  state_->run.recordedTime = 38;
  RecordRun(*state_, fake_.services, 1);
  EXPECT_FALSE(state_->run.clearedBefore);
  EXPECT_TRUE(state_->run.newPersonalBest);
  EXPECT_EQ(state_->stats.bestTime(1, 8), 38);
  EXPECT_FALSE(state_->run.newLevelBest);  // pupil 2 holds 31
  EXPECT_EQ(state_->stats.bestTimeAll[1], 31);

  state_->run.newPersonalBest = false;
  state_->catalogue.standards[1].clearPoints = 10;
  fake_.clock.Advance(120);
  state_->run.recordedTime = 20;
  RecordRun(*state_, fake_.services, 1);
  EXPECT_TRUE(state_->run.clearedBefore);  // from the tables as last rebuilt
  EXPECT_TRUE(state_->run.newPersonalBest);
  EXPECT_TRUE(state_->run.newLevelBest);
  EXPECT_EQ(state_->stats.bestTimeAll[1], 20);
  EXPECT_EQ(state_->stats.totalRuns(1, 8), 2) << "recording leaves the tables alone";

  std::vector<ResultRecord> all;
  std::string error;
  ASSERT_TRUE(ReadAllResultRecords(state_->installation, fake_.services, all, error)) << error;
  ASSERT_EQ(all.size(), 5U);
  EXPECT_EQ(all[4].seconds, 20);
  EXPECT_EQ(all[4].pupilNumber, 8);
  EXPECT_EQ(all[4].level, 1);
  EXPECT_DOUBLE_EQ(all[4].runDate, today);
  EXPECT_NEAR(all[4].runTime * 86400, 9 * 3600 + 120, 0.01);
  EXPECT_EQ(std::string(all[4].schoolCode.data(), 5), "12345");

  // A first run on a level is always a personal best; a time-out never is.
  state_->run.newPersonalBest = false;
  state_->run.recordedTime = 99999;
  RecordRun(*state_, fake_.services, 1);
  EXPECT_FALSE(state_->run.newPersonalBest);
  state_->session.currentPupil = 9;
  state_->run.recordedTime = 500;
  RecordRun(*state_, fake_.services, 1);
  EXPECT_TRUE(state_->run.newPersonalBest);
  RebuildStatistics(*state_, fake_.services);
  EXPECT_EQ(state_->stats.resultEntryCount, 7);
}

TEST_F(RecordsFixture, RunThatCannotBeStoredIsShownWithPupilLevelAndTime) {
  state_->installation.dataFolder = (folder_ / "missing").string() + "/";
  state_->session.currentPupil = 7;
  state_->session.currentLevel = 2;
  state_->run.recordedTime = 99999;
  state_->catalogue.standards[2].targetTime = 60;
  RecordRun(*state_, fake_.services, 2);
  ASSERT_EQ(fake_.host.messages.size(), 1U);
  const std::string& m = fake_.host.messages[0];
  EXPECT_NE(m.find("注意|"), std::string::npos) << m;
  EXPECT_NE(m.find("7"), std::string::npos) << m;
  EXPECT_NE(m.find("ﾚﾍﾞﾙ2"), std::string::npos) << m;
  EXPECT_NE(m.find("時間切れ"), std::string::npos) << m;
}

TEST_F(RecordsFixture, DamagedRecordsAreLeftOutOfEveryFigureAndToldOnce) {
  const double today = Today();
  ResultRecord badTime = Rec(today, 3, 1, 5);
  badTime.runTime = 1.5;
  Write({Rec(today, 3, 1, 40), Rec(std::nan(""), 3, 1, 5), Rec(1e300, 3, 1, 5),
         Rec(MakeDate(1899, 12, 31), 3, 1, 5), badTime, Rec(today, 3, 1, -4),
         Rec(today, 3, 1, 100000), Rec(today, 3, 1, 45)});
  RebuildStatistics(*state_, fake_.services);
  EXPECT_EQ(state_->stats.resultEntryCount, 2);
  EXPECT_EQ(state_->stats.bestTime(1, 3), 40) << "no damaged record lowers a best time";
  EXPECT_EQ(state_->stats.totalRuns(1, 3), 2);
  ASSERT_EQ(fake_.host.messages.size(), 1U);
  EXPECT_EQ(fake_.host.messages[0],
            "注意|成績ファイルの記録番号 2 は壊れているため（日付が数ではありません）、集計から除き"
            "ました。詳しくは numora-data check で確かめてください。");
  EXPECT_TRUE(fake_.host.endedWith.empty());
  RebuildStatistics(*state_, fake_.services);
  EXPECT_EQ(fake_.host.messages.size(), 1U) << "told once per program run";
}

TEST_F(RecordsFixture, AbsurdStandardsSaturateInsteadOfWrappingRound) {
  LevelStandard& one = state_->catalogue.standards[1];
  struct Case {
    float multiplier;
    int32_t target;
    int32_t points;
  } cases[] = {
      {1e9F, 60, INT32_MAX},
      {-1e9F, 60, INT32_MIN},
      {std::numeric_limits<float>::infinity(), 60, INT32_MAX},
      {std::numeric_limits<float>::quiet_NaN(), 60, 0},
      {1, INT32_MAX, 54},
  };
  for (const Case& c : cases) {
    one.pointMultiplier = c.multiplier;
    one.targetTime = c.target;
    EXPECT_EQ(RunPoints(state_->catalogue, 1, 30), c.points) << c.multiplier;
  }
  // Sums of saturated points stop at the largest value instead of turning negative.
  one.pointMultiplier = 1e9F;
  one.targetTime = 60;
  Write({Rec(Today(), 3, 1, 30), Rec(Today(), 3, 1, 31), Rec(Today(), 3, 1, 32)});
  RebuildStatistics(*state_, fake_.services);
  EXPECT_EQ(state_->stats.totalPoints(1, 3), INT32_MAX);
  EXPECT_EQ(state_->stats.todayPoints(1, 3), INT32_MAX);
  EXPECT_EQ(state_->stats.recentPoints(1, 3), INT32_MAX);
}

#ifndef _WIN32
// Named pipes (FIFOs) in a folder exist on POSIX systems only.
TEST_F(RecordsFixture, PipeInPlaceOfTheResultsFileEndsTheScanAtOnceWithAPlainSentence) {
  ASSERT_EQ(::mkfifo(ResultsFilePath(state_->installation).c_str(), 0600), 0);
  RebuildStatistics(*state_, fake_.services);
  EXPECT_EQ(fake_.host.waited, 0) << "nothing to wait for";
  ASSERT_EQ(fake_.host.messages.size(), 1U);
  EXPECT_EQ(fake_.host.messages[0].rfind(
                "注意|成績ファイル「成績累積データ.dat」を読めないため、プログラムを終了します（"
                "ファイルではありません",
                0),
            0U)
      << fake_.host.messages[0];
  EXPECT_EQ(fake_.host.endedWith.size(), 1U);
}
#endif

TEST_F(RecordsFixture, ErrorsThatWaitingCannotMendAreReportedWithoutWaiting) {
  // A missing folder and a folder in place of the file: no retry, a plain reason and the path.
  struct Case {
    std::string path;
    const char* reason;
  } cases[] = {
#ifdef _WIN32
      {(folder_ / "missing" / "成績累積データ.dat").string(), "フォルダが見つかりません"},
      {folder_.string(), "ファイルではありません"},
#else
      {(folder_ / "missing" / "成績累積データ.dat").string(),
       "ファイルまたはフォルダが見つかりません"},
      {folder_.string(), "フォルダです"},
#endif
  };
  for (const Case& c : cases) {
    FakeServices fake;
    std::string error;
    EXPECT_FALSE(AppendRecordToFile(c.path, fake.services, Rec(Today(), 3, 1, 40), error));
    EXPECT_EQ(fake.host.waited, 0) << c.path;
    EXPECT_NE(error.find(std::string("に書き込めません（") + c.reason), std::string::npos) << error;
    EXPECT_NE(error.find("確かめてください"), std::string::npos) << error;
    EXPECT_EQ(error.find("他のコンピュータ"), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace numora
