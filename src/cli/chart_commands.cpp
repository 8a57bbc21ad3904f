// numora-data chart: a pupil's time chart as an SVG file, or one file per listed pupil (a class
// report without the program's windows), drawn from the same display list as the hub's chart.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "cli/command_services.h"
#include "cli/data_commands.h"
#include "core/hub/chart_model.h"
#include "core/hub/chart_svg.h"
#include "core/hub/score_lists.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"

namespace numora {

namespace {

constexpr const char* kUsage =
    "使い方: numora-data chart --program-folder DIR --pupil P [--levels 1,2,3] [--filter TEXT] "
    "[--now \"YYYY-MM-DD HH:MM:SS\"] --output FILE.svg\n"
    "        numora-data chart --program-folder DIR --all [--levels 1,2,3] [--filter TEXT] "
    "[--now \"YYYY-MM-DD HH:MM:SS\"] --output FOLDER\n";

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

// "1,2,3" to the levels 1..levelCount; false for anything else.
bool ParseLevels(const std::string& text, int levelCount, std::vector<int>& levels) {
  levels.clear();
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    long long level = 0;
    if (!ParseWholeNumberOption(text.substr(start, comma - start), 1, levelCount, level)) {
      return false;
    }
    levels.push_back(static_cast<int>(level));
    start = comma + 1;
  }
  return !levels.empty();
}

// A file name for a pupil's chart: number and name, without characters a file name cannot hold.
std::string ChartFileName(int pupil, const std::string& name) {
  char number[8];
  std::snprintf(number, sizeof number, "%04d", pupil);
  std::string safe;
  for (char c : name) {
    const bool forbidden = c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
                           c == '<' || c == '>' || c == '|' || static_cast<unsigned char>(c) < 0x20;
    safe += forbidden ? '_' : c;
  }
  return std::string(number) + (safe.empty() ? "" : "_" + safe) + ".svg";
}

bool WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

int RunChartCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  DataOptions options;
  std::string refused;
  if (!ParseDataOptions(
          args, {{"program-folder", "pupil", "levels", "filter", "now", "output"}, {"all"}, 0},
          options, refused)) {
    err << refused << "\n" << kUsage;
    return 2;
  }
  auto option = [&](const char* name) { return OptionValue(options, name); };

  const std::string* folder = option("program-folder");
  if (folder == nullptr || folder->empty()) {
    err << "--program-folder にプログラムのフォルダを指定してください。\n" << kUsage;
    return 2;
  }
  const bool all = option("all") != nullptr;
  const std::string* pupilText = option("pupil");
  if (all == (pupilText != nullptr)) {
    err << "--pupil か --all のどちらか一つを指定してください。\n" << kUsage;
    return 2;
  }
  if (all && !option("all")->empty()) {
    err << "--all には値を付けません: " << *option("all") << "\n" << kUsage;
    return 2;
  }
  long long pupil = 0;
  if (pupilText != nullptr && !ParsePupilOption(*pupilText, pupil, err)) {
    err << kUsage;
    return 2;
  }
  const std::string* output = option("output");
  if (output == nullptr || output->empty()) {
    err << (all ? "--output に書き出し先のフォルダを指定してください。\n"
                : "--output に書き出し先の SVG ファイルを指定してください。\n")
        << kUsage;
    return 2;
  }
  std::string filter;
  if (!ParseGradeFilterOption(options, filter, err)) {
    err << kUsage;
    return 2;
  }
  double now = 0;
  if (!ParseNowOption(options, now, err)) {
    err << kUsage;
    return 2;
  }

  auto state = std::make_unique<AppState>();
  if (!SetUpInstallation(*folder, *state, err)) {
    return 1;
  }
  SetUpCatalogue(state->catalogue);
  // Levels are checked against the catalogue: the hub's chart offers 1..levelCount.
  std::vector<int> levels;
  for (int level = 1; level <= std::min<int>(3, state->catalogue.levelCount); ++level) {
    levels.push_back(level);
  }
  if (const std::string* l = option("levels")) {
    if (!ParseLevels(*l, state->catalogue.levelCount, levels)) {
      err << "--levels には 1 から " << state->catalogue.levelCount
          << " までのレベルをカンマで区切って指定してください: " << *l << "\n"
          << kUsage;
      return 2;
    }
  }

  CommandServices tool(err, now);
  Services& services = tool.services();
  // As at the selection screen: the roster gives the ranking members.
  RosterReading reading;
  if (!ReadRosterForCommand(state->installation, state->roster, now, err, reading)) {
    return 1;
  }
  std::vector<int> pupils;
  if (all) {
    for (const RosterEntry& e : reading.listed) {
      pupils.push_back(e.pupilNumber);
    }
  } else {
    const bool inRoster = std::find(reading.entryPupils.begin(), reading.entryPupils.end(),
                                    pupil) != reading.entryPupils.end();
    if (!inRoster) {
      err << "生徒番号 " << pupil << " の生徒は名簿にいません: " << reading.path << "\n";
      return 1;
    }
    pupils.push_back(static_cast<int>(pupil));
  }
  state->roster.gradeFilterText = filter;

  RebuildStatistics(*state, services);
  if (tool.endedWith() >= 0) {
    return 1;
  }
  const std::vector<ResultEntry> records =
      ReadChartRecords(state->installation, state->stats, services);

  const std::filesystem::path target = PathOf(*output);
  if (all) {
    std::error_code ec;
    std::filesystem::create_directories(target, ec);
    if (!std::filesystem::is_directory(target)) {
      err << "書き出し先のフォルダを作れません: " << *output
          << "\nフォルダの場所と書き込みの権限を確かめてください。\n";
      return 1;
    }
  }
  int written = 0;
  for (int p : pupils) {
    const ChartRequest request{.pupil = p,
                               .currentPupil = p,
                               .levels = levels,
                               .filterText = filter,
                               .rankingKind = kCumulativeRanking,
                               .now = now,
                               .target = ChartTarget::kPaper};
    const Chart chart = BuildChart(state->catalogue, state->roster, state->stats, records, request);
    const std::filesystem::path file =
        all ? target / PathOf(ChartFileName(p, chart.pupilName)) : target;
    if (!WriteText(file, ChartSvg(chart))) {
      err << "書き出し先のファイルに書き込めません: " << Utf8Of(file)
          << "\nフォルダの場所と書き込みの権限を確かめてください。\n";
      return 1;
    }
    ++written;
    if (!all) {
      out << "グラフを書き出しました: " << Utf8Of(file) << "\n";
    }
  }
  if (all) {
    out << written << " 人のグラフを書き出しました: " << *output << "\n";
  }
  return 0;
}

}  // namespace numora
