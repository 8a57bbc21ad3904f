#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "core/installation/app_state.h"
#include "core/roster/roster.h"

namespace numora {

// The subcommands of numora-data. Each takes the words after the subcommand, writes its output
// (UTF-8) to out and its Japanese error texts to err, and returns the exit status.
using DataCommandArgs = std::vector<std::string>;

int RunDemoCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunCheckCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunAppendCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunStatsCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunExportCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunNameListCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunListsCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunDistributionCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunChartCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunBrowseCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunEditCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunDeleteCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunLogCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);

// What a command accepts on its command line.
struct OptionSpec {
  std::vector<std::string> valued;  // --name VALUE
  std::vector<std::string> flags;   // --name alone
  size_t maxWords = 0;              // words that are not options (demo DIR)
};

// The parsed command line: options by name (a flag has the value ""), words under "" in order,
// separated by "\n".
using DataOptions = std::map<std::string, std::string>;

// Parses the words after the subcommand strictly. An option the command does not know, a word it
// does not take, an option given twice, or an option without its value is refused: false, with
// the Japanese reason (naming the word, at most 200 characters of it) in error.
bool ParseDataOptions(const DataCommandArgs& args, const OptionSpec& spec, DataOptions& options,
                      std::string& error);

// Sets up the installation in the program folder as the program sets itself up (a closing
// separator is added when missing). False, with the reason written to err, when the installation
// cannot be read.
bool SetUpInstallation(const std::string& folder, AppState& state, std::ostream& err);
// The same for the folder of --program-folder; false with the usage as well when it is missing.
bool SetUpFromOptions(DataOptions& options, const char* usage, AppState& state, std::ostream& err);

// Reads the roster as the selection screen does, for the day of now. What went wrong in the
// reading is written to err; false when the file could not be read at all.
bool ReadRosterForCommand(const InstallationSettings& installation, RosterTables& roster,
                          double now, std::ostream& err, RosterReading& reading);

// The exit status of a command line that was refused, after writing the reason and the
// command's usage line to err.
int RefuseCommandLine(const std::string& reason, const char* usage, std::ostream& err);

}  // namespace numora
