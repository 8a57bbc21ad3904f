#include "core/platform/system_clock.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

#include "core/platform/dates.h"
#include "core/platform/paths.h"

#ifdef _WIN32
#include <windows.h>

#include "core/platform/wide_text_win.h"
#else
#include <unistd.h>

#include <climits>
#endif

namespace numora {

double SystemClock::Now() const {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  const double fraction =
      static_cast<double>(duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000) /
      1e6;
  return MakeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec + fraction);
}

uint32_t SystemClock::TickCount() const {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemRandom::Seed(double seed) {
  engine_.seed(static_cast<uint64_t>(std::llround(seed * 1000.0)) ^ 0x9E3779B97F4A7C15ULL);
}

double SystemRandom::Next() {
  // 53 random bits give a uniform fraction in [0, 1).
  return static_cast<double>(engine_() >> 11) * (1.0 / 9007199254740992.0);
}

std::string ExecutableFolder() {
#ifdef _WIN32
  // The full path of the executable, however long: the buffer grows until the path fits.
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) {
      return ".\\";
    }
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    buf.resize(buf.size() * 2);
  }
  return FolderOfExecutablePath(Utf8FromWide(buf));
#else
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) {
    return "./";
  }
  return FolderOfExecutablePath(std::string(buf, static_cast<size_t>(n)));
#endif
}

}  // namespace numora
