#include "core/platform/collation.h"

#include <cstdint>

namespace numora {

namespace {

// Decodes the next code point of a UTF-8 text (invalid bytes stand for themselves).
char32_t NextCodePoint(std::string_view s, size_t& i) {
  auto b = static_cast<unsigned char>(s[i]);
  int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
  if (i + len > s.size()) {
    len = 1;
  }
  char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
  for (int k = 1; k < len; ++k) {
    cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  }
  i += len;
  return cp;
}

// Appends the UTF-16 code units of cp, as sort keys: "-" is given the key just after "9".
int Units(char32_t cp, uint32_t out[2]) {
  if (cp == U'-') {
    out[0] = static_cast<uint32_t>(u'9') * 2 + 1;
    return 1;
  }
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out[0] = (0xD800 + (cp >> 10)) * 2;
    out[1] = (0xDC00 + (cp & 0x3FF)) * 2;
    return 2;
  }
  out[0] = static_cast<uint32_t>(cp) * 2;
  return 1;
}

}  // namespace

bool ListLineLess(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  uint32_t ua[2], ub[2];
  int na = 0, nb = 0, pa = 0, pb = 0;
  while (true) {
    if (pa == na) {
      if (i >= a.size()) {
        break;
      }
      na = Units(NextCodePoint(a, i), ua);
      pa = 0;
    }
    if (pb == nb) {
      if (j >= b.size()) {
        return false;
      }
      nb = Units(NextCodePoint(b, j), ub);
      pb = 0;
    }
    if (ua[pa] != ub[pb]) {
      return ua[pa] < ub[pb];
    }
    ++pa, ++pb;
  }
  // a is exhausted: it is less when b still has units left.
  return pb < nb || j < b.size();
}

}  // namespace numora
