#include <cerrno>
#include <cstdio>

#include "core/platform/file_replace.h"

namespace numora {

bool ReplaceOpenFile(const std::string& fromPath, const std::string& toPath, int& systemError,
                     bool& busy) {
  busy = false;
  if (std::rename(fromPath.c_str(), toPath.c_str()) == 0) {
    systemError = 0;
    return true;
  }
  systemError = errno;
  busy = systemError == EBUSY;
  return false;
}

std::string ReplacingNameOf(const std::string& path) {
  return path + ".replacing";
}

}  // namespace numora
