#pragma once

#include <cstdint>

namespace numora {

// Colours are written &H00BBGGRR: blue, green and red bytes from high to low.
struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
};

constexpr Rgb FromBgr(uint32_t bbggrr) {
  return {static_cast<int>(bbggrr & 0xFF), static_cast<int>((bbggrr >> 8) & 0xFF),
          static_cast<int>((bbggrr >> 16) & 0xFF)};
}

}  // namespace numora
