#include "startup/data_commands.h"

namespace numora {

int RunDemoCommand(const DataCommandArgs& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "このコマンドはまだ使えません。\n";
  return 2;
}

int RunCheckCommand(const DataCommandArgs& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "このコマンドはまだ使えません。\n";
  return 2;
}

}  // namespace numora
