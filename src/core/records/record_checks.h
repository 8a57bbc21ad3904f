#pragma once

// Which stored records the figures can use. A record whose pupil or level lies outside the tables
// cannot be placed; a record with a date, time of day or seconds no run can have is damaged. Both
// are left out of every figure (no entry, no best time) and reported.

#include <cstdint>

namespace numora {

// The dates a run can have: 1 January 1900 up to 31 December 2200. A negative date is no damage:
// it marks a record that is kept out of the entries on purpose (it still counts for best times).
inline constexpr double kFirstRunDate = 2;      // 1900-01-01
inline constexpr double kLastRunDate = 109939;  // 2200-12-31
inline constexpr int32_t kMaxStoredSeconds = 99999;

// True when the pupil and level fit the tables (pupil 0–5000, level 0–35).
bool IsPlaceable(int pupil, int level);

// Why a record is damaged, as a short Japanese phrase; nullptr when it is not: a date that is not
// a finite number or (when not negative) outside 1900–2200, a time of day outside one day, seconds
// below 0 or above 99999.
const char* RecordDamage(double runDate, double runTime, int32_t seconds);

}  // namespace numora
