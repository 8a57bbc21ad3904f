// The results file read by the scan and the statistics rebuilt from it.

#include <cstddef>
#include <cstdint>

#include "core/records/results_file.h"
#include "core/records/results_scan.h"
#include "core/records/statistics.h"
#include "fuzz_support.h"
#include "support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = numora::fuzzing::TheScratch();
  auto state = scratch.State();
  scratch.Write(numora::ResultsFilePath(state->installation), numora::fuzzing::Bytes(data, size));
  for (int level = 1; level <= 4; ++level) {
    auto& s = state->catalogue.standards[static_cast<size_t>(level)];
    s.targetTime = 40;
    s.minimumTime = 60;
    s.clearPoints = 100;
    s.clearCount = 5;
    s.pointMultiplier = 1.5F;
    s.passPeriodDays = 7;
    s.overPracticePeriodDays = 3;
  }
  numora::FakeServices fake;
  numora::RebuildStatistics(*state, fake.services);
  return 0;
}
