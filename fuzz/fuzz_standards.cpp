// The level standards file タイム回数データ.txt, its check, and the figures computed from the
// standards (points of a run, time limits) for every level.

#include <cstddef>
#include <cstdint>
#include <sstream>

#include "core/installation/installation_check.h"
#include "core/records/level_standards.h"
#include "core/records/statistics.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = numora::fuzzing::TheScratch();
  const std::string path = scratch.DataFolder() + "タイム回数データ.txt";
  scratch.Write(path, numora::fuzzing::Bytes(data, size));
  auto state = scratch.State();
  const numora::StandardsLoadResult loaded = numora::LoadLevelStandards(state->catalogue, path);
  std::ostringstream report;
  numora::CheckStandardsValues(state->installation, state->catalogue, loaded.entriesRead - 1,
                               report);
  // Scores of runs of every level against the loaded standards.
  for (int level = 1; level < numora::kLevelSlots; ++level) {
    for (int32_t seconds : {0, 1, 30, 99998, 99999}) {
      numora::RunPoints(state->catalogue, level, seconds);
    }
  }
  return 0;
}
