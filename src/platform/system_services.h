#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "platform/services.h"

namespace numora {

// The real clock: local date and time from the operating system, tick count from a steady clock.
class SystemClock : public Clock {
 public:
  double Now() const override;
  uint32_t TickCount() const override;
};

// The real uniform generator.
class SystemRandom : public Random {
 public:
  void Seed(double seed) override;
  double Next() override;

 private:
  std::mt19937_64 engine_{12345};
};

// Sound output on SDL2: decodes the WAV, plays it on the default audio device and returns when it
// has been heard to the end (the sound's length, not merely an empty queue).
class SdlSound : public SoundOutput {
 public:
  SdlSound();
  ~SdlSound() override;
  SdlSound(const SdlSound&) = delete;
  SdlSound& operator=(const SdlSound&) = delete;
  bool PlayWait(const std::string& path, std::string& errorText) override;

 private:
  bool initialised_ = false;
};

// The folder of the running executable, ending with the native separator.
std::string ExecutableFolder();

}  // namespace numora
