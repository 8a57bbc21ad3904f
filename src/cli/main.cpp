// numora-data: the administrators' command-line tool over the same core as the program.

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/data_commands.h"
#include "version.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const numora::DataCommandArgs&, std::ostream&, std::ostream&);
  const char* usage;
};

const Command kCommands[] = {
    {"demo", numora::RunDemoCommand, "demo DIR"},
    {"check", numora::RunCheckCommand, "check --program-folder DIR"},
    {"append", numora::RunAppendCommand,
     "append --program-folder DIR --pupil P --level L --seconds S [--date YYYY-MM-DD --time "
     "HH:MM:SS]"},
    {"stats", numora::RunStatsCommand, "stats --program-folder DIR [--today YYYY-MM-DD]"},
    {"export", numora::RunExportCommand, "export --program-folder DIR [--output FILE]"},
    {"namelist", numora::RunNameListCommand,
     "namelist --program-folder DIR --view 0..3 [--filter TEXT] [--today YYYY-MM-DD]"},
    {"lists", numora::RunListsCommand,
     "lists --program-folder DIR --pupil P --list best|today|all|points-total|points-today|"
     "points-all [--period 1..5] [--filter TEXT] [--now \"YYYY-MM-DD HH:MM:SS\"]"},
    {"distribution", numora::RunDistributionCommand, "distribution --program-folder DIR --level L"},
    {"browse", numora::RunBrowseCommand, "browse --program-folder DIR"},
    {"edit", numora::RunEditCommand,
     "edit --program-folder DIR --record N [--pupil P] [--seconds S]"},
    {"delete", numora::RunDeleteCommand, "delete --program-folder DIR --record N"},
    {"log", numora::RunLogCommand, "log --program-folder DIR"},
};

int Usage(std::ostream& err) {
  err << "使い方: numora-data <コマンド> ...\n";
  for (const auto& c : kCommands) {
    err << "  numora-data " << c.usage << "\n";
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    return Usage(std::cerr);
  }
  const std::string name = argv[1];
  if (name == "--version") {
    std::cout << "numora-data " << NUMORA_VERSION_TEXT << "\n";
    return 0;
  }
  if (name == "--help" || name == "-h") {
    Usage(std::cout);
    return 0;
  }
  numora::DataCommandArgs args(argv + 2, argv + argc);
  for (const auto& c : kCommands) {
    if (name == c.name) {
      return c.run(args, std::cout, std::cerr);
    }
  }
  std::cerr << "不明なコマンドです: " << name << "\n";
  return Usage(std::cerr);
}
