#include "startup/data_commands.h"

namespace numora {

int RunAppendCommand(const DataCommandArgs& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "このコマンドはまだ使えません。\n";
  return 2;
}

int RunStatsCommand(const DataCommandArgs& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "このコマンドはまだ使えません。\n";
  return 2;
}

int RunExportCommand(const DataCommandArgs& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "このコマンドはまだ使えません。\n";
  return 2;
}

}  // namespace numora
