// The results commands of numora-data, the results check and the demo history, on a demo
// installation written into a temporary folder.

#include "cli/data_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/installation/demo_history.h"
#include "core/installation/demo_installation.h"
#include "core/installation/installation.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/records/results_check.h"
#include "core/records/results_file.h"
#include "core/roster/roster.h"
#include "support/demo_command_test.h"
#include "support/fakes.h"
#include "support/platform.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

class ResultsCommandsTest : public testing::DemoCommandTest {};

TEST_F(ResultsCommandsTest, AppendStoresTheRunAndRefusesBadInput) {
  ASSERT_EQ(Run(RunAppendCommand, {"--pupil", "12", "--level", "3", "--seconds", "47", "--date",
                                   "2026-12-09", "--time", "10:30:15"}),
            0)
      << err_.str();
  EXPECT_NE(out_.str().find("記録番号 1"), std::string::npos) << out_.str();
  ASSERT_EQ(Run(RunAppendCommand, {"--pupil", "5000", "--level", "1", "--seconds", "99999"}), 0)
      << err_.str();
  const auto records = Records();
  ASSERT_EQ(records.size(), 2U);
  EXPECT_EQ(records[0].pupilNumber, 12);
  EXPECT_EQ(records[0].level, 3);
  EXPECT_EQ(records[0].seconds, 47);
  EXPECT_DOUBLE_EQ(records[0].runDate, MakeDate(2026, 12, 9));
  EXPECT_EQ(FormatTimeOfDay(records[0].runTime), "10:30:15");
  EXPECT_EQ(records[0].schoolCode, MakeTextField(state_->installation.schoolCode));
  EXPECT_EQ(records[1].seconds, 99999);

  const std::vector<DataCommandArgs> bad = {
      {"--pupil", "0", "--level", "1", "--seconds", "30"},
      {"--pupil", "5001", "--level", "1", "--seconds", "30"},
      {"--pupil", "abc", "--level", "1", "--seconds", "30"},
      {"--pupil", "3", "--level", "36", "--seconds", "30"},
      {"--pupil", "3", "--level", "1", "--seconds", "-1"},
      {"--pupil", "3", "--level", "1", "--seconds", "4.5"},
      {"--pupil", "3", "--level", "1"},
      {"--pupil", "3", "--level", "1", "--seconds", "30", "--date", "2026-02-30"},
      {"--pupil", "3", "--level", "1", "--seconds", "30", "--time", "25:00:00"},
  };
  for (const auto& args : bad) {
    EXPECT_EQ(Run(RunAppendCommand, args), 2) << args[1] << " " << args[3];
    EXPECT_FALSE(err_.str().empty());
  }
  EXPECT_EQ(Records().size(), 2U) << "nothing stored for bad input";
  out_.str("");
  EXPECT_EQ(RunAppendCommand({"--pupil", "3", "--level", "1", "--seconds", "30"}, out_, err_), 2);
}

TEST_F(ResultsCommandsTest, StatsPrintsTheRebuiltTablesInLevelAndPupilOrder) {
  for (auto [pupil, level, seconds, date] :
       std::vector<std::tuple<const char*, const char*, const char*, const char*>>{
           {"7", "2", "47", "2026-12-10"},
           {"7", "2", "48", "2026-12-10"},
           {"7", "2", "99999", "2026-12-10"},
           {"3", "2", "40", "2026-12-01"},
           {"3", "1", "50", "2026-11-01"}}) {
    ASSERT_EQ(Run(RunAppendCommand, {"--pupil", pupil, "--level", level, "--seconds", seconds,
                                     "--date", date, "--time", "09:00:00"}),
              0)
        << err_.str();
  }
  ASSERT_EQ(Run(RunStatsCommand, {"--today", "2026-12-10"}), 0) << err_.str();
  const auto lines = Lines(out_.str());
  ASSERT_EQ(lines.size(), 4U) << out_.str();
  EXPECT_EQ(lines[0],
            "level\tpupil\ttotalRuns\ttotalPoints\ttotalTimeSum\ttotalAverageTime\ttodayRuns\t"
            "todayPoints\ttodayTimeSum\ttodayAverageTime\trecentRuns\trecentPoints\t"
            "overPracticeWindowRuns\toverPracticeWindowPoints\tbestTime\tbestTimeAll");
  EXPECT_EQ(lines[1].rfind("1\t3\t1\t", 0), 0U) << lines[1];
  EXPECT_EQ(lines[2].rfind("2\t3\t1\t", 0), 0U) << lines[2];
  // Pupil 7 on level 2: 2 runs, time sum 47 + 48 + 999, today the same; best 47 of the level 40.
  std::vector<std::string> cells;
  std::stringstream row(lines[3]);
  for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
  ASSERT_EQ(cells.size(), 16U);
  EXPECT_EQ(cells[1], "7");
  EXPECT_EQ(cells[2], "2");
  EXPECT_EQ(cells[4], "1094");
  EXPECT_EQ(cells[5], "547");
  EXPECT_EQ(cells[6], "2");
  EXPECT_EQ(cells[8], "1094");
  EXPECT_EQ(cells[14], "47");
  EXPECT_EQ(cells[15], "40");

  // Another day: nothing of pupil 7 is today any more.
  ASSERT_EQ(Run(RunStatsCommand, {"--today", "2026-12-20"}), 0);
  EXPECT_NE(Lines(out_.str())[3].find("\t547\t0\t0\t0\t0\t"), std::string::npos)
      << Lines(out_.str())[3];
  EXPECT_EQ(Run(RunStatsCommand, {"--today", "20261220"}), 2);
}

TEST_F(ResultsCommandsTest, ExportWritesUtf8CsvWithBomAndCrLf) {
  ASSERT_EQ(Run(RunAppendCommand, {"--pupil", "12", "--level", "3", "--seconds", "47", "--date",
                                   "2026-12-09", "--time", "10:30:15"}),
            0);
  ASSERT_EQ(Run(RunAppendCommand, {"--pupil", "4", "--level", "1", "--seconds", "99999", "--date",
                                   "2026-12-10", "--time", "08:05:00"}),
            0);
  const fs::path csv = base_ / testing::NativePath("書き出し.csv");
  ASSERT_EQ(Run(RunExportCommand, {"--output", PathText(csv)}), 0) << err_.str();
  std::ifstream in(csv, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0U);
  const auto lines = Lines(text.substr(3), "\r\n");
  ASSERT_EQ(lines.size(), 3U) << text;
  EXPECT_EQ(lines[0], "記録番号,日付,時刻,番号,レベル,秒,学校コード");
  const std::string code = state_->installation.schoolCode;
  EXPECT_EQ(lines[1], "1,2026/12/09,10:30:15,12,3,47," + code);
  EXPECT_EQ(lines[2], "2,2026/12/10,08:05:00,4,1,時間切れ," + code);
  EXPECT_EQ(text.find("\n", 0), text.find("\r\n") + 1) << "no bare line feeds";

  ASSERT_EQ(Run(RunExportCommand, {}), 0);
  EXPECT_EQ(out_.str(), text);
}

TEST_F(ResultsCommandsTest, CheckReportsPartialTailRecordsOutsideTablesAndLeftOverCopy) {
  std::ostringstream report;
  EXPECT_TRUE(CheckResultsFile(state_->installation, report))
      << report.str();  // no file yet: all well
  EXPECT_EQ(report.str(), "");

  std::vector<ResultRecord> records(4);
  records[0].pupilNumber = 3;
  records[0].level = 1;
  records[1].pupilNumber = 5001;
  records[1].level = 1;
  records[2].pupilNumber = 3;
  records[2].level = 36;
  records[3].pupilNumber = 0;  // not kept by the scan, but fits the tables
  for (ResultRecord& r : records) r.runDate = MakeDate(2026, 12, 9);
  {
    std::ofstream out(testing::NativePath(ResultsFilePath(state_->installation)), std::ios::binary);
    for (const auto& r : records) {
      unsigned char bytes[kResultRecordSize];
      EncodeResultRecord(r, bytes);
      out.write(reinterpret_cast<const char*>(bytes), kResultRecordSize);
    }
    out << "half";
  }
  std::ofstream(testing::NativePath(ResultsSafetyCopyPath(state_->installation))) << "copy";
  report.str("");
  EXPECT_FALSE(CheckResultsFile(state_->installation, report));
  const std::string text = report.str();
  EXPECT_NE(text.find("180 バイトが 44 の倍数ではありません"), std::string::npos) << text;
  EXPECT_NE(text.find("記録番号 2 は番号 5001・ﾚﾍﾞﾙ1"), std::string::npos) << text;
  EXPECT_NE(text.find("記録番号 3 は番号 3・ﾚﾍﾞﾙ36"), std::string::npos) << text;
  EXPECT_EQ(text.find("記録番号 1 "), std::string::npos) << text;
  EXPECT_EQ(text.find("記録番号 4 "), std::string::npos) << text;
  EXPECT_NE(text.find(DetectInterruptedDelete(state_->installation)), std::string::npos) << text;
  EXPECT_FALSE(DetectInterruptedDelete(state_->installation).empty());
}

TEST_F(ResultsCommandsTest, DemoHistoryGivesMostListedPupilsWeeksOfRunsEndingToday) {
  const double today = MakeDate(2026, 12, 10);
  const double now = MakeDateTime(2026, 12, 10, 15, 0, 0);
  SeedDemoHistory(state_->installation, state_->catalogue, now);
  const auto records = Records();
  ASSERT_GT(records.size(), 200U);
  std::set<int> pupils;
  std::set<int> levels;
  int timeOuts = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    const ResultRecord& r = records[i];
    if (i > 0) {
      EXPECT_LE(records[i - 1].runDate + records[i - 1].runTime, r.runDate + r.runTime);
    }
    EXPECT_GE(r.runDate, today - 21);
    EXPECT_LE(r.runDate, today);
    EXPECT_GE(r.runTime, 0);
    EXPECT_LT(r.runTime, 1);
    EXPECT_GE(r.level, 1);
    EXPECT_LE(r.level, 4);
    EXPECT_NE(r.pupilNumber, 7) << "pupil 7 is not listed";
    EXPECT_LT(r.pupilNumber, 900) << "teachers have no runs";
    pupils.insert(r.pupilNumber);
    levels.insert(r.level);
    if (r.seconds == kTimeOutSeconds) ++timeOuts;
  }
  EXPECT_GE(pupils.size(), 25U);
  EXPECT_EQ(levels.size(), 4U);
  EXPECT_GT(timeOuts, 0);
  EXPECT_DOUBLE_EQ(records.back().runDate, today);

  // The same history every time.
  fs::remove(testing::NativePath(ResultsFilePath(state_->installation)));
  SeedDemoHistory(state_->installation, state_->catalogue, now);
  EXPECT_EQ(Records(), records);
}

TEST_F(ResultsCommandsTest, DemoHistoryEndsBeforeTheMomentItIsMadeAt) {
  const double today = MakeDate(2026, 12, 10);
  std::vector<ResultRecord> earlierDays;
  for (const double hour : {7.5, 10.25, 15.0, 23.75}) {
    const double now = today + hour / 24.0;
    fs::remove(testing::NativePath(ResultsFilePath(state_->installation)));
    SeedDemoHistory(state_->installation, state_->catalogue, now);
    std::vector<ResultRecord> before;
    int todays = 0;
    for (const ResultRecord& r : Records()) {
      EXPECT_LE(r.runDate + r.runTime, now) << hour << " h: a run later than the present";
      EXPECT_EQ(r.runTime, std::round(r.runTime * 86400.0) / 86400.0) << "whole seconds";
      if (r.runDate == today) {
        ++todays;
      } else {
        before.push_back(r);
      }
    }
    EXPECT_GE(todays, 10) << hour << " h: today's lists have runs to show";
    // Only today's runs depend on the time of day.
    if (earlierDays.empty()) {
      earlierDays = before;
    } else {
      EXPECT_EQ(before, earlierDays) << hour;
    }
  }
}

TEST_F(ResultsCommandsTest, DemoHistoryCoversThePupilsTheRosterReaderLists) {
  // Ten listed pupils; the reader leaves out birth years without four digits, an unlisted status
  // and a number beyond the tables, and the history leaves out the teacher.
  std::ofstream roster(testing::NativePath(RosterFilePath(state_->installation)),
                       std::ios::binary | std::ios::trunc);
  for (int p = 1; p <= 20; ++p) {
    roster << p << (p <= 10 ? ",2015" : ",99") << ",0,0,生徒" << p << ",0,,\r\n";
  }
  roster << "21,2015,0,0,生徒二十一,1,,\r\n6001,2015,0,0,生徒六千,0,,\r\n"
            "22,1980,0,0,山田先生,0,,\r\n";
  roster.close();
  SeedDemoHistory(state_->installation, state_->catalogue, MakeDateTime(2026, 12, 10, 15, 0, 0));
  std::set<int> pupils;
  for (const ResultRecord& r : Records()) {
    pupils.insert(r.pupilNumber);
  }
  ASSERT_FALSE(pupils.empty());
  EXPECT_LE(*pupils.rbegin(), 10) << "only listed pupils who are not teachers have runs";
}

}  // namespace
}  // namespace numora
