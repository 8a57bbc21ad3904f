#include "core/records/scoring.h"

#include <cmath>
#include <cstdlib>

#include "core/platform/saturate.h"
#include "core/records/sentinels.h"

namespace numora {

int32_t TimeDigits(int32_t seconds) {
  // The number formed by the first three characters of the decimal text (no sign, no padding).
  int64_t v = std::llabs(static_cast<int64_t>(seconds));
  while (v >= 1000) {
    v /= 10;
  }
  return static_cast<int32_t>(v);
}

int32_t RunBasePoints(int32_t targetTime, int32_t seconds) {
  // A level without a positive target time cannot be scored (the formula divides by it).
  if (seconds >= kCountsAsTimeOutFrom || targetTime <= 0) {
    return 0;
  }
  if (seconds <= targetTime) {
    const double share = static_cast<double>(targetTime - TimeDigits(seconds)) / targetTime;
    // A damaged record with a negative time could give a negative share: it earns nothing.
    return share < 0 ? 0 : SaturatingCast<int32_t>(std::floor(share * share * share * 50.0 + 5.0));
  }
  if (seconds < 2 * static_cast<int64_t>(targetTime)) {
    return 4;
  }
  if (seconds < 10 * static_cast<int64_t>(targetTime)) {
    return 1;
  }
  return 0;
}

int32_t RunPoints(const LevelCatalogue& catalogue, int level, int32_t seconds) {
  if (level < 0 || level >= kLevelSlots) {
    return 0;
  }
  const LevelStandard& standard = catalogue.standards[static_cast<size_t>(level)];
  const int32_t base = RunBasePoints(standard.targetTime, seconds);
  // The multiplier is single precision, and so is its product with the base points.
  // A damaged multiplier (1e9, infinite) saturates instead of wrapping round.
  const float product = standard.pointMultiplier * static_cast<float>(base);
  return SaturatingCast<int32_t>(std::floor(product));
}

}  // namespace numora
