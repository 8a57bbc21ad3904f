// The common settings file 共通データ.txt, read by the start-up set-up of a scratch installation
// whose other files are sound, and the school year and grades that follow from it.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/installation/installation.h"
#include "core/installation/installation_check.h"
#include "core/platform/cp932.h"
#include "core/roster/roster.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = numora::fuzzing::TheScratch();
  static const bool prepared = [&] {
    scratch.Write(scratch.PathFile(), scratch.Root() + ",,,,,,,,,\r\n");
    scratch.Write(
        scratch.DataFolder() + "タイム回数データ.txt",
        numora::Utf8ToCp932("目標Time,最低Time,,,,,,,,,,\r\n40,60,100,5,1,0,0,7,3,,,\r\n"));
    scratch.Write(scratch.SoundFolder() + "新音ファイル.txt",
                  numora::Utf8ToCp932("正解音2\r\na\r\n*\r\n"));
    scratch.Write(scratch.Root() + "新名簿.txt", numora::Utf8ToCp932("12,2015,0,0,山田,0,,\r\n"));
    return true;
  }();
  (void)prepared;
  scratch.Write(scratch.Root() + "共通データ.txt", numora::fuzzing::Bytes(data, size));
  auto state = scratch.State();
  std::string error;
  if (numora::SetUpPathsAndSettings(*state, scratch.ProgramFolder(), error)) {
    std::ostringstream report;
    numora::CheckInstallationTexts(state->installation, report);
    numora::ReadRoster(state->installation, state->roster, 46366);
  }
  return 0;
}
