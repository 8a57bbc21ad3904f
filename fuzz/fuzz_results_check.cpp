// The results file read by numora-data check.

#include <cstddef>
#include <cstdint>
#include <sstream>

#include "core/records/results_check.h"
#include "core/records/results_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = numora::fuzzing::TheScratch();
  auto state = scratch.State();
  scratch.Write(numora::ResultsFilePath(state->installation), numora::fuzzing::Bytes(data, size));
  std::ostringstream report;
  numora::CheckResultsFile(state->installation, report);
  return 0;
}
