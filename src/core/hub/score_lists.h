#pragma once

// The hub's score lists, built as text lines: the best-time and points rankings of one level,
// today's runs and all runs of a period, and the list colour of the time view. Every line begins
// with the field that decides its place, and the lines come back already in list order
// (ListLineLess), so a list widget shows them as they are.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/installation/level_catalogue.h"
#include "core/records/statistics_tables.h"
#include "core/roster/roster_tables.h"

namespace numora {

// View kinds of the hub's lists.
inline constexpr int kHubTimeView = 1;
inline constexpr int kHubPointsView = 2;
// Points rankings.
inline constexpr int kCumulativeRanking = 1;
inline constexpr int kTodayRanking = 2;

// Background colours of the time view's lists (&H00BBGGRR).
inline constexpr uint32_t kListGreen = 0x00C000;       // every run met the target time
inline constexpr uint32_t kListLightGreen = 0xC0FFC0;  // every run met at least the minimum time
inline constexpr uint32_t kListGrey = 0xC0C0C0;
inline constexpr uint32_t kListTemplateColour = 0xC0FFFF;  // light yellow, before any colouring

// Field pieces of the list lines. Counts are in characters; "　" is U+3000.
std::string R2(long long n);                     // right-aligned in two characters
std::string Name5(std::string_view rosterName);  // trimmed, padded with "　", first five
std::string Time5(int32_t seconds);              // "  47秒"
std::string Clock5(double runTime);              // "HH:MM"
std::string Date5(double runDate);               // "MM/DD"

// A pupil's grade number from the roster tables (school year − birth year − 6).
int PupilGradeNumber(const RosterTables& roster, int pupil);
// "●" for the pupil at the hub, otherwise the pupil's grade mark.
std::string PupilMark(const RosterTables& roster, int pupil, int currentPupil);

// Days the all-runs list covers for period 1..5 on the given day: this week (from Monday),
// since last week, 30 days, 365 days, 3650 days.
int AllResultsPeriodDays(int period, double now);

// One built list.
struct ScoreList {
  std::vector<std::string> lines;  // in list order
  int scrollTo = -1;               // the line to bring into view, -1 for none
  std::optional<uint32_t> colour;  // new background colour; none keeps the list's colour
  // Rankings only: the pupil number of each line, so that a pupil's own line is found by number
  // rather than by a name that another pupil's name may contain.
  std::vector<int> linePupils;
};

// What every list builder needs besides the state groups.
struct ListOptions {
  int currentPupil = 0;
  std::string filterText;  // grade filter, as in the hub's grade box
  int viewMode = kHubPointsView;
  int rankingKind = kCumulativeRanking;
};

// The ranking of one level over every listed pupil (roster order 1..count): by best time
// in the time view, by points (cumulative or today's) in the points view. Ranks count every
// member, the grade filter only hides lines. Scrolls to the line above the pupil's own line.
ScoreList BuildRankingList(const RosterTables& roster, const StatisticsTables& stats, int level,
                           const ListOptions& options);

// Today's runs of every level (index 1..levelCount; index 0 unused), read from the last 1000 of
// the records, in the time view's format, with the colour rule applied.
std::vector<ScoreList> BuildTodayRunLists(const LevelCatalogue& catalogue,
                                          const RosterTables& roster,
                                          const std::vector<ResultEntry>& records, double now,
                                          const ListOptions& options);

// All runs of the period (1..5) of every level, read from the last 20000 of the records, in the
// format of options.viewMode; the colour rule in the time view.
std::vector<ScoreList> BuildAllRunLists(const LevelCatalogue& catalogue, const RosterTables& roster,
                                        const std::vector<ResultEntry>& records, double now,
                                        int period, const ListOptions& options);

// The colour rule of the time view for one level's lines (in list order): green when the slowest
// listed run met the target time, light green when it met the minimum time, grey otherwise;
// none when the list holds no timed line.
std::optional<uint32_t> TimeListColour(const LevelCatalogue& catalogue, int level,
                                       const std::vector<std::string>& lines);

// Sorts lines into list order.
void SortListLines(std::vector<std::string>& lines);

}  // namespace numora
