#pragma once

// A small program state for the hub's core tests: four levels with known standards, a school
// year and a roster filled pupil by pupil.

#include <memory>
#include <string>

#include "core/installation/app_state.h"
#include "core/platform/dates.h"

namespace numora::testing {

inline constexpr int kSchoolYear = 2026;

// Birth year of a pupil of the given grade number in kSchoolYear.
inline int16_t BirthYearForGrade(int grade) {
  return static_cast<int16_t>(kSchoolYear - 6 - grade);
}

inline std::unique_ptr<AppState> MakeHubState() {
  auto s = std::make_unique<AppState>();
  s->catalogue.levelCount = 4;
  s->catalogue.finalLevel = 4;
  s->roster.schoolYear = kSchoolYear;
  s->catalogue.title = "ヌモラ";
  for (int level = 1; level <= 4; ++level) {
    s->catalogue.levelNames[static_cast<size_t>(level)] = "ﾚﾍﾞﾙ" + std::to_string(level);
    LevelStandard& st = s->catalogue.standards[static_cast<size_t>(level)];
    st.targetTime = 30 * level;
    st.minimumTime = 60 * level;
    st.clearPoints = 100;
    st.clearCount = 3;
    st.pointMultiplier = 1.5F;
    st.passPeriodDays = 7;
    st.overPracticePeriodDays = 1;
  }
  for (auto& cell : s->stats.bestTime.cells) cell = 99999;
  return s;
}

// Adds a listed pupil at the end of the roster order.
inline void AddPupil(AppState& s, int pupil, const std::string& name, int grade) {
  std::string stored = name;
  s.roster.names[static_cast<size_t>(pupil)] = stored + std::string(10, ' ');
  s.roster.birthYears[static_cast<size_t>(pupil)] = BirthYearForGrade(grade);
  s.roster.count = static_cast<int16_t>(s.roster.count + 1);
  s.roster.order[static_cast<size_t>(s.roster.count)] = static_cast<int16_t>(pupil);
}

inline ResultEntry Record(double date, int hour, int minute, int pupil, int level, int seconds) {
  ResultEntry e;
  e.runDate = date;
  e.runTime = (hour * 3600.0 + minute * 60.0) / 86400.0;
  e.pupilNumber = static_cast<int16_t>(pupil);
  e.level = static_cast<int16_t>(level);
  e.seconds = seconds;
  return e;
}

}  // namespace numora::testing
