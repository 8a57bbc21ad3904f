// The path file パスデータ.txt, read by the start-up set-up (which goes on to the files the data
// root it names holds, if any).

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/installation/installation.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = numora::fuzzing::TheScratch();
  scratch.Write(scratch.PathFile(), numora::fuzzing::Bytes(data, size));
  auto state = scratch.State();
  std::string error;
  std::string notice;
  numora::SetUpPathsAndSettings(*state, scratch.ProgramFolder(), error, &notice);
  return 0;
}
