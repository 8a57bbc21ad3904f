#include "core/platform/utf8_text.h"

namespace numora {

namespace {

bool ContinuesSequence(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

size_t CharCount(std::string_view utf8) {
  size_t n = 0;
  for (char c : utf8) {
    if (!ContinuesSequence(c)) {
      ++n;
    }
  }
  return n;
}

size_t CharOffset(std::string_view utf8, size_t n) {
  size_t i = 0;
  while (i < utf8.size() && n > 0) {
    ++i;
    while (i < utf8.size() && ContinuesSequence(utf8[i])) {
      ++i;
    }
    --n;
  }
  return i;
}

std::string LeftChars(std::string_view utf8, size_t n) {
  return std::string(utf8.substr(0, CharOffset(utf8, n)));
}

std::string MidChars(std::string_view utf8, size_t start0, size_t n) {
  const std::string_view rest = utf8.substr(CharOffset(utf8, start0));
  if (n == std::string_view::npos) {
    return std::string(rest);
  }
  return std::string(rest.substr(0, CharOffset(rest, n)));
}

std::string RightChars(std::string_view utf8, size_t n) {
  const size_t count = CharCount(utf8);
  if (n >= count) {
    return std::string(utf8);
  }
  return MidChars(utf8, count - n);
}

std::string TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return std::string(text.substr(first, text.find_last_not_of(' ') + 1 - first));
}

std::string TrimTrailingSpaces(std::string_view text) {
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string TrimWideBlanks(std::string_view text) {
  for (bool again = true; again;) {
    again = false;
    if (!text.empty() && IsBlank(text.front())) {
      text.remove_prefix(1);
      again = true;
    } else if (text.starts_with(kWideSpace)) {
      text.remove_prefix(kWideSpace.size());
      again = true;
    }
    if (!text.empty() && IsBlank(text.back())) {
      text.remove_suffix(1);
      again = true;
    } else if (text.ends_with(kWideSpace)) {
      text.remove_suffix(kWideSpace.size());
      again = true;
    }
  }
  return std::string(text);
}

std::string AlignRight(std::string_view text, size_t width) {
  std::string padded(width, ' ');
  padded += text;
  return RightChars(padded, width);
}

std::string FitChars(std::string_view text, size_t width, std::string_view fill) {
  const size_t count = CharCount(text);
  if (count >= width) {
    return LeftChars(text, width);
  }
  std::string fitted(text);
  for (size_t i = count; i < width; ++i) {
    fitted += fill;
  }
  return fitted;
}

}  // namespace numora
