// numora-data browse, edit, delete and log: the results browser's list and corrections, through
// the same core functions as the window, with the same correction log.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/command_services.h"
#include "cli/data_commands.h"
#include "core/admin/correction_log.h"
#include "core/admin/results_browser.h"
#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/system_clock.h"
#include "core/records/results_file.h"

namespace numora {

namespace {

constexpr const char* kBrowseUsage = "browse --program-folder DIR";
constexpr const char* kEditUsage = "edit --program-folder DIR --record N [--pupil P] [--seconds S]";
constexpr const char* kDeleteUsage = "delete --program-folder DIR --record N";
constexpr const char* kLogUsage = "log --program-folder DIR";

int Usage(const char* usage, std::ostream& err) {
  err << "使い方: numora-data " << usage << "\n";
  return 2;
}

// Refuses options the command does not know and words without an option.
// Reads the command line strictly: only the given valued options, no stray words. A refused line
// is told with the command's usage.
bool ParseOptions(const DataCommandArgs& args, std::vector<std::string> valued, const char* usage,
                  DataOptions& options, std::ostream& err) {
  std::string refused;
  if (!ParseDataOptions(args, OptionSpec{std::move(valued), {}, 0}, options, refused)) {
    RefuseCommandLine(refused, usage, err);
    return false;
  }
  return true;
}

// The record number of --record; false with the message written for anything but 1, 2, …
bool ParseRecordOption(std::map<std::string, std::string>& options, uint32_t& n,
                       std::ostream& err) {
  long long number = 0;
  if (!ParseWholeNumberOption(options["record"], 1, 4294967295LL, number)) {
    err << "--record には記録番号（1 以上の数）を指定してください: " << options["record"] << "\n";
    return false;
  }
  n = static_cast<uint32_t>(number);
  return true;
}

// Reads record n: false with the message written when there is none.
bool ReadNamedRecord(const InstallationSettings& installation, Services& services, uint32_t n,
                     ResultRecord& record, std::ostream& err) {
  std::string error;
  if (!ReadResultRecord(installation, services, n, record, error)) {
    err << error << "（" << ResultsFilePath(installation) << "）\n";
    return false;
  }
  return true;
}

// The installation, the tool's services and the record named by --record: what edit and delete
// both read before they change anything.
struct NamedRecord {
  explicit NamedRecord(std::ostream& err) : tool(err, SystemClock().Now()) {}
  std::unique_ptr<AppState> state = std::make_unique<AppState>();
  CommandServices tool;
  uint32_t number = 0;
  ResultRecord shown;
};

// Reads the record of --record from the installation of --program-folder. 0 when it was read;
// otherwise the exit status, with the reason written to err.
int ReadRecordOfOptions(DataOptions& options, const char* usage, NamedRecord& named,
                        std::ostream& err) {
  if (!ParseRecordOption(options, named.number, err)) {
    return 2;
  }
  if (!SetUpFromOptions(options, usage, *named.state, err)) {
    return 2;
  }
  if (!ReadNamedRecord(named.state->installation, named.tool.services(), named.number, named.shown,
                       err)) {
    return 1;
  }
  return 0;
}

int Finish(const BrowserResult& result, const std::string& done, std::ostream& out,
           std::ostream& err) {
  switch (result.outcome) {
    case BrowserOutcome::kDone:
      out << done << "\n";
      if (!result.message.empty()) {
        err << result.message << "\n";
      }
      return 0;
    case BrowserOutcome::kInvalid:
      err << result.message << "\n";
      return 2;
    case BrowserOutcome::kStale:
    case BrowserOutcome::kFailed:
      err << result.message << "\n";
      return 1;
  }
  return 1;
}

}  // namespace

int RunBrowseCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  DataOptions options;
  if (!ParseOptions(args, {"program-folder"}, kBrowseUsage, options, err)) {
    return 2;
  }
  auto state = std::make_unique<AppState>();
  if (!SetUpFromOptions(options, kBrowseUsage, *state, err)) {
    return 2;
  }
  SystemClock systemClock;
  CommandServices tool(err, systemClock.Now());
  const BrowserList list = BuildBrowserList(state->installation, state->roster, tool.services());
  if (!list.notice.empty()) {
    err << list.notice << "\n";
  }
  std::string text;
  for (size_t i = 0; i < list.lines.size(); ++i) {
    text += list.lines[i];
    text += '\n';
  }
  out << text;
  return 0;
}

int RunEditCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  DataOptions options;
  if (!ParseOptions(args, {"program-folder", "record", "pupil", "seconds"}, kEditUsage, options,
                    err)) {
    return 2;
  }
  if (options.count("record") == 0 ||
      (options.count("pupil") == 0 && options.count("seconds") == 0)) {
    err << "--record と、--pupil か --seconds（または両方）を指定してください\n";
    return Usage(kEditUsage, err);
  }
  NamedRecord named(err);
  if (const int status = ReadRecordOfOptions(options, kEditUsage, named, err); status != 0) {
    return status;
  }
  const uint32_t n = named.number;
  const ResultRecord& shown = named.shown;
  long long pupilNumber = shown.pupilNumber;
  if (options.count("pupil") != 0 &&
      !ParseWholeNumberOption(options["pupil"], 1, kPupilSlots - 1, pupilNumber)) {
    err << "--pupil には 1 から 5000 までの番号を指定してください: " << options["pupil"] << "\n";
    return 2;
  }
  // The time as the edit panel's time box takes it: rounded to whole seconds (45.6 → 46).
  const std::string secondsText =
      options.count("seconds") != 0 ? options["seconds"] : std::to_string(shown.seconds);
  int16_t checkedPupil = 0;
  int32_t seconds = 0;
  std::string message;
  if (!ParseCorrection("1 /", secondsText, checkedPupil, seconds, message)) {
    err << "--seconds には 0 から 99999 までの秒数を指定してください（99999 は時間切れ、小数は"
           "四捨五入）: "
        << secondsText << "\n";
    return 2;
  }
  const auto pupil = static_cast<int16_t>(pupilNumber);
  ResultRecord after = shown;
  after.pupilNumber = pupil;
  after.seconds = seconds;
  const BrowserResult result = ChangeBrowserRecord(named.state->installation, named.tool.services(),
                                                   n, shown, pupil, seconds);
  return Finish(result,
                "記録 " + std::to_string(n) + " を変更しました: " + RecordSummary(shown) + " → " +
                    RecordSummary(after),
                out, err);
}

int RunDeleteCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  DataOptions options;
  if (!ParseOptions(args, {"program-folder", "record"}, kDeleteUsage, options, err)) {
    return 2;
  }
  if (options.count("record") == 0) {
    return Usage(kDeleteUsage, err);
  }
  NamedRecord named(err);
  if (const int status = ReadRecordOfOptions(options, kDeleteUsage, named, err); status != 0) {
    return status;
  }
  const BrowserResult result = DeleteBrowserRecord(named.state->installation, named.tool.services(),
                                                   named.number, named.shown);
  return Finish(
      result,
      "記録 " + std::to_string(named.number) + " を消去しました: " + RecordSummary(named.shown),
      out, err);
}

int RunLogCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  DataOptions options;
  if (!ParseOptions(args, {"program-folder"}, kLogUsage, options, err)) {
    return 2;
  }
  auto state = std::make_unique<AppState>();
  if (!SetUpFromOptions(options, kLogUsage, *state, err)) {
    return 2;
  }
  std::string text;
  bool exists = false;
  std::string error;
  if (!ReadCorrectionLog(state->installation, text, exists, error)) {
    err << error << "\n";
    return 1;
  }
  if (!exists) {
    out << "修正記録はまだありません（" << CorrectionLogPath(state->installation) << "）\n";
    return 0;
  }
  out << text;
  return 0;
}

}  // namespace numora
