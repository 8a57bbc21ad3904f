// The sound table 新音ファイル.txt, and picking a variant of every cue from it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/installation/sound_cues.h"
#include "fuzz_support.h"
#include "support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = numora::fuzzing::TheScratch();
  scratch.Write(scratch.SoundFolder() + "新音ファイル.txt", numora::fuzzing::Bytes(data, size));
  auto state = scratch.State();
  std::string error;
  if (numora::LoadSoundTable(state->installation, state->sound, error)) {
    numora::FakeServices fake;
    fake.random.fallback = 0.999999;
    for (int cue = 1; cue <= 10; ++cue) {
      numora::PlayCuePlain(state->installation, state->sound, fake.services, cue);
    }
  }
  return 0;
}
