// numora-data against hostile command lines and installations: strict options, an export that
// never overwrites the installation and never leaves half a file, bounded reading of large
// results files, and what check reports about hand-edited files and damaged records.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_services.h"
#include "cli/data_commands.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/records/results_file.h"
#include "support/demo_command_test.h"

namespace numora {
namespace {

namespace fs = std::filesystem;
using Command = testing::DataCommand;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class HardeningTest : public testing::DemoCommandTest {
 protected:
  fs::path DataRoot() const { return fs::u8path(state_->installation.dataRootFolder); }
  fs::path ResultsPath() const { return fs::u8path(ResultsFilePath(state_->installation)); }
  void WriteRecords(const std::vector<ResultRecord>& records) {
    std::ofstream out(ResultsPath(), std::ios::binary | std::ios::trunc);
    for (const ResultRecord& r : records) {
      unsigned char bytes[kResultRecordSize];
      EncodeResultRecord(r, bytes);
      out.write(reinterpret_cast<const char*>(bytes), kResultRecordSize);
    }
  }
  static ResultRecord Rec(double date, double time, int pupil, int level, int32_t seconds) {
    ResultRecord r;
    r.runDate = date;
    r.runTime = time;
    r.pupilNumber = static_cast<int16_t>(pupil);
    r.level = static_cast<int16_t>(level);
    r.seconds = seconds;
    return r;
  }
  std::string Check() {
    Run(RunCheckCommand, {});
    return out_.str();
  }
};

TEST_F(HardeningTest, LooseCommandLinesAreRefusedWithUsageAndStatusTwo) {
  struct Case {
    Command command;
    DataCommandArgs args;
    const char* said;
  } cases[] = {
      {RunStatsCommand, {"--todya", "2026-12-10"}, "知らないオプションです: 「--todya」"},
      {RunStatsCommand, {"--today", "2026-12-10", "extra"}, "余分な語があります: 「extra」"},
      {RunStatsCommand, {"--today", "2026-12-10", "--today", "2026-12-11"}, "2回以上"},
      {RunStatsCommand, {"--today"}, "の値がありません"},
      {RunStatsCommand, {"--today", "--program-folder", "x"}, "の値がありません"},
      {RunStatsCommand, {"--today", "2026-+2-03"}, "YYYY-MM-DD"},
      {RunStatsCommand, {"--today", " 2026-12-10"}, "YYYY-MM-DD"},
      {RunStatsCommand, {"--today", "2026-12-1 "}, "YYYY-MM-DD"},
      {RunAppendCommand,
       {"--pupil", "3", "--level", "1", "--seconds", "30", "--time", " 9:00:00"},
       "HH:MM:SS"},
      {RunAppendCommand,
       {"--pupil", "3", "--level", "1", "--seconds", "30", "--time", "09:+0:00"},
       "HH:MM:SS"},
      {RunAppendCommand,
       {"--pupil", "3", "--level", "1", "--seconds", "30", "--date", "2026-12-10", "--date",
        "2026-12-09"},
       "2回以上"},
      {RunExportCommand, {"--output"}, "の値がありません"},
      {RunExportCommand, {"--out", "x.csv"}, "知らないオプションです"},
      {RunCheckCommand, {"stray"}, "余分な語があります"},
      {RunNameListCommand, {"--view", "1", "--refresh-program"}, "知らないオプションです"},
      {RunListsCommand,
       {"--pupil", "3", "--list", "best", "--now", "2026-12-10  09:00:00"},
       "YYYY-MM-DD HH:MM:SS"},
  };
  const std::string before = Slurp(ResultsPath());
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.command, c.args), 2) << c.args[0] << " " << c.said;
    EXPECT_NE(err_.str().find(c.said), std::string::npos) << err_.str();
    EXPECT_EQ(out_.str(), "") << c.said;
  }
  EXPECT_EQ(Slurp(ResultsPath()), before) << "nothing stored for a refused command line";

  // The usage line comes with a refused option; a long word is quoted cut to 200 characters.
  EXPECT_EQ(Run(RunStatsCommand, {"--" + std::string(500, 'x')}), 2);
  EXPECT_NE(err_.str().find("使い方: numora-data stats"), std::string::npos) << err_.str();
  EXPECT_EQ(err_.str().find(std::string(200, 'x')), std::string::npos);
  EXPECT_EQ(Run(RunDemoCommand, {"a", "b"}, false), 2);
  EXPECT_NE(err_.str().find("余分な語があります: 「b」"), std::string::npos) << err_.str();
}

TEST_F(HardeningTest, StrictDatesAndTimesAcceptOnlyTheirExactForm) {
  struct Case {
    const char* text;
    bool ok;
  } days[] = {{"2026-12-10", true},  {"2026-02-29", false}, {"2026-+2-03", false},
              {"+026-12-10", false}, {"2026-12-1x", false}, {"2026/12/10", false},
              {"1899-12-31", false}, {" 2026-1-10", false}};
  for (const Case& c : days) {
    double date = 0;
    EXPECT_EQ(ParseDayOption(c.text, date), c.ok) << c.text;
  }
  Case times[] = {{"09:00:00", true},  {"23:59:59", true},  {" 9:00:00", false},
                  {"24:00:00", false}, {"09:-1:00", false}, {"09:00:0 ", false}};
  for (const Case& c : times) {
    double fraction = 0;
    EXPECT_EQ(ParseTimeOfDayOption(c.text, fraction), c.ok) << c.text;
  }
}

TEST_F(HardeningTest, ExportRefusesEveryFileAndFolderOfTheInstallation) {
  ASSERT_EQ(Run(RunAppendCommand, {"--pupil", "3", "--level", "1", "--seconds", "30"}), 0);
  const fs::path results = ResultsPath();
  std::vector<fs::path> own = {
      results,
      DataRoot() / fs::u8path("新名簿.txt"),
      DataRoot() / fs::u8path("共通データ.txt"),
      DataRoot() / fs::u8path("音フォルダ") / fs::u8path("新音ファイル.txt"),
      fs::u8path(state_->installation.dataFolder) / fs::u8path("タイム回数データ.txt"),
      fs::u8path(state_->installation.dataFolder) / fs::u8path("成績累積データtemp.dat"),
      fs::u8path(programFolder_) / ".." / fs::u8path("パスデータ.txt"),
      fs::u8path(state_->installation.dataFolder) / ".." / "numora" /
          fs::u8path("成績累積データ.dat"),
      fs::u8path(programFolder_) / "numora",
      fs::u8path(state_->installation.dataFolder),
      DataRoot(),
      fs::u8path(programFolder_),
  };
#ifndef _WIN32
  // A symbolic link to the results file (Windows gives them to administrators only).
  fs::create_symlink(results, demo_->base() / "link.csv");
  own.push_back(demo_->base() / "link.csv");
#endif
  const std::string before = Slurp(results);
  for (const fs::path& target : own) {
    EXPECT_EQ(Run(RunExportCommand, {"--output", PathText(target)}), 2) << target;
    EXPECT_NE(err_.str().find("インストールのファイルまたはフォルダです"), std::string::npos)
        << err_.str();
  }
  EXPECT_EQ(Slurp(results), before);
  EXPECT_EQ(Slurp(DataRoot() / fs::u8path("新名簿.txt")).find("記録番号"), std::string::npos);
  // A new file beside the installation's own is fine.
  EXPECT_EQ(Run(RunExportCommand, {"--output", PathText(DataRoot() / fs::u8path("書き出し.csv"))}),
            0)
      << err_.str();
}

TEST_F(HardeningTest, ExportReplacesTheOutputWholeAndLeavesNothingBehindOnFailure) {
  ASSERT_EQ(Run(RunAppendCommand, {"--pupil", "3", "--level", "1", "--seconds", "30"}), 0);
  const fs::path output = demo_->base() / "out.csv";
  std::ofstream(output) << std::string(100000, 'z');
  ASSERT_EQ(Run(RunExportCommand, {"--output", PathText(output)}), 0) << err_.str();
  const std::string text = Slurp(output);
  EXPECT_EQ(text.find('z'), std::string::npos);
  EXPECT_NE(text.find("記録番号,日付"), std::string::npos);
  for (const auto& entry : fs::directory_iterator(demo_->base())) {
    EXPECT_NE(entry.path().extension(), ".tmp") << "temporary file left: " << entry.path();
  }
  // A folder that does not exist: nothing is written anywhere, the message says what to do.
  EXPECT_EQ(Run(RunExportCommand, {"--output", PathText(demo_->base() / "nofolder" / "a.csv")}), 1);
  EXPECT_NE(err_.str().find("書き込みの権限があるかを確かめてください"), std::string::npos)
      << err_.str();
  EXPECT_FALSE(fs::exists(demo_->base() / "nofolder"));
}

TEST_F(HardeningTest, ExportReadsLargeFilesPieceByPieceAndAppendNeverReadsThemWhole) {
  // More records than one piece holds: every one comes out once, in order.
  std::vector<ResultRecord> records;
  for (int i = 0; i < 9000; ++i) {
    records.push_back(Rec(MakeDate(2026, 12, 1) + i % 9, 0.5, 1 + i % 40, 1 + i % 4, 30 + i % 50));
  }
  WriteRecords(records);
  ASSERT_EQ(Run(RunExportCommand, {}), 0) << err_.str();
  const std::string csv = out_.str();
  size_t lines = 0;
  for (size_t at = 0; (at = csv.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 9001U);
  EXPECT_NE(csv.find("\r\n4097,"), std::string::npos);
  EXPECT_NE(csv.find("\r\n9000,"), std::string::npos);
  ASSERT_EQ(Run(RunAppendCommand, {"--pupil", "3", "--level", "1", "--seconds", "30"}), 0);
  EXPECT_NE(out_.str().find("記録番号 9001"), std::string::npos) << out_.str();
}

TEST_F(HardeningTest, CheckNamesUtf8FilesInvalidLinesAndTheSchoolYearMonth) {
  EXPECT_EQ(Check().find("UTF-8"), std::string::npos) << out_.str();
  const fs::path roster = DataRoot() / fs::u8path("新名簿.txt");
  const fs::path settings = DataRoot() / fs::u8path("共通データ.txt");
  const fs::path sounds = DataRoot() / fs::u8path("音フォルダ") / fs::u8path("新音ファイル.txt");
  // The roster saved by Notepad as UTF-8 with a mark, the sound table without one, and a line
  // of the settings with a byte that is not CP932.
  const std::string rosterText = Cp932ToUtf8(Slurp(roster));
  std::ofstream(roster, std::ios::binary) << "\xEF\xBB\xBF" << rosterText;
  const std::string soundText = Cp932ToUtf8(Slurp(sounds));
  std::ofstream(sounds, std::ios::binary) << soundText;
  std::string settingsBytes = Slurp(settings);
  settingsBytes.insert(settingsBytes.find("\r\n") + 2, "\x81\x0D\x0A");
  std::ofstream(settings, std::ios::binary) << settingsBytes;
  const std::string report = Check();
  EXPECT_NE(report.find("「新名簿.txt」は UTF-8（BOM 付き） で保存されています"), std::string::npos)
      << report;
  EXPECT_NE(report.find("「新音ファイル.txt」は UTF-8 で保存されています"), std::string::npos)
      << report;
  EXPECT_NE(report.find("「共通データ.txt」の 2行目に、Shift-JIS（CP932） として正しくない"),
            std::string::npos)
      << report;
  // The UTF-8 roster is still read correctly: its names reach the name list unchanged.
  AppState fresh;
  std::string error;
  ASSERT_TRUE(SetUpPathsAndSettings(fresh, programFolder_, error)) << error;
  EXPECT_EQ(out_.str().find("一覧に載りません"), std::string::npos);

  for (const char* month : {"13", "0", "abc", "4.5", ""}) {
    std::string bytes = Slurp(settings);
    bytes.replace(0, bytes.find("\r\n"), month);
    ASSERT_FALSE(bytes.empty());
    std::ofstream(settings, std::ios::binary) << bytes;
    EXPECT_NE(Check().find("学年の始まる月"), std::string::npos) << month << out_.str();
  }
}

TEST_F(HardeningTest, CheckReportsEmptyRostersDamagedRecordsAndLargeFiles) {
  const fs::path roster = DataRoot() / fs::u8path("新名簿.txt");
  std::ofstream(roster, std::ios::binary) << "";
  EXPECT_NE(Check().find("名簿に生徒が一人もいません"), std::string::npos) << out_.str();
  std::ofstream(roster, std::ios::binary) << "1,2015,0,0,a,1,,\r\n2,2015,0,0,b,3,,\r\n";
  EXPECT_NE(Check().find("名前の一覧に載る生徒が一人もいません"), std::string::npos) << out_.str();

  const double day = MakeDate(2026, 12, 9);
  WriteRecords({Rec(day, 0.5, 3, 1, 40), Rec(std::nan(""), 0.5, 3, 1, 40),
                Rec(1e300, 0.5, 3, 1, 40), Rec(day, 1.5, 3, 1, 40), Rec(day, 0.5, 3, 1, -4),
                Rec(day, 0.5, 3, 1, 100000), Rec(-2, 0.5, 3, 1, 40), Rec(0, 0, 3, 1, 40)});
  const std::string report = Check();
  for (const char* line :
       {"記録番号 2 は壊れているため集計から除いています（日付が数ではありません）",
        "記録番号 3 は壊れているため集計から除いています（日付が1900年～2200年",
        "記録番号 4 は壊れているため集計から除いています（時刻が1日の範囲",
        "記録番号 5 は壊れているため集計から除いています（秒数が0～99999",
        "記録番号 6 は壊れているため", "記録番号 8 は壊れているため"}) {
    EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
  }
  EXPECT_EQ(report.find("記録番号 1 "), std::string::npos) << report;
  EXPECT_EQ(report.find("記録番号 7 "), std::string::npos) << "a negative date is a marker";

  std::vector<ResultRecord> many(20005, Rec(day, 0.5, 3, 1, 40));
  WriteRecords(many);
  const std::string large = Check();
  EXPECT_NE(large.find("※ 成績ファイル「成績累積データ.dat」には 20005 件の記録があります。"
                       "ハブの集計に使われるのは新しい 20000 件（記録番号 6 から）だけです"),
            std::string::npos)
      << large;
}

#ifndef _WIN32
// Named pipes (FIFOs) in a folder exist on POSIX systems only.
TEST_F(HardeningTest, CheckAndCommandsNeverBlockOnAPipeOrFolderInPlaceOfAFile) {
  const fs::path results = ResultsPath();
  fs::remove(results);
  ASSERT_EQ(::mkfifo(results.c_str(), 0600), 0);
  EXPECT_NE(Check().find("成績ファイル「成績累積データ.dat」を開けません（ファイルではありません"),
            std::string::npos)
      << out_.str();
  EXPECT_EQ(Run(RunExportCommand, {}), 1);
  EXPECT_NE(err_.str().find("ファイルではありません"), std::string::npos) << err_.str();
  EXPECT_EQ(Run(RunAppendCommand, {"--pupil", "3", "--level", "1", "--seconds", "30"}), 1);
  EXPECT_NE(err_.str().find("ファイルではありません"), std::string::npos) << err_.str();
  fs::remove(results);

  // The roster as a folder and the sound table as a pipe: told at once, in Japanese.
  const fs::path roster = DataRoot() / fs::u8path("新名簿.txt");
  fs::remove(roster);
  fs::create_directory(roster);
  EXPECT_NE(Check().find("新名簿.txt: ファイルが見つからないか読めません（ファイルではありません"),
            std::string::npos)
      << out_.str();
  const fs::path sounds = DataRoot() / fs::u8path("音フォルダ") / fs::u8path("新音ファイル.txt");
  fs::remove(sounds);
  ASSERT_EQ(::mkfifo(sounds.c_str(), 0600), 0);
  EXPECT_NE(Check().find("「新音ファイル.txt」が見つからないか読めません（ファイルではありません"),
            std::string::npos)
      << out_.str();
  // A missing data folder: the first run could not be stored, and check says so.
  fs::remove(sounds);
}
#endif

}  // namespace
}  // namespace numora
