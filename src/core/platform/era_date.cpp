#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <memory>
#include <string>

#include "core/platform/dates.h"

namespace numora {

namespace {

const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};

}  // namespace

// Era name and era year come from ICU's Japanese calendar; the rest of the pattern
// "ggge年 m月 dd日（aaa）" is composed here so that the spacing is exactly the program's.
std::string FormatEraDate(double date) {
  CivilDate c = ToCivil(date);
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale locale("ja_JP@calendar=japanese");
  std::unique_ptr<icu::Calendar> cal(
      icu::Calendar::createInstance(icu::TimeZone::createTimeZone("UTC"), locale, status));
  std::string eraName;
  int eraYear = c.year;
  if (U_SUCCESS(status) && cal) {
    cal->clear();
    // Noon UTC of the civil day, so that no time zone shifts the day.
    const double days1970 = std::floor(date) - 25569.0;
    cal->setTime(days1970 * 86400000.0 + 43200000.0, status);
    eraYear = cal->get(UCAL_YEAR, status);
    // The era's name in Japanese ("令和", "平成", ...), from the locale's own era names.
    UErrorCode st = U_ZERO_ERROR;
    icu::SimpleDateFormat fmt(icu::UnicodeString("GGGG"), locale, st);
    if (U_SUCCESS(st)) {
      fmt.setTimeZone(*icu::TimeZone::getGMT());
      icu::UnicodeString name;
      fmt.format(static_cast<UDate>(days1970 * 86400000.0 + 43200000.0), name);
      name.toUTF8String(eraName);
    }
  }
  if (eraName.empty()) {
    eraName = "西暦";
  }
  std::string out = eraName + std::to_string(eraYear) + "年 " + std::to_string(c.month) + "月 ";
  if (c.day < 10) {
    out += "0";
  }
  out += std::to_string(c.day) + "日（" + kWeekdays[WeekdayOf(date)] + "）";
  return out;
}

}  // namespace numora
