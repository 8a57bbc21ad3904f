#include "core/platform/cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utypes.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

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

// Byte offset of the n-th character of a UTF-8 text (its size when n is past the end).
size_t OffsetOfChar(std::string_view s, size_t n) {
  size_t i = 0;
  while (i < s.size() && n > 0) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) {
      ++i;
    }
    --n;
  }
  return i;
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

std::string Cp932ToUtf8(std::string_view cp932) {
  return DecodeCp932(cp932, nullptr);
}

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

size_t CharCount(std::string_view utf8) {
  size_t n = 0;
  for (unsigned char ch : utf8) {
    if ((ch & 0xC0) != 0x80) {
      ++n;
    }
  }
  return n;
}

std::string LeftChars(std::string_view utf8, size_t n) {
  return std::string(utf8.substr(0, OffsetOfChar(utf8, n)));
}

std::string MidChars(std::string_view utf8, size_t start0, size_t n) {
  size_t from = OffsetOfChar(utf8, start0);
  std::string_view rest = utf8.substr(from);
  if (n == std::string_view::npos) {
    return std::string(rest);
  }
  return std::string(rest.substr(0, OffsetOfChar(rest, n)));
}

std::string RightChars(std::string_view utf8, size_t n) {
  size_t count = CharCount(utf8);
  if (n >= count) {
    return std::string(utf8);
  }
  return MidChars(utf8, count - n);
}

}  // namespace numora
