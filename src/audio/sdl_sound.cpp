#include "audio/sdl_sound.h"

#include <SDL.h>

#include <chrono>
#include <thread>

#include "core/platform/field_reader.h"
#include "core/platform/system_error.h"

namespace numora {

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
      errorText = "音声の装置を使えません。スピーカーやサウンドの設定を確かめてください。";
      return false;
    }
    initialised_ = true;
  }
  SDL_AudioSpec spec{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  // Only a regular file is opened: a pipe or device under a sound's name would never end.
  if (const int problem = RegularFileProblem(path); problem != 0) {
    errorText = "音声ファイルを読めません（" + SystemErrorText(problem) + "）: " + ShownPath(path);
    return false;
  }
  if (SDL_LoadWAV(path.c_str(), &spec, &buffer, &length) == nullptr) {
    errorText = "音声ファイルを読めません（WAV 形式でないか、壊れています）: " + ShownPath(path);
    return false;
  }
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
  if (device == 0) {
    errorText = "音声の装置を開けません。スピーカーやサウンドの設定を確かめてください。";
    SDL_FreeWAV(buffer);
    return false;
  }
  if (SDL_QueueAudio(device, buffer, length) != 0) {
    errorText = "音声を再生できません: " + ShownPath(path);
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

}  // namespace numora
