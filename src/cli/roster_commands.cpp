// numora-data namelist: the visible lines of the selection screen's name list.

#include <memory>
#include <string>

#include "cli/command_services.h"
#include "cli/data_commands.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/dates.h"
#include "core/platform/services.h"
#include "core/platform/system_clock.h"
#include "core/platform/system_error.h"
#include "core/roster/name_list.h"
#include "core/roster/roster.h"

namespace numora {

int RunNameListCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  const char* usage =
      "namelist --program-folder DIR --view 0..3 [--filter TEXT] [--today YYYY-MM-DD]";
  DataOptions options;
  std::string refused;
  if (!ParseDataOptions(args, {{"program-folder", "view", "filter", "today"}, {}, 0}, options,
                        refused)) {
    return RefuseCommandLine(refused, usage, err);
  }
  auto option = [&](const char* name) { return OptionValue(options, name); };
  const std::string* folder = option("program-folder");
  if (folder == nullptr || folder->empty()) {
    err << "--program-folder にプログラムのフォルダを指定してください。\n";
    return 2;
  }
  const std::string* viewText = option("view");
  if (viewText == nullptr || viewText->size() != 1 || (*viewText)[0] < '0' ||
      (*viewText)[0] > '3') {
    err << "--view には 0～3 を指定してください（0 回数 1 ポイント 2 本日 3 今まで）。\n";
    return 2;
  }
  const int view = (*viewText)[0] - '0';
  std::string filter;
  if (!ParseGradeFilterOption(options, filter, err)) {
    return 2;
  }
  SystemClock systemClock;
  double now = systemClock.Now();
  if (const std::string* t = option("today")) {
    double day = 0;
    if (!ParseDayOption(*t, day)) {
      err << "--today の日付は YYYY-MM-DD の形で指定してください: " << Quoted(*t) << "\n";
      return 2;
    }
    now = day + 0.5;
  }
  CommandServices tool(err, now);
  Services& services = tool.services();

  auto state = std::make_unique<AppState>();
  std::string error;
  if (!SetUpPathsAndSettings(*state, *folder, error)) {
    err << error << "\n";
    return 1;
  }
  RosterReading reading;
  const NameList list = BuildNameList(*state, services, view, filter, &reading);
  const std::string notice = RosterNotice(reading);
  if (!notice.empty()) {
    err << notice << "\n";
  }
  for (const std::string& line : list.list1) {
    out << line << "\n";
  }
  return 0;
}

}  // namespace numora
