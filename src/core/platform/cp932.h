#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the codec converts is measured and cut by characters with these.
#include "core/platform/utf8_text.h"

namespace numora {

// Text files and the results file's text fields are CP932 (Windows-31J: Shift-JIS with the NEC
// and IBM extensions). Inside the program all text is UTF-8. Both conversions use ICU's
// "windows-31j" converter, or the system's code page 932 tables on Windows builds without ICU.

// CP932 bytes to UTF-8. Bytes that are not valid CP932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// How a hand-edited text file was saved.
enum class TextEncoding {
  Cp932,        // the program's own encoding
  Utf8,         // UTF-8 without a byte-order mark
  Utf8WithBom,  // UTF-8 starting with the byte-order mark EF BB BF
};

// A text file's bytes as UTF-8 text, and what was found on the way.
struct DecodedText {
  std::string utf8;
  TextEncoding encoding = TextEncoding::Cp932;
  // Lines (1-based) holding bytes that are not valid in the file's encoding (each became U+FFFD),
  // in order, each line once; at most kMaxListedLines of them are listed.
  std::vector<int> invalidLines;
  size_t invalidLineCount = 0;  // all such lines, listed or not
  bool endMarkCut = false;      // a DOS end-of-file mark (0x1A) ended the text early
  static constexpr size_t kMaxListedLines = 20;
};

// Decodes the bytes of a text file. The text ends at the first DOS end-of-file mark (0x1A). A file
// starting with the UTF-8 byte-order mark is UTF-8 (the mark is dropped); a file that is valid
// UTF-8 and holds at least one character beyond ASCII is UTF-8 too (Notepad saves so); anything
// else is CP932. Invalid byte sequences become U+FFFD and their lines are listed. Linear in the
// size of the bytes.
DecodedText DecodeTextFile(std::string_view bytes);

// UTF-8 to CP932 bytes. Characters CP932 cannot hold become "?"; ok (when given) turns false.
std::string Utf8ToCp932(std::string_view utf8, bool* ok = nullptr);

}  // namespace numora
