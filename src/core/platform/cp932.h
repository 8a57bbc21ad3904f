#pragma once

#include <string>
#include <string_view>

namespace numora {

// Text files and the results file's text fields are CP932 (Windows-31J: Shift-JIS with the NEC
// and IBM extensions). Inside the program all text is UTF-8. Both conversions use ICU's
// "windows-31j" converter.

// CP932 bytes to UTF-8. Bytes that are not valid CP932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932 bytes. Characters CP932 cannot hold become "?"; ok (when given) turns false.
std::string Utf8ToCp932(std::string_view utf8, bool* ok = nullptr);

// Number of characters (code points) of a UTF-8 text, and its first n characters.
size_t CharCount(std::string_view utf8);
std::string LeftChars(std::string_view utf8, size_t n);
std::string MidChars(std::string_view utf8, size_t start0, size_t n = std::string_view::npos);
std::string RightChars(std::string_view utf8, size_t n);

}  // namespace numora
