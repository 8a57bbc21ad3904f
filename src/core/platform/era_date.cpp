#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <memory>
#include <string>

#include "core/platform/era_of.h"

namespace numora {

// Era name and era year from ICU's Japanese calendar.
EraYear EraOf(double date, const CivilDate& c) {
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
  return {eraName, eraYear};
}

}  // namespace numora
