// numora-data lists: the hub's score lists, level by level, as the hub shows them.

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "cli/command_services.h"
#include "cli/data_commands.h"
#include "core/hub/list_records.h"
#include "core/installation/installation.h"
#include "core/platform/system_clock.h"
#include "core/platform/system_error.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"

namespace numora {

namespace {

constexpr const char* kUsage =
    "lists --program-folder DIR --pupil P --list "
    "best|today|all|points-total|points-today|points-all [--period 1..5] [--filter TEXT] "
    "[--now \"YYYY-MM-DD HH:MM:SS\"]";

}  // namespace

int RunListsCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  DataOptions options;
  std::string refused;
  if (!ParseDataOptions(args,
                        {{"program-folder", "pupil", "list", "period", "filter", "now"}, {}, 0},
                        options, refused)) {
    return RefuseCommandLine(refused, kUsage, err);
  }
  auto option = [&](const char* name) -> const std::string* {
    auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
  };

  const std::string* folder = option("program-folder");
  if (folder == nullptr || folder->empty()) {
    err << "--program-folder にプログラムのフォルダを指定してください。\n使い方: numora-data "
        << kUsage << "\n";
    return 2;
  }
  long long pupil = 0;
  const std::string* pupilText = option("pupil");
  if (pupilText == nullptr || !ParseWholeNumberOption(*pupilText, 1, kPupilSlots - 1, pupil)) {
    err << "--pupil には 1 から 5000 までの生徒番号を指定してください: "
        << Quoted(pupilText != nullptr ? *pupilText : std::string()) << "\n";
    return 2;
  }
  const std::string* listText = option("list");
  const std::optional<HubList> list =
      listText != nullptr ? HubListNamed(*listText) : std::optional<HubList>();
  if (!list.has_value()) {
    err << "--list には best, today, all, points-total, points-today, points-all "
           "のどれかを指定してください: "
        << Quoted(listText != nullptr ? *listText : std::string()) << "\n";
    return 2;
  }
  long long period = 3;  // the hub starts with the 30 days
  if (const std::string* p = option("period")) {
    if (!ParseWholeNumberOption(*p, 1, 5, period)) {
      err << "--period には 1 から 5 までを指定してください（1 今週 2 先週から 3 １ヶ月間 4 "
             "１年間 5 今まで）: "
          << Quoted(*p) << "\n";
      return 2;
    }
  }
  std::string filter;
  if (!ParseGradeFilterOption(options, filter, err)) {
    return 2;
  }
  SystemClock systemClock;
  double now = systemClock.Now();
  if (const std::string* t = option("now")) {
    if (!ParseMomentOption(*t, now)) {
      err << "--now は \"YYYY-MM-DD HH:MM:SS\" の形の正しい日時で指定してください: " << Quoted(*t)
          << "\n";
      return 2;
    }
  }

  const std::string programFolder = WithClosingSeparator(*folder);
  auto state = std::make_unique<SharedState>();
  std::string error;
  if (!SetUpPathsAndSettings(*state, programFolder, error)) {
    err << error << "\n";
    return 1;
  }
  CommandServices tool(err, now);
  Services& services = tool.services();

  // As at the selection screen: the roster, then the chosen pupil and the level catalogue.
  const RosterReading reading = ReadRoster(*state, std::floor(now));
  if (!reading.fileRead) {
    err << RosterNotice(reading) << "\n";
    return 1;
  }
  const std::string notice = RosterNotice(reading);
  if (!notice.empty()) {
    err << notice << "\n";
  }
  const bool listed = std::any_of(reading.listed.begin(), reading.listed.end(),
                                  [&](const RosterEntry& e) { return e.pupilNumber == pupil; });
  if (!listed) {
    err << "生徒番号 " << pupil << " の生徒は名簿に載っていません: " << reading.path << "\n";
    return 1;
  }
  state->currentPupil = static_cast<int16_t>(pupil);
  state->pupilName = state->rosterNames[static_cast<size_t>(pupil)];
  state->gradeFilterText = filter;
  SetUpCatalogue(*state);

  RebuildStatistics(*state, services);
  if (tool.endedWith() >= 0) {
    return 1;
  }
  ListOptions listOptions;
  listOptions.currentPupil = static_cast<int>(pupil);
  listOptions.filterText = filter;
  const std::vector<ScoreList> lists =
      BuildHubLists(*state, services, *list, static_cast<int>(period), listOptions);
  for (size_t level = 1; level < lists.size(); ++level) {
    out << "ﾚﾍﾞﾙ" << level << "\n";
    for (const std::string& line : lists[level].lines) {
      out << line << "\n";
    }
  }
  return 0;
}

}  // namespace numora
