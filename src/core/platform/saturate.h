#pragma once

// Conversions and sums that stay defined whatever a damaged file holds: a floating-point value
// beyond an integer type's range becomes the nearest end of the range (NaN becomes 0), and a sum
// that would overflow stops at the end of the range.

#include <cmath>
#include <cstdint>
#include <limits>

namespace numora {

template <class Int>
Int SaturatingCast(double v) {
  if (std::isnan(v)) {
    return Int{0};
  }
  constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
  // The largest value as a double may round up past the range: compare with >=.
  constexpr double hi = static_cast<double>(std::numeric_limits<Int>::max());
  if (v <= lo) {
    return std::numeric_limits<Int>::min();
  }
  if (v >= hi) {
    return std::numeric_limits<Int>::max();
  }
  return static_cast<Int>(v);
}

inline int32_t SaturatingAdd(int32_t a, int32_t b) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  if (sum > std::numeric_limits<int32_t>::max()) {
    return std::numeric_limits<int32_t>::max();
  }
  if (sum < std::numeric_limits<int32_t>::min()) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(sum);
}

}  // namespace numora
