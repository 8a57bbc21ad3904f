// The Japanese-era date for Windows builds without ICU: the eras of the modern calendar from a
// table (the same first days as ICU's Japanese calendar), composed into the date line by
// FormatEraDate. Dates before the first era of the table are written with "西暦".

#include <string>

#include "core/platform/era_of.h"

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

}  // namespace

EraYear EraOf(double /*date*/, const CivilDate& c) {
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
  return {eraName, eraYear};
}

}  // namespace numora
