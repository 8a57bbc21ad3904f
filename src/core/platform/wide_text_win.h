#pragma once

// UTF-8 text to and from the UTF-16 that every wide-character Windows API takes. Windows builds
// only: the program keeps all text, file names included, in UTF-8 and converts at the API.

#include <windows.h>

#include <string>
#include <string_view>

namespace numora {

inline std::wstring WideFromUtf8(std::string_view utf8) {
  if (utf8.empty()) {
    return {};
  }
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  }
  return wide;
}

inline std::string Utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) {
    return {};
  }
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                        nullptr, nullptr);
  }
  return utf8;
}

}  // namespace numora
