// The results browser's lines, the edit panel's figures and input checks, and the corrections on a
// results file written into a temporary folder: change in place, delete, the refusal of a record
// that changed since it was shown, and the correction log.

#include "core/admin/results_browser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/admin/correction_log.h"
#include "core/installation/app_state.h"
#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/utf8_text.h"
#include "core/roster/roster.h"
#include "core/roster/roster_test_support.h"
#include "support/fakes.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

ResultRecord StoredRun(int pupil, int level, int seconds, const char* code = "12345", int day = 9,
                       int hour = 10) {
  ResultRecord r;
  r.runDate = MakeDate(2026, 12, day);
  r.runTime = MakeDateTime(1899, 12, 30, hour, 11, 12);
  r.pupilNumber = static_cast<int16_t>(pupil);
  r.level = static_cast<int16_t>(level);
  r.seconds = seconds;
  std::memcpy(r.schoolCode.data(), code, 5);
  return r;
}

// A state with a school and three roster names, without any file.
std::unique_ptr<AppState> SchoolState(const char* code = "12345") {
  auto state = std::make_unique<AppState>();
  state->installation.schoolCode = code;
  state->installation.schoolName = "ヌモラ塾";
  state->roster.names[3] = RosterText("山田太郎");
  state->roster.grades[3] = "小３";
  state->roster.names[12] = RosterText("あいうえおかきくけこさしすせそ");
  state->roster.grades[12] = "中１";
  state->roster.names[4] = RosterText("佐藤花子");
  state->roster.grades[4] = "小５";
  return state;
}

struct LineCase {
  const char* what;
  const char* installationCode;
  uint32_t number;
  uint32_t recordCount;
  ResultRecord record;
  const char* expected;
};

class BrowserLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(BrowserLineTest, BuildsThePiecesInOrder) {
  const LineCase& c = GetParam();
  const auto state = SchoolState(c.installationCode);
  EXPECT_EQ(BrowserLineText(state->installation, state->roster, c.number, c.recordCount, c.record),
            c.expected)
      << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrowserLineTest,
    ::testing::Values(
        LineCase{"own school", "12345", 1, 5, StoredRun(3, 2, 46),
                 "   1 2026/12/09　 10:11:12ﾚﾍﾞﾙ2　   46秒 　   3 山田太郎   小３++ヌモラ塾"},
        LineCase{"another school's code", "12345", 2, 5, StoredRun(3, 2, 46, "54321"),
                 "   2 2026/12/09　 10:11:12ﾚﾍﾞﾙ2　   46秒 　   3 山田太郎   小３++他塾"},
        LineCase{"a record without code", "12345", 2, 5, StoredRun(3, 2, 46, "     "),
                 "   2 2026/12/09　 10:11:12ﾚﾍﾞﾙ2　   46秒 　   3 山田太郎   小３++他塾"},
        LineCase{"an installation without code", "", 2, 5, StoredRun(3, 2, 46, "     "),
                 "   2 2026/12/09　 10:11:12ﾚﾍﾞﾙ2　   46秒 　   3 山田太郎   小３++他塾"},
        LineCase{"pupil without roster entry", "12345", 3, 5, StoredRun(77, 1, 5),
                 "   3 2026/12/09　 10:11:12ﾚﾍﾞﾙ1　    5秒 　  77 　　　　　 ++ヌモラ塾"},
        LineCase{"pupil number outside the roster's range", "12345", 3, 5, StoredRun(-7, 1, 5),
                 "   3 2026/12/09　 10:11:12ﾚﾍﾞﾙ1　    5秒 　  -7 　　　　　 ++ヌモラ塾"},
        LineCase{"long name cut to six characters", "12345", 4, 5,
                 StoredRun(12, 4, 123, "12345", 1, 9),
                 "   4 2026/12/01　 09:11:12ﾚﾍﾞﾙ4　  123秒 　  12 あいうえおか 中１++ヌモラ塾"},
        LineCase{"time-out", "12345", 5, 5, StoredRun(4, 3, 99999),
                 "   5 2026/12/09　 10:11:12ﾚﾍﾞﾙ3　99999秒 　   4 佐藤花子   小５++ヌモラ塾"},
        LineCase{"more than five digits keeps the last five", "12345", 5, 5,
                 StoredRun(4, 3, 123456),
                 "   5 2026/12/09　 10:11:12ﾚﾍﾞﾙ3　23456秒 　   4 佐藤花子   小５++ヌモラ塾"},
        LineCase{"five-digit record number", "12345", 12345, 12345, StoredRun(4, 3, 40),
                 "12345 2026/12/09　 10:11:12ﾚﾍﾞﾙ3　   40秒 　   4 佐藤花子   小５++ヌモラ塾"},
        LineCase{"small number in a file of five-digit numbers", "12345", 7, 10000,
                 StoredRun(4, 3, 40),
                 "    7 2026/12/09　 10:11:12ﾚﾍﾞﾙ3　   40秒 　   4 佐藤花子   小５++ヌモラ塾"}));

TEST(BrowserLines, RecordNumberWidthKeepsTextOrderAsRecordOrder) {
  EXPECT_EQ(RecordNumberWidth(0), 4);
  EXPECT_EQ(RecordNumberWidth(9999), 4);
  EXPECT_EQ(RecordNumberWidth(10000), 5);
  EXPECT_EQ(RecordNumberWidth(123456), 6);
  const auto state = SchoolState();
  std::vector<std::string> lines;
  for (uint32_t n : {9u, 10u, 9999u, 10000u, 10001u}) {
    lines.push_back(
        BrowserLineText(state->installation, state->roster, n, 10001, StoredRun(3, 1, 30)));
  }
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
}

TEST(BrowserLines, SkipLevelZeroAndKeepRecordOrder) {
  const auto state = SchoolState();
  struct Case {
    std::vector<int> levels;
    std::vector<uint32_t> shown;
  };
  for (const Case& c : {Case{{0, 0, 0}, {}}, Case{{1, 0, 2, 0, 3}, {1, 3, 5}}, Case{{2, 2}, {1, 2}},
                        Case{{}, {}}}) {
    std::vector<unsigned char> bytes(c.levels.size() * kResultRecordSize);
    for (size_t i = 0; i < c.levels.size(); ++i) {
      EncodeResultRecord(StoredRun(3, c.levels[i], static_cast<int>(i)),
                         bytes.data() + i * kResultRecordSize);
    }
    BrowserList list;
    BuildBrowserLines(state->installation, state->roster, bytes.data(),
                      static_cast<uint32_t>(c.levels.size()), list);
    EXPECT_EQ(list.recordNumbers, c.shown);
    ASSERT_EQ(list.lines.size(), c.shown.size());
    for (size_t i = 0; i < c.shown.size(); ++i) {
      EXPECT_EQ(list.lines[i].substr(0, 4), AlignRight(std::to_string(c.shown[i]), 4));
      EXPECT_EQ(list.records[i].seconds, static_cast<int>(c.shown[i] - 1));
    }
  }
}

TEST(BrowserLines, SelectionAfterDeletionAndChange) {
  BrowserList list;
  list.recordNumbers = {1, 2, 4, 5, 7};
  struct Case {
    uint32_t deleted;
    size_t line;
  };
  // The record that followed now carries the deleted number; after the last, the last line.
  for (const Case& c : {Case{1, 0}, Case{3, 2}, Case{4, 2}, Case{6, 4}, Case{7, 4}, Case{8, 4}}) {
    EXPECT_EQ(list.LineAfterDeletion(c.deleted), c.line) << c.deleted;
  }
  EXPECT_EQ(list.LineOfRecord(4), 2u);
  EXPECT_EQ(list.LineOfRecord(3), std::string::npos);
  EXPECT_EQ(BrowserList{}.LineAfterDeletion(1), std::string::npos);
}

TEST(BrowserEditPanel, FiguresAndTheScrollBarRange) {
  const auto state = SchoolState();
  struct Case {
    int seconds;
    const char* text;
    int scroll;
  };
  for (const Case& c : {Case{45, "45", 45}, Case{6000, "6000", 6000}, Case{99999, "99999", 6000},
                        Case{-5, "-5", 0}}) {
    const EditPanelFigures f = DescribeForEdit(state->roster, 17, StoredRun(3, 2, c.seconds));
    EXPECT_EQ(f.timeText, c.text);
    EXPECT_EQ(f.scrollValue, c.scroll);
    EXPECT_EQ(f.recordNumber, "17");
    EXPECT_EQ(f.levelText, "ﾚﾍﾞﾙ2");
    EXPECT_EQ(f.dateText, "2026/12/09");
    EXPECT_EQ(f.gradeText, "小３");
    EXPECT_EQ(f.chooserText, "3 /  " + RosterText("山田太郎"));
  }
  EXPECT_EQ(DescribeForEdit(state->roster, 1, StoredRun(77, 1, 5)).gradeText, "");
  EXPECT_EQ(GradeOfChooserText(state->roster, "4 /  佐藤花子"), "小５");
  EXPECT_EQ(GradeOfChooserText(state->roster, "佐藤花子"), "");
  EXPECT_EQ(GradeOfChooserText(state->roster, "9999 / x"), "");
}

struct ParseCase {
  const char* chooser;
  const char* time;
  bool ok;
  int pupil;
  int seconds;
};

class CorrectionInputTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CorrectionInputTest, AcceptsOrExplainsInJapanese) {
  const ParseCase& c = GetParam();
  int16_t pupil = -1;
  int32_t seconds = -1;
  std::string message;
  ASSERT_EQ(ParseCorrection(c.chooser, c.time, pupil, seconds, message), c.ok)
      << c.chooser << " " << c.time << " " << message;
  if (c.ok) {
    EXPECT_EQ(pupil, c.pupil);
    EXPECT_EQ(seconds, c.seconds);
    EXPECT_TRUE(message.empty());
  } else {
    EXPECT_NE(message.find("何も書き換えていません"), std::string::npos) << message;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CorrectionInputTest,
    ::testing::Values(
        ParseCase{"3 /  山田太郎", "45.6", true, 3, 46},
        ParseCase{"3 /  山田太郎", "45.4", true, 3, 45}, ParseCase{"12/", " 40 ", true, 12, 40},
        ParseCase{"５０００ /  x", "４５．６", true, 5000, 46},
        ParseCase{"1 / a/b", "99999", true, 1, 99999}, ParseCase{"1 / x", "0", true, 1, 0},
        ParseCase{"山田太郎", "40", false, 0, 0}, ParseCase{"", "40", false, 0, 0},
        ParseCase{"0 / x", "40", false, 0, 0}, ParseCase{"5001 / x", "40", false, 0, 0},
        ParseCase{"3.5 / x", "40", false, 0, 0}, ParseCase{"abc / x", "40", false, 0, 0},
        ParseCase{"3 / x", "abc", false, 0, 0}, ParseCase{"3 / x", "", false, 0, 0},
        ParseCase{"3 / x", "4 5", false, 0, 0}, ParseCase{"3 / x", "-1", false, 0, 0},
        ParseCase{"3 / x", "100000", false, 0, 0}, ParseCase{"3 / x", "1e3", false, 0, 0}));

// A data folder with a results file and a roster in a temporary folder.
class BrowserFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<testing::RosterFolder>();
    state_ = std::move(folder_->state);
    state_->installation.dataFolder = PathText(folder_->root) + "/";
    state_->installation.schoolCode = "12345";
    state_->installation.schoolName = "ヌモラ塾";
    folder_->WriteRoster(testing::RosterLine(3, 2017, "山田太郎") +
                         testing::RosterLine(4, 2015, "佐藤花子") +
                         testing::RosterLine(9, 2012, "卒業生", 1));
  }

  std::string ResultsPath() const { return ResultsFilePath(state_->installation); }
  void WriteRecords(const std::vector<ResultRecord>& records) {
    std::string bytes(records.size() * kResultRecordSize, '\0');
    for (size_t i = 0; i < records.size(); ++i) {
      EncodeResultRecord(records[i],
                         reinterpret_cast<unsigned char*>(bytes.data()) + i * kResultRecordSize);
    }
    ASSERT_TRUE(WriteWholeFile(ResultsPath(), bytes));
  }
  std::string FileBytes(const std::string& path) const {
    std::ifstream in(fs::path(std::u8string(path.begin(), path.end())), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<int> SecondsOnDisk() const {
    const std::string bytes = FileBytes(ResultsPath());
    std::vector<int> out;
    for (size_t i = 0; i + kResultRecordSize <= bytes.size(); i += kResultRecordSize) {
      out.push_back(
          DecodeResultRecord(reinterpret_cast<const unsigned char*>(bytes.data()) + i).seconds);
    }
    return out;
  }
  std::vector<std::string> LogLines() const {
    std::string text;
    bool exists = false;
    std::string error;
    EXPECT_TRUE(ReadCorrectionLog(state_->installation, text, exists, error)) << error;
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1) {
      lines.push_back(text.substr(from, at - from));
    }
    return lines;
  }
  // Five runs of pupil 3 with seconds 10, 20, …, 50; odd spare bytes to see they are kept.
  std::vector<ResultRecord> FiveRuns() {
    std::vector<ResultRecord> runs;
    for (int i = 1; i <= 5; ++i) {
      ResultRecord r = StoredRun(3, 1 + i % 3, 10 * i);
      r.spareText = {'s', 'p', static_cast<char>('0' + i), ' ', 'x'};
      r.reservedText = {1, 2, 3, 4, static_cast<char>(i)};
      runs.push_back(r);
    }
    return runs;
  }

  std::unique_ptr<testing::RosterFolder> folder_;
  std::unique_ptr<AppState> state_;
  FakeServices fake_;
};

TEST_F(BrowserFileTest, ListReadsTheRosterAndEveryRecord) {
  WriteRecords({StoredRun(3, 1, 40), StoredRun(9, 0, 1), StoredRun(4, 2, 35, "99999")});
  const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
  EXPECT_EQ(list.notice, "");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list.lines[0],
            "   1 2026/12/09　 10:11:12ﾚﾍﾞﾙ1　   40秒 　   3 山田太郎   小３++ヌモラ塾");
  EXPECT_EQ(list.lines[1], "   3 2026/12/09　 10:11:12ﾚﾍﾞﾙ2　   35秒 　   4 佐藤花子   小５++他塾");
  // Every pupil of the roster can be chosen, also one no longer listed.
  EXPECT_EQ(list.chooserItems, (std::vector<std::string>{"3 /  " + RosterText("山田太郎"),
                                                         "4 /  " + RosterText("佐藤花子"),
                                                         "9 /  " + RosterText("卒業生")}));
}

TEST_F(BrowserFileTest, MissingResultsFileGivesAnEmptyListAndANotice) {
  const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
  EXPECT_EQ(list.size(), 0u);
  EXPECT_NE(list.notice.find("成績のファイルがまだありません"), std::string::npos);
  EXPECT_NE(list.notice.find(ResultsPath()), std::string::npos);
  EXPECT_FALSE(fs::exists(fs::u8path(ResultsPath())));
}

TEST_F(BrowserFileTest, LeftOverSafetyCopyIsTold) {
  WriteRecords(FiveRuns());
  ASSERT_TRUE(
      WriteWholeFile(ResultsSafetyCopyPath(state_->installation), FileBytes(ResultsPath())));
  const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
  EXPECT_EQ(list.size(), 5u);
  EXPECT_NE(list.notice.find("成績累積データtemp.dat"), std::string::npos);
}

TEST_F(BrowserFileTest, ChangeWritesPupilAndRoundedTimeAndKeepsEveryOtherByte) {
  WriteRecords(FiveRuns());
  const std::string before = FileBytes(ResultsPath());
  const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
  uint32_t n = 0;
  ResultRecord buffer;
  ASSERT_EQ(OpenBrowserRecord(state_->installation, fake_.services, list, 1, n, buffer).outcome,
            BrowserOutcome::kDone);
  ASSERT_EQ(n, 2u);
  int16_t pupil = 0;
  int32_t seconds = 0;
  std::string message;
  ASSERT_TRUE(ParseCorrection("4 /  佐藤花子", "45.6", pupil, seconds, message));
  fake_.clock.Set(2026, 12, 10, 14, 5, 3);
  const BrowserResult result =
      ChangeBrowserRecord(state_->installation, fake_.services, n, buffer, pupil, seconds);
  ASSERT_EQ(result.outcome, BrowserOutcome::kDone) << result.message;
  EXPECT_EQ(result.message, "");

  const std::string after = FileBytes(ResultsPath());
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    const size_t inRecord = i % kResultRecordSize;
    const bool changedField = i / kResultRecordSize == 1 && ((inRecord >= 16 && inRecord < 18) ||
                                                             (inRecord >= 20 && inRecord < 24));
    if (!changedField) {
      EXPECT_EQ(after[i], before[i]) << "byte " << i;
    }
  }
  const ResultRecord stored =
      DecodeResultRecord(reinterpret_cast<const unsigned char*>(after.data()) + kResultRecordSize);
  EXPECT_EQ(stored.pupilNumber, 4);
  EXPECT_EQ(stored.seconds, 46);
  EXPECT_EQ(LogLines(),
            (std::vector<std::string>{
                "2026/12/10 14:05:03　変更　記録 2　前 2026/12/09 10:11:12 ﾚﾍﾞﾙ3 番号 "
                "3 20秒 学校 12345　後 2026/12/09 10:11:12 ﾚﾍﾞﾙ3 番号 4 46秒 学校 12345"}));
  // The log is CP932 with CR LF.
  const std::string raw = FileBytes(CorrectionLogPath(state_->installation));
  EXPECT_EQ(raw.substr(raw.size() - 2), "\r\n");
  EXPECT_EQ(Cp932ToUtf8(raw).substr(0, 10), "2026/12/10");
}

TEST_F(BrowserFileTest, TimeOutStoredBackStaysTimeOut) {
  WriteRecords({StoredRun(3, 1, 99999)});
  const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
  uint32_t n = 0;
  ResultRecord buffer;
  ASSERT_EQ(OpenBrowserRecord(state_->installation, fake_.services, list, 0, n, buffer).outcome,
            BrowserOutcome::kDone);
  const EditPanelFigures f = DescribeForEdit(state_->roster, n, buffer);
  int16_t pupil = 0;
  int32_t seconds = 0;
  std::string message;
  ASSERT_TRUE(ParseCorrection(f.chooserText, f.timeText, pupil, seconds, message));
  ASSERT_EQ(
      ChangeBrowserRecord(state_->installation, fake_.services, n, buffer, pupil, seconds).outcome,
      BrowserOutcome::kDone);
  EXPECT_EQ(SecondsOnDisk(), std::vector<int>{99999});
}

TEST_F(BrowserFileTest, DeleteRenumbersAndSelectsTheFollowingRecord) {
  struct Case {
    uint32_t deleted;
    std::vector<int> left;
    size_t selected;  // line selected afterwards
    int selectedSeconds;
  };
  for (const Case& c : {Case{3, {10, 20, 40, 50}, 2, 40}, Case{5, {10, 20, 30, 40}, 3, 40},
                        Case{1, {20, 30, 40, 50}, 0, 20}}) {
    WriteRecords(FiveRuns());
    fs::remove(fs::u8path(CorrectionLogPath(state_->installation)));
    const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
    uint32_t n = 0;
    ResultRecord buffer;
    ASSERT_EQ(OpenBrowserRecord(state_->installation, fake_.services, list,
                                list.LineOfRecord(c.deleted), n, buffer)
                  .outcome,
              BrowserOutcome::kDone);
    const BrowserResult result =
        DeleteBrowserRecord(state_->installation, fake_.services, n, buffer);
    ASSERT_EQ(result.outcome, BrowserOutcome::kDone) << result.message;
    EXPECT_EQ(SecondsOnDisk(), c.left);
    const BrowserList rebuilt =
        BuildBrowserList(state_->installation, state_->roster, fake_.services);
    const size_t line = rebuilt.LineAfterDeletion(n);
    EXPECT_EQ(line, c.selected);
    EXPECT_EQ(rebuilt.records[line].seconds, c.selectedSeconds);
    EXPECT_EQ(rebuilt.recordNumbers, (std::vector<uint32_t>{1, 2, 3, 4}));
    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_NE(LogLines()[0].find("　消去　記録 " + std::to_string(c.deleted) +
                                 "　2026/12/09 "
                                 "10:11:12"),
              std::string::npos)
        << LogLines()[0];
    EXPECT_FALSE(fs::exists(fs::u8path(ResultsSafetyCopyPath(state_->installation))));
  }
}

TEST_F(BrowserFileTest, RecordChangedSinceShownIsRefusedAndNothingWritten) {
  // Another computer's correction after the list was built: record 1 deleted (every later
  // record moves up) or record 3 changed in place.
  enum class Meanwhile { kDeletedBefore, kChangedInPlace, kDeletedItself };
  for (Meanwhile meanwhile :
       {Meanwhile::kDeletedBefore, Meanwhile::kChangedInPlace, Meanwhile::kDeletedItself}) {
    WriteRecords(FiveRuns());
    fs::remove(fs::u8path(CorrectionLogPath(state_->installation)));
    const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
    const size_t line = list.LineOfRecord(3);
    uint32_t n = 0;
    ResultRecord buffer;
    ASSERT_EQ(
        OpenBrowserRecord(state_->installation, fake_.services, list, line, n, buffer).outcome,
        BrowserOutcome::kDone);
    std::string error;
    switch (meanwhile) {
      case Meanwhile::kDeletedBefore:
        ASSERT_TRUE(DeleteResultRecord(state_->installation, fake_.services, 1, error)) << error;
        break;
      case Meanwhile::kChangedInPlace: {
        ResultRecord other = buffer;
        other.seconds = 31;
        ASSERT_TRUE(RewriteResultRecord(state_->installation, fake_.services, 3, other, error))
            << error;
        break;
      }
      case Meanwhile::kDeletedItself:
        ASSERT_TRUE(DeleteResultRecord(state_->installation, fake_.services, 3, error)) << error;
        ASSERT_TRUE(DeleteResultRecord(state_->installation, fake_.services, 3, error)) << error;
        ASSERT_TRUE(DeleteResultRecord(state_->installation, fake_.services, 3, error)) << error;
        break;
    }
    const std::string before = FileBytes(ResultsPath());
    const BrowserResult change =
        ChangeBrowserRecord(state_->installation, fake_.services, n, buffer, 4, 46);
    EXPECT_EQ(change.outcome, BrowserOutcome::kStale);
    EXPECT_NE(change.message.find("記録 3 は、一覧を作った後で変わりました"), std::string::npos)
        << change.message;
    const BrowserResult del = DeleteBrowserRecord(state_->installation, fake_.services, n, buffer);
    EXPECT_EQ(del.outcome, BrowserOutcome::kStale) << del.message;
    uint32_t reopened = 0;
    ResultRecord again;
    EXPECT_EQ(OpenBrowserRecord(state_->installation, fake_.services, list, line, reopened, again)
                  .outcome,
              BrowserOutcome::kStale);
    EXPECT_EQ(FileBytes(ResultsPath()), before);
    EXPECT_TRUE(LogLines().empty());
  }
}

TEST_F(BrowserFileTest, CsvOpensInASpreadsheet) {
  WriteRecords({StoredRun(3, 1, 40), StoredRun(77, 2, 99999, "     ")});
  state_->installation.schoolName = "ヌモラ塾, 本校";
  const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
  EXPECT_EQ(BrowserCsv(state_->installation, state_->roster, list),
            "\xEF\xBB\xBF記録番号,日付,時刻,レベル,秒,番号,名前,学年,学校\r\n"
            "1,2026/12/09,10:11:12,1,40,3,山田太郎,小３,\"ヌモラ塾, 本校\"\r\n"
            "2,2026/12/09,10:11:12,2,99999,77,,,他塾\r\n");
  EXPECT_EQ(BrowserPrintText(list), std::string(list.lines[0]) + "\n" + std::string(list.lines[1]));
}

TEST_F(BrowserFileTest, UnwritableLogIsReportedButTheCorrectionStands) {
  WriteRecords(FiveRuns());
  fs::create_directories(
      fs::u8path(CorrectionLogPath(state_->installation)));  // a folder in its place
  const BrowserList list = BuildBrowserList(state_->installation, state_->roster, fake_.services);
  uint32_t n = 0;
  ResultRecord buffer;
  ASSERT_EQ(OpenBrowserRecord(state_->installation, fake_.services, list, 0, n, buffer).outcome,
            BrowserOutcome::kDone);
  const BrowserResult result =
      ChangeBrowserRecord(state_->installation, fake_.services, n, buffer, 4, 12);
  EXPECT_EQ(result.outcome, BrowserOutcome::kDone);
  EXPECT_NE(result.message.find("修正記録に書き込めませんでした"), std::string::npos);
  EXPECT_NE(result.message.find(CorrectionLogPath(state_->installation)), std::string::npos);
  EXPECT_EQ(SecondsOnDisk()[0], 12);
}

}  // namespace
}  // namespace numora
