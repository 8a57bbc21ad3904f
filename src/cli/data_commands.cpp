#include "cli/data_commands.h"

namespace numora {

std::map<std::string, std::string> ParseDataOptions(const DataCommandArgs& args) {
  std::map<std::string, std::string> options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) == 0) {
      if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
        options[a.substr(2)] = args[i + 1];
        ++i;
      } else {
        options[a.substr(2)] = "";
      }
    } else {
      std::string& rest = options[""];
      if (!rest.empty()) {
        rest += "\n";
      }
      rest += a;
    }
  }
  return options;
}

}  // namespace numora
