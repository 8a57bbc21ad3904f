#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/platform/file_replace.h"
#include "core/platform/system_error.h"

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

bool WriteNewFile(const std::string& path, const std::string& bytes, bool exclusive,
                  const std::function<bool()>& atHalf, std::string& error, bool& stopped) {
  stopped = false;
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    error = Quoted(path) + " を作れません（" + SystemErrorText(errno) + "）";
    return false;
  }
  const size_t half = bytes.size() / 2;
  bool ok = true;
  auto put = [&](size_t from, size_t to) {
    while (ok && from < to) {
      const ssize_t n = ::write(fd, bytes.data() + from, to - from);
      if (n < 0) {
        if (errno == EINTR) {
          continue;
        }
        ok = false;
        break;
      }
      from += static_cast<size_t>(n);
    }
  };
  put(0, half);
  if (ok && atHalf && !atHalf()) {
    ::close(fd);
    stopped = true;
    return false;
  }
  put(half, bytes.size());
  if (ok) {
    ok = ::fsync(fd) == 0;
  }
  if (!ok) {
    error = Quoted(path) + " に書き込めません（" + SystemErrorText(errno) + "）";
  }
  ::close(fd);
  if (!ok) {
    ::unlink(path.c_str());  // an unfinished file of our own is of no use to anyone
  }
  return ok;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return;
  }
  ::fsync(fd);
  ::close(fd);
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

}  // namespace numora
