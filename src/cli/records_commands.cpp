// numora-data append, stats and export: the results file through the program's own core code.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_services.h"
#include "cli/data_commands.h"
#include "core/installation/installation.h"
#include "core/platform/dates.h"
#include "core/platform/services.h"
#include "core/platform/system_clock.h"
#include "core/platform/value.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"

namespace numora {

namespace {

// The installation of --program-folder, set up as the program sets itself up.
bool SetUpFromOptions(std::map<std::string, std::string>& options, const char* usage,
                      SharedState& state, std::ostream& err) {
  auto folder = options.find("program-folder");
  if (folder == options.end() || folder->second.empty()) {
    err << "使い方: numora-data " << usage << "\n";
    return false;
  }
  std::string programFolder = folder->second;
#ifdef _WIN32
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  if (programFolder.back() != separator) {
    programFolder += separator;
  }
  std::string error;
  if (!SetUpPathsAndSettings(state, programFolder, error)) {
    err << error << "\n";
    return false;
  }
  return true;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    return text;
  }
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') {
      quoted += '"';
    }
    quoted += c;
  }
  return quoted + "\"";
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
  auto options = ParseDataOptions(args);
  long long pupil = 0;
  long long level = 0;
  long long seconds = 0;
  if (!ParseWholeNumberOption(options["pupil"], 1, kPupilSlots - 1, pupil)) {
    err << "--pupil には 1 から 5000 までの番号を指定してください: " << options["pupil"] << "\n";
    return 2;
  }
  if (!ParseWholeNumberOption(options["level"], 1, kLevelSlots - 1, level)) {
    err << "--level には 1 から 35 までのレベルを指定してください: " << options["level"] << "\n";
    return 2;
  }
  if (!ParseWholeNumberOption(options["seconds"], 0, kTimeOutSeconds, seconds)) {
    err << "--seconds には 0 から 99999 までの秒数を指定してください（99999 は時間切れ）: "
        << options["seconds"] << "\n";
    return 2;
  }
  SystemClock systemClock;
  const double now = systemClock.Now();
  double day = std::floor(now);
  double fraction = now - day;
  if (options.count("date") != 0 && !ParseDayOption(options["date"], day)) {
    err << "--date は YYYY-MM-DD の形の正しい日付で指定してください: " << options["date"] << "\n";
    return 2;
  }
  if (options.count("time") != 0 && !ParseTimeOfDayOption(options["time"], fraction)) {
    err << "--time は HH:MM:SS の形の正しい時刻で指定してください: " << options["time"] << "\n";
    return 2;
  }
  auto state = std::make_unique<SharedState>();
  if (!SetUpFromOptions(options, usage, *state, err)) {
    return 2;
  }
  CommandServices tool(err, day + fraction);
  if (!AppendRunRecord(*state, tool.services(), static_cast<int16_t>(pupil),
                       static_cast<int16_t>(level), static_cast<int32_t>(seconds))) {
    return 1;
  }
  int64_t count = 0;
  std::vector<ResultRecord> records;
  std::string error;
  if (ReadAllResultRecords(*state, tool.services(), records, error)) {
    count = static_cast<int64_t>(records.size());
  }
  out << "記録しました: 記録番号 " << count << "　" << FormatShortDate(day) << " "
      << FormatTimeOfDay(day + fraction) << "　番号 " << pupil << "　ﾚﾍﾞﾙ" << level << "　"
      << (seconds >= kTimeOutSeconds ? std::string("時間切れ") : std::to_string(seconds) + "秒")
      << "\n";
  return 0;
}

int RunStatsCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  const char* usage = "stats --program-folder DIR [--today YYYY-MM-DD]";
  auto options = ParseDataOptions(args);
  SystemClock systemClock;
  double today = systemClock.Today();
  if (options.count("today") != 0 && !ParseDayOption(options["today"], today)) {
    err << "--today は YYYY-MM-DD の形の正しい日付で指定してください: " << options["today"] << "\n";
    return 2;
  }
  auto state = std::make_unique<SharedState>();
  if (!SetUpFromOptions(options, usage, *state, err)) {
    return 2;
  }
  CommandServices tool(err, today + 0.5);
  RebuildStatistics(*state, tool.services());
  if (tool.endedWith() >= 0) {
    return 1;
  }

  std::vector<char> hasEntry(static_cast<size_t>(kLevelSlots) * kPupilSlots, 0);
  for (int32_t i = 1; i <= state->resultEntryCount; ++i) {
    const ResultEntry& e = state->resultEntries[static_cast<size_t>(i)];
    hasEntry[LevelPupilIndex(e.level, e.pupilNumber)] = 1;
  }
  std::ostringstream text;
  text << "level\tpupil\ttotalRuns\ttotalPoints\ttotalTimeSum\ttotalAverageTime\ttodayRuns\t"
          "todayPoints\ttodayTimeSum\ttodayAverageTime\trecentRuns\trecentPoints\t"
          "overPracticeWindowRuns\toverPracticeWindowPoints\tbestTime\tbestTimeAll\n";
  const SharedState& s = *state;
  for (int level = 1; level < kLevelSlots; ++level) {
    for (int pupil = 1; pupil < kPupilSlots; ++pupil) {
      const size_t c = LevelPupilIndex(level, pupil);
      if (hasEntry[c] == 0 && s.bestTime[c] >= kTimeOutSeconds) {
        continue;
      }
      text << level << '\t' << pupil << '\t' << s.totalRuns[c] << '\t' << s.totalPoints[c] << '\t'
           << s.totalTimeSum[c] << '\t' << FormatSingle(s.totalAverageTime[c]) << '\t'
           << FormatSingle(s.todayRuns[c]) << '\t' << s.todayPoints[c] << '\t'
           << FormatSingle(s.todayTimeSum[c]) << '\t' << FormatSingle(s.todayAverageTime[c]) << '\t'
           << s.recentRuns[c] << '\t' << s.recentPoints[c] << '\t' << s.overPracticeWindowRuns[c]
           << '\t' << s.overPracticeWindowPoints[c] << '\t' << s.bestTime[c] << '\t'
           << s.bestTimeAll[static_cast<size_t>(level)] << '\n';
    }
  }
  out << text.str();
  return 0;
}

int RunExportCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  const char* usage = "export --program-folder DIR [--output FILE]";
  auto options = ParseDataOptions(args);
  auto state = std::make_unique<SharedState>();
  if (!SetUpFromOptions(options, usage, *state, err)) {
    return 2;
  }
  SystemClock systemClock;
  CommandServices tool(err, systemClock.Now());
  std::vector<ResultRecord> records;
  std::string error;
  if (!ReadAllResultRecords(*state, tool.services(), records, error)) {
    err << error << "\n";
    return 1;
  }
  // UTF-8 with a byte order mark and CR LF, so a spreadsheet on a Japanese PC reads it as UTF-8.
  std::string csv = "\xEF\xBB\xBF記録番号,日付,時刻,番号,レベル,秒,学校コード\r\n";
  for (size_t i = 0; i < records.size(); ++i) {
    const ResultRecord& r = records[i];
    csv += std::to_string(i + 1) + "," + DateText(r.runDate, false) + "," +
           DateText(r.runTime, true) + "," + std::to_string(r.pupilNumber) + "," +
           std::to_string(r.level) + "," +
           (r.seconds == kTimeOutSeconds ? std::string("時間切れ") : std::to_string(r.seconds)) +
           "," + CsvField(TextFieldToUtf8(r.schoolCode)) + "\r\n";
  }
  auto file = options.find("output");
  if (file == options.end() || file->second.empty()) {
    out << csv;
    return 0;
  }
  std::ofstream output(
      std::filesystem::path(std::u8string(file->second.begin(), file->second.end())),
      std::ios::binary | std::ios::trunc);
  output << csv;
  output.close();
  if (!output) {
    err << "書き出し先のファイルに書き込めません: " << file->second << "\n";
    return 1;
  }
  out << records.size() << " 件の記録を書き出しました: " << file->second << "\n";
  return 0;
}

}  // namespace numora
