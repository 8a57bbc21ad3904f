#include "core/platform/dates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/platform/era_of.h"

namespace numora {

namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

CivilDate CivilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// 1899-12-30 counted from 1970-01-01.
constexpr long long kEpochOffset = -25569;

}  // namespace

double MakeDate(int year, int month, int day) {
  return static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset);
}

double MakeDateTime(int year, int month, int day, int hour, int minute, double second) {
  return MakeDate(year, month, day) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

namespace {

// The whole day of a date as an integer. A damaged date (not a number, or millions of years away)
// is held to a range the calendar arithmetic can take without overflowing.
long long WholeDays(double date) {
  constexpr double kLimit = 1e9;
  if (std::isnan(date)) {
    return 0;
  }
  return static_cast<long long>(std::floor(std::clamp(date, -kLimit, kLimit)));
}

}  // namespace

CivilDate ToCivil(double date) {
  return CivilFromDays(WholeDays(date) + kEpochOffset);
}

int WeekdayOf(double date) {
  // Day 0 (1899-12-30) was a Saturday.
  long long d = WholeDays(date);
  return static_cast<int>(((d + 6) % 7 + 7) % 7);
}

// The date in the pattern "ggge年 m月 dd日（aaa）": era name and era year from EraOf, the rest
// composed here so that the spacing is exactly the program's on every system.
std::string FormatEraDate(double date) {
  static const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
  const CivilDate c = ToCivil(date);
  const EraYear era = EraOf(date, c);
  std::string out = era.name + std::to_string(era.year) + "年 " + std::to_string(c.month) + "月 ";
  if (c.day < 10) {
    out += "0";
  }
  out += std::to_string(c.day) + "日（" + kWeekdays[WeekdayOf(date)] + "）";
  return out;
}

double TimeOfDaySeconds(double date) {
  return (date - std::floor(date)) * 86400.0;
}

double WholeSecondTimeOfDay(double moment) {
  // A day count near 46000 holds the time of day to about a microsecond only, and moments moved on
  // in steps gather more error: less than a millisecond before a whole second counts as it.
  double seconds = std::floor(TimeOfDaySeconds(moment) + 1e-3);
  if (seconds >= 86400) {
    seconds = 86399;
  }
  return seconds / 86400.0;
}

std::string FormatShortDate(double date) {
  CivilDate c = ToCivil(date);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", c.year, c.month, c.day);
  return buf;
}

std::string FormatTimeOfDay(double date) {
  // Whole seconds of the clock: a time stored with a fraction (by an older copy) is not rounded
  // up into the next second or minute.
  const auto s = static_cast<long long>(std::llround(WholeSecondTimeOfDay(date) * 86400.0));
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, (s / 60) % 60, s % 60);
  return buf;
}

}  // namespace numora
