#pragma once

#include <string>

#include "core/platform/services.h"

namespace numora {

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

}  // namespace numora
