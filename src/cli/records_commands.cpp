// numora-data append, stats and export: the results file through the program's own core code.

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "cli/command_services.h"
#include "cli/data_commands.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/csv.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/services.h"
#include "core/platform/system_clock.h"
#include "core/platform/system_error.h"
#include "core/platform/value.h"
#include "core/records/results_file.h"
#include "core/records/results_stream.h"
#include "core/records/statistics.h"

namespace numora {

namespace {

#ifdef _WIN32
constexpr int kErrorMissingFile = 2;  // ERROR_FILE_NOT_FOUND
#else
constexpr int kErrorMissingFile = ENOENT;
#endif

int CurrentProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(::getpid());
#endif
}

void RemoveQuietly(const std::string& utf8Path) {
  std::error_code ec;
  std::filesystem::remove(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())),
                          ec);
}

// A stored date as the export shows it; a value that is no date at all is said so.
std::string DateText(double date, bool timeOfDay) {
  if (!std::isfinite(date) || date < -657434 || date > 2958466) {
    return "不正な日付";
  }
  return timeOfDay ? FormatTimeOfDay(date) : FormatShortDate(date);
}

}  // namespace

int RunAppendCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  const char* usage =
      "append --program-folder DIR --pupil P --level L --seconds S [--date YYYY-MM-DD --time "
      "HH:MM:SS]";
  DataOptions options;
  std::string refused;
  if (!ParseDataOptions(args,
                        {{"program-folder", "pupil", "level", "seconds", "date", "time"}, {}, 0},
                        options, refused)) {
    return RefuseCommandLine(refused, usage, err);
  }
  long long pupil = 0;
  long long level = 0;
  long long seconds = 0;
  if (!ParseWholeNumberOption(options["pupil"], 1, kPupilSlots - 1, pupil)) {
    err << "--pupil には 1 から 5000 までの番号を指定してください: " << Quoted(options["pupil"])
        << "\n";
    return 2;
  }
  if (!ParseWholeNumberOption(options["level"], 1, kLevelSlots - 1, level)) {
    err << "--level には 1 から 35 までのレベルを指定してください: " << Quoted(options["level"])
        << "\n";
    return 2;
  }
  if (!ParseWholeNumberOption(options["seconds"], 0, kTimeOutSeconds, seconds)) {
    err << "--seconds には 0 から 99999 までの秒数を指定してください（99999 は時間切れ）: "
        << Quoted(options["seconds"]) << "\n";
    return 2;
  }
  SystemClock systemClock;
  const double now = systemClock.Now();
  double day = std::floor(now);
  double fraction = WholeSecondTimeOfDay(now);
  if (options.count("date") != 0 && !ParseDayOption(options["date"], day)) {
    err << "--date は YYYY-MM-DD の形の正しい日付で指定してください: " << Quoted(options["date"])
        << "\n";
    return 2;
  }
  if (options.count("time") != 0 && !ParseTimeOfDayOption(options["time"], fraction)) {
    err << "--time は HH:MM:SS の形の正しい時刻で指定してください: " << Quoted(options["time"])
        << "\n";
    return 2;
  }
  auto state = std::make_unique<AppState>();
  if (!SetUpFromOptions(options, usage, *state, err)) {
    return 2;
  }
  CommandServices tool(err, day + fraction);
  if (!AppendRunRecord(state->installation, tool.services(), static_cast<int16_t>(pupil),
                       static_cast<int16_t>(level), static_cast<int32_t>(seconds))) {
    return 1;
  }
  // The record number is the file's record count now: the file is never read whole for it.
  uint32_t count = 0;
  {
    ResultsFile file;
    if (file.OpenForReading(ResultsFilePath(state->installation)) == FileStatus::Ok) {
      file.RecordCount(count);
    }
  }
  out << "記録しました: 記録番号 " << count << "　" << FormatShortDate(day) << " "
      << FormatTimeOfDay(day + fraction) << "　番号 " << pupil << "　ﾚﾍﾞﾙ" << level << "　"
      << (seconds >= kTimeOutSeconds ? std::string("時間切れ") : std::to_string(seconds) + "秒")
      << "\n";
  return 0;
}

int RunStatsCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  const char* usage = "stats --program-folder DIR [--today YYYY-MM-DD]";
  DataOptions options;
  std::string refused;
  if (!ParseDataOptions(args, {{"program-folder", "today"}, {}, 0}, options, refused)) {
    return RefuseCommandLine(refused, usage, err);
  }
  SystemClock systemClock;
  double today = systemClock.Today();
  if (options.count("today") != 0 && !ParseDayOption(options["today"], today)) {
    err << "--today は YYYY-MM-DD の形の正しい日付で指定してください: " << Quoted(options["today"])
        << "\n";
    return 2;
  }
  auto state = std::make_unique<AppState>();
  if (!SetUpFromOptions(options, usage, *state, err)) {
    return 2;
  }
  CommandServices tool(err, today + 0.5);
  RebuildStatistics(*state, tool.services());
  if (tool.endedWith() >= 0) {
    return 1;
  }

  std::vector<char> hasEntry(static_cast<size_t>(kLevelSlots) * kPupilSlots, 0);
  for (int32_t i = 1; i <= state->stats.resultEntryCount; ++i) {
    const ResultEntry& e = state->stats.resultEntries[static_cast<size_t>(i)];
    hasEntry[LevelPupilIndex(e.level, e.pupilNumber)] = 1;
  }
  std::ostringstream text;
  text << "level\tpupil\ttotalRuns\ttotalPoints\ttotalTimeSum\ttotalAverageTime\ttodayRuns\t"
          "todayPoints\ttodayTimeSum\ttodayAverageTime\trecentRuns\trecentPoints\t"
          "overPracticeWindowRuns\toverPracticeWindowPoints\tbestTime\tbestTimeAll\n";
  const AppState& s = *state;
  for (int level = 1; level < kLevelSlots; ++level) {
    for (int pupil = 1; pupil < kPupilSlots; ++pupil) {
      const size_t c = LevelPupilIndex(level, pupil);
      if (hasEntry[c] == 0 && s.stats.bestTime[c] >= kTimeOutSeconds) {
        continue;
      }
      text << level << '\t' << pupil << '\t' << s.stats.totalRuns[c] << '\t'
           << s.stats.totalPoints[c] << '\t' << s.stats.totalTimeSum[c] << '\t'
           << FormatSingle(s.stats.totalAverageTime[c]) << '\t'
           << FormatSingle(s.stats.todayRuns[c]) << '\t' << s.stats.todayPoints[c] << '\t'
           << FormatSingle(s.stats.todayTimeSum[c]) << '\t'
           << FormatSingle(s.stats.todayAverageTime[c]) << '\t' << s.stats.recentRuns[c] << '\t'
           << s.stats.recentPoints[c] << '\t' << s.stats.overPracticeWindowRuns[c] << '\t'
           << s.stats.overPracticeWindowPoints[c] << '\t' << s.stats.bestTime[c] << '\t'
           << s.stats.bestTimeAll[static_cast<size_t>(level)] << '\n';
    }
  }
  out << text.str();
  return 0;
}

int RunExportCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  const char* usage = "export --program-folder DIR [--output FILE]";
  DataOptions options;
  std::string refused;
  if (!ParseDataOptions(args, {{"program-folder", "output"}, {}, 0}, options, refused)) {
    return RefuseCommandLine(refused, usage, err);
  }
  auto state = std::make_unique<AppState>();
  if (!SetUpFromOptions(options, usage, *state, err)) {
    return 2;
  }
  const auto file = options.find("output");
  const bool toFile = file != options.end();
  std::string output;
  if (toFile) {
    output = file->second;
    if (IsInstallationPath(state->installation, state->sound, output)) {
      err << "書き出し先「" << ShownPath(output)
          << "」はインストールのファイルまたはフォルダです。上書きしないよう書き出しませんでした。"
             "別の場所のファイル名を指定してください。\n";
      return 2;
    }
  }
  SystemClock systemClock;
  CommandServices tool(err, systemClock.Now());

  // The export is written piece by piece: to a temporary file beside the output, renamed over it
  // only when complete, so an interrupted export never leaves a half file under the output's name.
  const std::string temporary = output + ".numora-" + std::to_string(CurrentProcessId()) + ".tmp";
  std::ofstream fileOut;
  if (toFile) {
    fileOut.open(std::filesystem::path(std::u8string(temporary.begin(), temporary.end())),
                 std::ios::binary | std::ios::trunc);
    if (!fileOut) {
      err << "書き出し先のフォルダにファイルを作れません。フォルダがあるか、書き込みの権限があるか"
             "を"
             "確かめてください: "
          << ShownPath(output) << "\n";
      return 1;
    }
  }
  std::ostream& csv = toFile ? static_cast<std::ostream&>(fileOut) : out;
  // UTF-8 with a byte order mark and CR LF, so a spreadsheet on a Japanese PC reads it as UTF-8.
  csv << "\xEF\xBB\xBF記録番号,日付,時刻,番号,レベル,秒,学校コード\r\n";
  std::string lines;
  const ChunkedRead read = ReadRecordsInChunks(
      ResultsFilePath(state->installation), &tool.services(), kReaderRetry,
      [&](uint32_t first, const unsigned char* bytes, uint32_t n) {
        lines.clear();
        for (uint32_t i = 0; i < n; ++i) {
          const ResultRecord r =
              DecodeResultRecord(bytes + static_cast<size_t>(i) * kResultRecordSize);
          lines +=
              std::to_string(first + i) + "," + DateText(r.runDate, false) + "," +
              DateText(r.runTime, true) + "," + std::to_string(r.pupilNumber) + "," +
              std::to_string(r.level) + "," +
              (r.seconds == kTimeOutSeconds ? std::string("時間切れ") : std::to_string(r.seconds)) +
              "," + CsvField(TextFieldToUtf8(r.schoolCode)) + "\r\n";
        }
        csv << lines;
        return static_cast<bool>(csv);
      });
  const bool missing = read.status != FileStatus::Ok && read.errorNumber == kErrorMissingFile;
  if (read.status != FileStatus::Ok && !missing) {
    if (toFile) {
      fileOut.close();
      RemoveQuietly(temporary);
    }
    err << "成績ファイル「成績累積データ.dat」を読めません（" << read.errorText
        << "）。ファイルとフォルダの読み取り権限を確かめてください: "
        << ShownPath(ResultsFilePath(state->installation)) << "\n";
    return 1;
  }
  csv.flush();
  if (!csv) {
    if (toFile) {
      fileOut.close();
      RemoveQuietly(temporary);
    }
    err << "書き出し先のファイルに書き込めません。ディスクの空きと書き込みの権限を確かめてください:"
           " "
        << ShownPath(toFile ? output : std::string("(標準出力)")) << "\n";
    return 1;
  }
  if (!toFile) {
    return 0;
  }
  fileOut.close();
  std::error_code ec;
  std::filesystem::rename(std::filesystem::path(std::u8string(temporary.begin(), temporary.end())),
                          std::filesystem::path(std::u8string(output.begin(), output.end())), ec);
  if (fileOut.fail() || ec) {
    RemoveQuietly(temporary);
    err << "書き出し先のファイルに書き込めません（" << SystemErrorText(ec.value())
        << "）。書き込みの権限と、同じ名前のフォルダがないかを確かめてください: "
        << ShownPath(output) << "\n";
    return 1;
  }
  out << read.records << " 件の記録を書き出しました: " << ShownPath(output) << "\n";
  return 0;
}

}  // namespace numora
