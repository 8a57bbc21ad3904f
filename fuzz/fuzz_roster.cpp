// The roster file 新名簿.txt: the reading, its notice and the check.

#include <cstddef>
#include <cstdint>
#include <sstream>

#include "core/roster/roster.h"
#include "core/roster/roster_check.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = numora::fuzzing::TheScratch();
  scratch.Write(scratch.Root() + "新名簿.txt", numora::fuzzing::Bytes(data, size));
  auto state = scratch.State();
  state->installation.rosterStatusTwoActive = 1;
  const numora::RosterReading reading =
      numora::ReadRoster(state->installation, state->roster, 46366);
  numora::RosterNotice(reading);
  std::ostringstream report;
  numora::CheckRosterFile(state->installation, state->roster, 46366, report);
  return 0;
}
