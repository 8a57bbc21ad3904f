// The Japanese-era date for Windows builds without ICU: the eras of the modern calendar from a
// table (the same first days as ICU's Japanese calendar), composed into the pattern
// "ggge年 m月 dd日（aaa）". Dates before the first era of the table are written with "西暦".

#include <string>

#include "core/platform/dates.h"

namespace numora {

namespace {

struct Era {
  const char* name;
  int year, month, day;  // first day of the era
};

// Newest first.
constexpr Era kEras[] = {
    {"令和", 2019, 5, 1},  {"平成", 1989, 1, 8}, {"昭和", 1926, 12, 25},
    {"大正", 1912, 7, 30}, {"明治", 1868, 9, 8},
};

const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};

}  // namespace

std::string FormatEraDate(double date) {
  const CivilDate c = ToCivil(date);
  std::string eraName = "西暦";
  int eraYear = c.year;
  const double day = MakeDate(c.year, c.month, c.day);
  for (const Era& era : kEras) {
    if (day >= MakeDate(era.year, era.month, era.day)) {
      eraName = era.name;
      eraYear = c.year - era.year + 1;
      break;
    }
  }
  std::string out = eraName + std::to_string(eraYear) + "年 " + std::to_string(c.month) + "月 ";
  if (c.day < 10) {
    out += "0";
  }
  out += std::to_string(c.day) + "日（" + kWeekdays[WeekdayOf(date)] + "）";
  return out;
}

}  // namespace numora
