#pragma once

#include <string>

namespace numora {

// Dates are doubles counting days since 30 December 1899 (day 0); the fraction is the time of day.
struct CivilDate {
  int year = 1899;
  int month = 12;
  int day = 30;
};

double MakeDate(int year, int month, int day);  // whole days
double MakeDateTime(int year, int month, int day, int hour, int minute, double second);
CivilDate ToCivil(double date);        // of the whole-day part
int WeekdayOf(double date);            // 0 Sunday … 6 Saturday
double TimeOfDaySeconds(double date);  // fraction × 86400

// The time of day of a moment in whole seconds, as the fraction of the day that a record stores:
// 09:59:59.6 gives 09:59:59. A moment less than a millisecond below a whole second (the error a
// day count carries) counts as that second.
double WholeSecondTimeOfDay(double moment);

// "YYYY/MM/DD" and "HH:MM:SS" as the program's lists and exports write dates and times; the time
// in whole seconds (WholeSecondTimeOfDay).
std::string FormatShortDate(double date);
std::string FormatTimeOfDay(double date);

// The pattern "ggge年 m月 dd日（aaa）" through ICU's Japanese calendar:
// 10 December 2026 gives "令和8年 12月 10日（木）".
std::string FormatEraDate(double date);

}  // namespace numora
