// CP932 conversion through the Windows code page 932 tables, for Windows builds without ICU. It
// behaves as the ICU converter does: bytes that are not CP932 become U+FFFD, characters CP932
// cannot hold become "?" (no best-fit look-alikes), each reported through ok.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/platform/cp932.h"
#include "core/platform/cp932_decode.h"
#include "core/platform/wide_text_win.h"

namespace numora {

namespace {

constexpr UINT kCp932 = 932;

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Converts CP932 bytes to UTF-16; false when a byte sequence is not CP932.
bool Cp932ToWide(std::string_view bytes, std::wstring& wide) {
  const int n = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(),
                                    static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) {
    return false;
  }
  wide.resize(static_cast<size_t>(n));
  return MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(),
                             static_cast<int>(bytes.size()), wide.data(), n) == n;
}

// UTF-16 of one code point to CP932; false when CP932 has no such character.
bool WideToCp932(std::wstring_view wide, std::string& out) {
  BOOL usedDefault = FALSE;
  char buf[8];
  const int n =
      WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                          buf, sizeof buf, "?", &usedDefault);
  if (n <= 0 || usedDefault) {
    return false;
  }
  out.append(buf, static_cast<size_t>(n));
  return true;
}

void AppendCodePoint(std::wstring& w, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    w += static_cast<wchar_t>(0xD800 + (cp >> 10));
    w += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
  } else {
    w += static_cast<wchar_t>(cp);
  }
}

}  // namespace

std::string DecodeCp932(std::string_view cp932, std::vector<size_t>* invalidOffsets) {
  if (cp932.empty()) {
    return {};
  }
  std::wstring wide;
  if (Cp932ToWide(cp932, wide)) {
    return Utf8FromWide(wide);
  }
  // Some bytes are not CP932: convert character by character, U+FFFD for each bad one.
  wide.clear();
  size_t i = 0;
  while (i < cp932.size()) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    size_t len = 1;
    if (IsLeadByte(b) && i + 1 < cp932.size() &&
        IsTrailByte(static_cast<unsigned char>(cp932[i + 1]))) {
      len = 2;
    }
    std::wstring one;
    if ((len == 2 || !IsLeadByte(b)) && Cp932ToWide(cp932.substr(i, len), one)) {
      wide += one;
    } else {
      wide += L'\xFFFD';
      if (invalidOffsets != nullptr) {
        invalidOffsets->push_back(i);
      }
    }
    i += len;
  }
  return Utf8FromWide(wide);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  return DecodeCp932(cp932, nullptr);
}

std::string Utf8ToCp932(std::string_view utf8, bool* ok) {
  if (ok != nullptr) {
    *ok = true;
  }
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    // One UTF-8 character; an invalid byte stands for itself as U+FFFD (which CP932 lacks).
    const auto b = static_cast<unsigned char>(utf8[i]);
    const size_t len = b < 0x80         ? 1
                       : (b >> 5) == 6  ? 2
                       : (b >> 4) == 14 ? 3
                       : (b >> 3) == 30 ? 4
                                        : 0;
    char32_t cp = 0xFFFD;
    if (len != 0 && i + len <= utf8.size()) {
      cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
      for (size_t k = 1; k < len; ++k) {
        cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
      }
      i += len;
    } else {
      ++i;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    std::wstring wide;
    AppendCodePoint(wide, cp);
    if (!WideToCp932(wide, out)) {
      out += '?';
      if (ok != nullptr) {
        *ok = false;
      }
    }
  }
  return out;
}

}  // namespace numora
