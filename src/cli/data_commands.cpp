#include "cli/data_commands.h"

#include <algorithm>
#include <cmath>

#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/paths.h"
#include "core/platform/system_error.h"

namespace numora {

namespace {

bool Listed(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool ParseDataOptions(const DataCommandArgs& args, const OptionSpec& spec, DataOptions& options,
                      std::string& error) {
  options.clear();
  size_t words = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      if (++words > spec.maxWords) {
        error = "余分な語があります: 「" + Quoted(a) + "」";
        return false;
      }
      std::string& rest = options[""];
      if (!rest.empty()) {
        rest += "\n";
      }
      rest += a;
      continue;
    }
    const std::string name = a.substr(2);
    const bool valued = Listed(spec.valued, name);
    if (!valued && !Listed(spec.flags, name)) {
      error = "知らないオプションです: 「" + Quoted(a) + "」";
      return false;
    }
    if (options.count(name) != 0) {
      error = "オプション「" + Quoted(a) + "」が2回以上指定されています";
      return false;
    }
    if (!valued) {
      options[name] = "";
      continue;
    }
    if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
      error = "オプション「" + Quoted(a) + "」の値がありません";
      return false;
    }
    options[name] = args[++i];
  }
  return true;
}

int RefuseCommandLine(const std::string& reason, const char* usage, std::ostream& err) {
  err << reason << "\n使い方: numora-data " << usage << "\n";
  return 2;
}

bool SetUpInstallation(const std::string& folder, AppState& state, std::ostream& err) {
  std::string error;
  if (!SetUpPathsAndSettings(state, WithClosingSeparator(folder), error)) {
    err << error << "\n";
    return false;
  }
  return true;
}

bool SetUpFromOptions(DataOptions& options, const char* usage, AppState& state, std::ostream& err) {
  auto folder = options.find("program-folder");
  if (folder == options.end() || folder->second.empty()) {
    RefuseCommandLine("--program-folder にプログラムのフォルダを指定してください。", usage, err);
    return false;
  }
  return SetUpInstallation(folder->second, state, err);
}

bool ReadRosterForCommand(const InstallationSettings& installation, RosterTables& roster,
                          double now, std::ostream& err, RosterReading& reading) {
  reading = ReadRoster(installation, roster, std::floor(now));
  const std::string notice = RosterNotice(reading);
  if (!notice.empty()) {
    err << notice << "\n";
  }
  return reading.fileRead;
}

}  // namespace numora
