#include <windows.h>
// CommandLineToArgvW
#include <shellapi.h>

#include "core/platform/console.h"
#include "core/platform/wide_text_win.h"

namespace numora {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    return std::vector<std::string>(argv, argv + argc);
  }
  std::vector<std::string> args;
  args.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    args.push_back(Utf8FromWide(wide[i]));
  }
  LocalFree(wide);
  return args;
}

void UseUtf8Console() {
  SetConsoleOutputCP(CP_UTF8);
}

}  // namespace numora
