#include "core/records/record_checks.h"

#include <cmath>

#include "core/installation/table_sizes.h"

namespace numora {

bool IsPlaceable(int pupil, int level) {
  return pupil >= 0 && pupil < kPupilSlots && level >= 0 && level < kLevelSlots;
}

const char* RecordDamage(double runDate, double runTime, int32_t seconds) {
  if (!std::isfinite(runDate)) {
    return "日付が数ではありません";
  }
  if (runDate >= 0 && (runDate < kFirstRunDate || runDate >= kLastRunDate + 1)) {
    return "日付が1900年～2200年の範囲にありません";
  }
  if (!std::isfinite(runTime) || runTime < 0 || runTime >= 1) {
    return "時刻が1日の範囲にありません";
  }
  if (seconds < 0 || seconds > kMaxStoredSeconds) {
    return "秒数が0～99999の範囲にありません";
  }
  return nullptr;
}

}  // namespace numora
