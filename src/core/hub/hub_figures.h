#pragma once

// The hub's figures and rules outside the score lists: the texts of a level column, the header
// lines, the teacher test, which levels may be started, and the shortcut keys.

#include <string>
#include <string_view>
#include <vector>

#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"
#include "core/installation/session.h"
#include "core/records/statistics_tables.h"

namespace numora {

// "最近7日=3回 / 120点": the recent-period line of a level for the current pupil.
std::string RecentPeriodLine(const LevelCatalogue& catalogue, const Session& session,
                             const StatisticsTables& stats, int level);
// "目標=30秒 3回/100点(×1.5)", or "目標=30秒 --------" for a level without clear points.
std::string TargetLine(const LevelCatalogue& catalogue, int level);
// "2回/110点", or "-----" without a run today.
std::string TodayFigures(const Session& session, const StatisticsTables& stats, int level);
// "12回/480点", or "------" without any run.
std::string AllTimeFigures(const Session& session, const StatisticsTables& stats, int level);

// Sum of the current pupil's todayRuns over levels 1..35.
int TodayTotalRuns(const Session& session, const StatisticsTables& stats);
// "本日総回数＝3回".
std::string TodayTotalRunsLine(int todayTotalRuns);
// "起動後12分": whole minutes since pupilStartTime at the given timer value (seconds since
// midnight). A start before midnight counts on into the next day.
std::string MinutesSinceStartLine(int32_t pupilStartTime, double timer);
// Grade and trimmed name; school and pupil number.
std::string PupilLine(const Session& session);
std::string SchoolLine(const InstallationSettings& installation, const Session& session);
// Font size of the title: 20 for a title longer than 9 characters, else 24.
int TitleFontSize(std::string_view title);

// Which start buttons are enabled and which levels show "やりすぎ禁止", levels 1..levelCount
// (index 0 unused). Also sets finalLevelCleared.
struct LevelAvailability {
  std::vector<bool> enabled;
  std::vector<bool> overPractised;
};
bool FinalLevelCleared(const LevelCatalogue& catalogue, const Session& session,
                       const StatisticsTables& stats);
LevelAvailability ComputeLevelAvailability(const LevelCatalogue& catalogue, const Session& session,
                                           StatisticsTables& stats);

// The level a typed character starts ("1".."9", "a".."d" for 10..13), 0 for none; -1 for "0"
// (back to the selection screen).
int ShortcutLevel(std::string_view typed, int levelCount);

}  // namespace numora
