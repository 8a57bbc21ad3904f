// The field reader and the text decoding every text file goes through.

#include <cstddef>
#include <cstdint>

#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = numora::fuzzing::Bytes(data, size);
  const numora::DecodedText text = numora::DecodeTextFile(bytes);
  if (text.invalidLines.size() > numora::DecodedText::kMaxListedLines) {
    __builtin_trap();
  }
  numora::FieldReader in = numora::FieldReader::FromBytes(bytes);
  int i = 0;
  while (!in.AtEnd()) {
    switch (i++ % 3) {
      case 0:
        in.NextText();
        break;
      case 1:
        in.NextValue().Text();
        break;
      default:
        in.NextNumber();
        break;
    }
  }
  in.NextText();  // past the end
  if (!in.pastEnd()) {
    __builtin_trap();
  }
  // What the program writes back stays CP932.
  numora::Utf8ToCp932(text.utf8);
  return 0;
}
