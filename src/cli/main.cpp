// numora-data: the administrators' command-line tool over the same core as the program.

#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/data_commands.h"
#include "core/platform/console.h"
#include "core/platform/system_error.h"
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
    {"chart", numora::RunChartCommand,
     "chart --program-folder DIR --pupil P|--all [--levels 1,2,3] [--filter TEXT] [--now "
     "\"YYYY-MM-DD HH:MM:SS\"] --output FILE.svg|FOLDER"},
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

int RunTool(const std::vector<std::string>& argList) {
  if (argList.size() < 2) {
    return Usage(std::cerr);
  }
  const std::string& name = argList[1];
  if (name == "--version") {
    std::cout << "numora-data " << NUMORA_VERSION_TEXT << "\n";
    return 0;
  }
  if (name == "--help" || name == "-h") {
    Usage(std::cout);
    return 0;
  }
  const numora::DataCommandArgs args(argList.begin() + 2, argList.end());
  for (const auto& c : kCommands) {
    if (name == c.name) {
      return c.run(args, std::cout, std::cerr);
    }
  }
  std::cerr << "不明なコマンドです: " << numora::Quoted(name) << "\n";
  return Usage(std::cerr);
}

}  // namespace

// Anything unexpected (memory running out on a huge file, an internal fault) ends the tool with a
// Japanese message and a status of its own, never with the system's English text or a signal.
int main(int argc, char** argv) {
  numora::UseUtf8Console();
  try {
    return RunTool(numora::CommandLineArguments(argc, argv));
  } catch (const std::bad_alloc&) {
    std::cerr << "メモリが足りないため、処理を中止しました。ほかのプログラムを終了してから、"
                 "もう一度実行してください。\n";
  } catch (...) {
    std::cerr << "予期しないエラーが起きたため、処理を中止しました。"
                 "numora-data check でインストールを確かめてください。\n";
  }
  return 3;
}
