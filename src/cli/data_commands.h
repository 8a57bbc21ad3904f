#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

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
int RunBrowseCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunEditCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunDeleteCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);
int RunLogCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err);

// Options of the form --name value (or --flag alone, given the value ""). Words that do not start
// with "--" are collected under "" in order, separated by "\n".
std::map<std::string, std::string> ParseDataOptions(const DataCommandArgs& args);

}  // namespace numora
