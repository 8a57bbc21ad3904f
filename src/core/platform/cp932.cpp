#include "core/platform/cp932.h"

#include <algorithm>
#include <vector>

#include "core/platform/cp932_decode.h"

namespace numora {

namespace {

// Length of the valid UTF-8 sequence at s[i] (no overlong forms, no surrogates, at most
// U+10FFFF); 0 when the bytes there are not one.
size_t Utf8SequenceAt(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) {
    return 1;
  }
  size_t len = 0;
  char32_t cp = 0;
  char32_t least = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2, cp = b & 0x1F, least = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, cp = b & 0x0F, least = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, cp = b & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) {
    return 0;
  }
  for (size_t k = 1; k < len; ++k) {
    const auto t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) {
      return 0;
    }
    cp = (cp << 6) | (t & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  return len;
}

// True when the text is valid UTF-8 with at least one character beyond ASCII.
bool LooksLikeUtf8(std::string_view s) {
  bool beyondAscii = false;
  for (size_t i = 0; i < s.size();) {
    const size_t len = Utf8SequenceAt(s, i);
    if (len == 0) {
      return false;
    }
    beyondAscii = beyondAscii || len > 1;
    i += len;
  }
  return beyondAscii;
}

// UTF-8 with every invalid byte replaced by U+FFFD.
std::string CleanUtf8(std::string_view s, std::vector<size_t>& invalidOffsets) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const size_t len = Utf8SequenceAt(s, i);
    if (len == 0) {
      invalidOffsets.push_back(i);
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(s, i, len);
      i += len;
    }
  }
  return out;
}

// The 1-based lines of sorted byte offsets (a line ends at LF, at CR LF or at a lone CR), each
// line once.
void ListLines(std::string_view s, const std::vector<size_t>& offsets, DecodedText& text) {
  int line = 1;
  size_t pos = 0;
  int lastListed = 0;
  for (const size_t at : offsets) {
    for (; pos < at && pos < s.size(); ++pos) {
      if (s[pos] == '\n' || (s[pos] == '\r' && (pos + 1 >= s.size() || s[pos + 1] != '\n'))) {
        ++line;
      }
    }
    if (line == lastListed) {
      continue;
    }
    lastListed = line;
    ++text.invalidLineCount;
    if (text.invalidLines.size() < DecodedText::kMaxListedLines) {
      text.invalidLines.push_back(line);
    }
  }
}

}  // namespace

DecodedText DecodeTextFile(std::string_view bytes) {
  DecodedText text;
  const size_t mark = bytes.find('\x1A');
  if (mark != std::string_view::npos) {
    bytes = bytes.substr(0, mark);
    text.endMarkCut = true;
  }
  std::vector<size_t> invalid;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    text.encoding = TextEncoding::Utf8WithBom;
    bytes.remove_prefix(3);
    text.utf8 = CleanUtf8(bytes, invalid);
  } else if (LooksLikeUtf8(bytes)) {
    text.encoding = TextEncoding::Utf8;
    text.utf8 = std::string(bytes);
  } else {
    text.encoding = TextEncoding::Cp932;
    text.utf8 = DecodeCp932(bytes, &invalid);
  }
  std::sort(invalid.begin(), invalid.end());
  ListLines(bytes, invalid, text);
  return text;
}

}  // namespace numora
