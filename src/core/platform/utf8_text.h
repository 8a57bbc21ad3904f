#pragma once

// UTF-8 text measured, cut, trimmed and padded by characters (code points), as the program's
// fixed-width lines and fields count them. A byte that continues a sequence never starts a
// character, so a cut never splits one.

#include <string>
#include <string_view>

namespace numora {

// The ideographic space "　" (U+3000) that pads and separates Japanese names.
inline constexpr std::string_view kWideSpace = "\u3000";

// Number of characters of a UTF-8 text.
size_t CharCount(std::string_view utf8);
// Byte offset of the character with 0-based index n (the text's size when n is past the end).
size_t CharOffset(std::string_view utf8, size_t n);

// The first n characters, n characters from start0 (0-based; to the end by default), and the
// last n characters. Asking for more than there is gives what there is.
std::string LeftChars(std::string_view utf8, size_t n);
std::string MidChars(std::string_view utf8, size_t start0, size_t n = std::string_view::npos);
std::string RightChars(std::string_view utf8, size_t n);

// The text without half-width spaces at both ends, or at its end only.
std::string TrimSpaces(std::string_view text);
std::string TrimTrailingSpaces(std::string_view text);
// The text without half-width spaces and tabs at both ends.
std::string_view TrimBlanks(std::string_view text);
// The text without half-width spaces, tabs and ideographic spaces at both ends, as a Japanese
// input method may leave them around what was typed.
std::string TrimWideBlanks(std::string_view text);

// Right-aligned in width characters: the text with half-width spaces in front, or its last width
// characters when it is longer.
std::string AlignRight(std::string_view text, size_t width);
// Left-aligned in width characters: the text followed by as many fill pieces (one character
// each) as it falls short, or its first width characters when it is longer.
std::string FitChars(std::string_view text, size_t width, std::string_view fill = " ");

}  // namespace numora
