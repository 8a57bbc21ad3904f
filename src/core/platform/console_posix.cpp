#include "core/platform/console.h"

namespace numora {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void UseUtf8Console() {}

}  // namespace numora
