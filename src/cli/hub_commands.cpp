// numora-data lists: the hub's score lists, level by level, as the hub shows them.

#include <algorithm>
#include <memory>
#include <string>

#include "cli/command_services.h"
#include "cli/data_commands.h"
#include "core/hub/list_records.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
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
  auto option = [&](const char* name) { return OptionValue(options, name); };

  const std::string* folder = option("program-folder");
  if (folder == nullptr || folder->empty()) {
    err << "--program-folder にプログラムのフォルダを指定してください。\n使い方: numora-data "
        << kUsage << "\n";
    return 2;
  }
  long long pupil = 0;
  const std::string* pupilText = option("pupil");
  if (!ParsePupilOption(pupilText != nullptr ? *pupilText : std::string(), pupil, err)) {
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
  double now = 0;
  if (!ParseNowOption(options, now, err)) {
    return 2;
  }

  auto state = std::make_unique<AppState>();
  if (!SetUpInstallation(*folder, *state, err)) {
    return 1;
  }
  CommandServices tool(err, now);
  Services& services = tool.services();

  // As at the selection screen: the roster, then the chosen pupil and the level catalogue.
  RosterReading reading;
  if (!ReadRosterForCommand(state->installation, state->roster, now, err, reading)) {
    return 1;
  }
  const bool listed = std::any_of(reading.listed.begin(), reading.listed.end(),
                                  [&](const RosterEntry& e) { return e.pupilNumber == pupil; });
  if (!listed) {
    err << "生徒番号 " << pupil << " の生徒は名簿に載っていません: " << reading.path << "\n";
    return 1;
  }
  state->session.currentPupil = static_cast<int>(pupil);
  state->session.pupilName = state->roster.names[static_cast<size_t>(pupil)];
  state->roster.gradeFilterText = filter;
  SetUpCatalogue(state->catalogue);

  RebuildStatistics(*state, services);
  if (tool.endedWith() >= 0) {
    return 1;
  }
  ListOptions listOptions;
  listOptions.currentPupil = static_cast<int>(pupil);
  listOptions.filterText = filter;
  const std::vector<ScoreList> lists =
      BuildHubLists(state->installation, state->catalogue, state->roster, state->stats, services,
                    *list, static_cast<int>(period), listOptions);
  for (size_t level = 1; level < lists.size(); ++level) {
    out << "ﾚﾍﾞﾙ" << level << "\n";
    for (const std::string& line : lists[level].lines) {
      out << line << "\n";
    }
  }
  return 0;
}

}  // namespace numora
