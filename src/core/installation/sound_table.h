#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace numora {

// The sound cues and the watched player's failures.
struct SoundTable {
  // [cue][0] name, [cue][1..20] file base names, [cue][21] count as text.
  std::array<std::array<std::string, 22>, 11> table{};
  int failures = 0;
};

}  // namespace numora
