#include "platform/system_services.h"

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

#include "platform/dates.h"

#ifdef _WIN32
#include <windows.h>
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

SdlSound::SdlSound() = default;

SdlSound::~SdlSound() {
  if (initialised_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

bool SdlSound::PlayWait(const std::string& path, std::string& errorText) {
  if (!initialised_) {
    // SDL would otherwise take over SIGINT and SIGTERM, and the program would no longer end
    // when the system asks it to (logging off, shutting down).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      errorText = SDL_GetError();
      return false;
    }
    initialised_ = true;
  }
  SDL_AudioSpec spec{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV(path.c_str(), &spec, &buffer, &length) == nullptr) {
    errorText = SDL_GetError();
    if (errorText.empty()) {
      errorText = "音声ファイルを読めません: " + path;
    }
    return false;
  }
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
  if (device == 0) {
    errorText = SDL_GetError();
    SDL_FreeWAV(buffer);
    return false;
  }
  if (SDL_QueueAudio(device, buffer, length) != 0) {
    errorText = SDL_GetError();
    SDL_CloseAudioDevice(device);
    SDL_FreeWAV(buffer);
    return false;
  }
  SDL_FreeWAV(buffer);
  const int bytesPerFrame = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
  const double seconds = bytesPerFrame > 0 && spec.freq > 0
                             ? static_cast<double>(length) / bytesPerFrame / spec.freq
                             : 0.0;
  const auto start = std::chrono::steady_clock::now();
  SDL_PauseAudioDevice(device, 0);
  // The queue empties before the device has played its last buffer: wait for the sound's own
  // length, then for the queue to drain.
  std::this_thread::sleep_until(start + std::chrono::duration<double>(seconds));
  for (int i = 0; i < 200 && SDL_GetQueuedAudioSize(device) > 0; ++i) {
    SDL_Delay(5);
  }
  SDL_CloseAudioDevice(device);
  return true;
}

std::string ExecutableFolder() {
#ifdef _WIN32
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
  std::filesystem::path p(std::wstring(buf, n));
  return p.parent_path().u8string() + "\\";
#else
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) {
    return "./";
  }
  std::string path(buf, static_cast<size_t>(n));
  return path.substr(0, path.rfind('/') + 1);
#endif
}

}  // namespace numora
