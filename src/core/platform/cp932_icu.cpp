#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utypes.h>

#include <mutex>
#include <string>
#include <vector>

#include "core/platform/cp932.h"
#include "core/platform/cp932_decode.h"

namespace numora {

namespace {

// One converter for the whole program; ICU converters are not thread-safe, so calls are serialised.
struct Converter {
  UConverter* cnv = nullptr;
  std::mutex mutex;
  Converter() {
    UErrorCode status = U_ZERO_ERROR;
    cnv = ucnv_open("windows-31j", &status);
    if (U_FAILURE(status)) {
      cnv = nullptr;
    }
  }
  ~Converter() {
    if (cnv != nullptr) {
      ucnv_close(cnv);
    }
  }
};

Converter& Cp932() {
  static Converter c;
  return c;
}

std::string Utf16ToUtf8(const std::u16string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

// Decodes UTF-8 into code points; an invalid byte stands for itself as U+FFFD.
std::vector<char32_t> CodePoints(std::string_view s) {
  std::vector<char32_t> cps;
  cps.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
      cps.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    cps.push_back(cp);
    i += len;
  }
  return cps;
}

// Collects the source offsets of byte sequences the converter could not map, and puts U+FFFD in
// their place.
struct InvalidBytes {
  const char* base = nullptr;
  std::vector<size_t> offsets;
};

void OnInvalidCp932(const void* context, UConverterToUnicodeArgs* args, const char* /*codeUnits*/,
                    int32_t length, UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) {
    return;  // reset, close or clone: nothing to replace
  }
  auto* sink = static_cast<InvalidBytes*>(const_cast<void*>(context));
  const ptrdiff_t at = args->source - sink->base - length;
  sink->offsets.push_back(at < 0 ? 0 : static_cast<size_t>(at));
  *err = U_ZERO_ERROR;
  static const UChar kReplacement = 0xFFFD;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, err);
}

}  // namespace

// CP932 to UTF-8 with every invalid sequence replaced by U+FFFD; offsets of those sequences go to
// invalidOffsets when given.
std::string DecodeCp932(std::string_view cp932, std::vector<size_t>* invalidOffsets) {
  if (cp932.empty()) {
    return {};
  }
  Converter& c = Cp932();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.cnv == nullptr) {
    return std::string(cp932);
  }
  std::u16string buf(cp932.size() * 2 + 2, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  ucnv_reset(c.cnv);
  InvalidBytes sink;
  sink.base = cp932.data();
  UConverterToUCallback oldAction = nullptr;
  const void* oldContext = nullptr;
  ucnv_setToUCallBack(c.cnv, OnInvalidCp932, &sink, &oldAction, &oldContext, &status);
  int32_t n =
      ucnv_toUChars(c.cnv, reinterpret_cast<UChar*>(buf.data()), static_cast<int32_t>(buf.size()),
                    cp932.data(), static_cast<int32_t>(cp932.size()), &status);
  UErrorCode restore = U_ZERO_ERROR;
  ucnv_setToUCallBack(c.cnv, oldAction, oldContext, nullptr, nullptr, &restore);
  if (U_FAILURE(status)) {
    return {};
  }
  buf.resize(static_cast<size_t>(n));
  if (invalidOffsets != nullptr) {
    *invalidOffsets = std::move(sink.offsets);
  }
  return Utf16ToUtf8(buf);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  return DecodeCp932(cp932, nullptr);
}

std::string Utf8ToCp932(std::string_view utf8, bool* ok) {
  if (ok != nullptr) {
    *ok = true;
  }
  if (utf8.empty()) {
    return {};
  }
  std::u16string u16;
  for (char32_t cp : CodePoints(utf8)) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      u16 += static_cast<char16_t>(0xD800 + (cp >> 10));
      u16 += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      u16 += static_cast<char16_t>(cp);
    }
  }
  Converter& c = Cp932();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.cnv == nullptr) {
    return std::string(utf8);
  }
  std::string out;
  out.reserve(u16.size() * 2);
  // Convert one code point at a time so that a character CP932 cannot hold becomes "?".
  for (size_t i = 0; i < u16.size(); ++i) {
    size_t len = (u16[i] >= 0xD800 && u16[i] < 0xDC00 && i + 1 < u16.size()) ? 2 : 1;
    char buf[8];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(c.cnv);
    ucnv_setFromUCallBack(c.cnv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    int32_t n = ucnv_fromUChars(c.cnv, buf, sizeof buf, reinterpret_cast<const UChar*>(&u16[i]),
                                static_cast<int32_t>(len), &status);
    if (U_FAILURE(status) || n <= 0) {
      out += '?';
      if (ok != nullptr) {
        *ok = false;
      }
    } else {
      out.append(buf, static_cast<size_t>(n));
    }
    i += len - 1;
  }
  return out;
}

}  // namespace numora
