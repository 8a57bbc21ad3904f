// numora-data distribution: the standards editor's distribution panel for one level.

#include <memory>
#include <string>

#include "cli/command_services.h"
#include "cli/data_commands.h"
#include "core/admin/standards_distribution.h"
#include "core/admin/standards_file.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/system_clock.h"
#include "core/platform/system_error.h"
#include "core/records/results_file.h"

namespace numora {

namespace {

constexpr const char* kDistributionUsage = "distribution --program-folder DIR --level L";

int UsageError(std::ostream& err, const std::string& what) {
  err << what << "\n使い方: numora-data " << kDistributionUsage << "\n";
  return 2;
}

}  // namespace

int RunDistributionCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  DataOptions options;
  std::string refused;
  if (!ParseDataOptions(args, {{"program-folder", "level"}, {}, 0}, options, refused)) {
    return RefuseCommandLine(refused, kDistributionUsage, err);
  }
  const auto folder = options.find("program-folder");
  if (folder == options.end() || folder->second.empty()) {
    return UsageError(err, "--program-folder にプログラムのフォルダを指定してください。");
  }
  const auto levelText = options.find("level");
  long long level = 0;
  if (levelText == options.end() ||
      !ParseWholeNumberOption(levelText->second, 1, kMaxStandardsLevels, level)) {
    return UsageError(err,
                      "--level には 1 から 35 までのレベルを指定してください: " +
                          Quoted(levelText != options.end() ? levelText->second : std::string()));
  }

  auto state = std::make_unique<AppState>();
  if (!SetUpInstallation(folder->second, *state, err)) {
    return 1;
  }
  SystemClock clock;
  CommandServices tool(err, clock.Now());
  const std::string path = ResultsFilePath(state->installation);
  const DistributionReading reading =
      ReadLevelDistribution(path, tool.services(), static_cast<int>(level));
  if (!reading.ok) {
    err << reading.error << "\n";
    return 1;
  }
  if (reading.fileMissing) {
    err << "成績ファイル「成績累積データ.dat」はまだありません（記録された成績はありません）。\n"
        << path << "\n";
  }
  out << "全成績\n";
  for (const std::string& line : AllRunsLines(reading.distribution)) {
    out << line << "\n";
  }
  out << "最高タイム\n";
  for (const std::string& line : BestTimeLines(reading.distribution)) {
    out << line << "\n";
  }
  return 0;
}

}  // namespace numora
