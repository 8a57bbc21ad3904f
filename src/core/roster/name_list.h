#pragma once

// The lines of the selection screen's name list: one work line per listed pupil (sorted), the
// visible lines that pass the grade filter, and the parallel lines that carry each pupil's number.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/installation/app_state.h"
#include "core/platform/services.h"
#include "core/roster/roster.h"

namespace numora {

// Which pair of figures the list shows.
enum NameListView : int {
  kRunsView = 0,     // runs today / runs in total
  kPointsView = 1,   // points today / points in total
  kTodayView = 2,    // points today / runs today
  kAllTimeView = 3,  // points in total / runs in total
};

inline constexpr const char* kDashLine = "－－－－－－";
inline constexpr const char* kChooseName = "名前を選びなさい";
inline constexpr std::array<const char*, 4> kViewCaptions = {
    "回数(今日／今まで）", "ポイント（今日／今まで）", "本日（ポイント／回数）",
    "今まで（ポイント／回数）"};

// "幼-" "幼1" "幼2" "幼3", "小1"–"小6", "中1"–"中3", "高1"–"高3", "大+" by grade number.
std::string StageLabel(int grade);

// The four figures, each right-aligned to its fixed width.
std::string RunsTodayText(double runs);       // "  3回", five blanks for 0
std::string PointsTodayText(int64_t points);  // "  25", "  　" for 0
std::string RunsTotalText(int64_t runs);      // "   10回", five blanks and "　" for 0
std::string PointsTotalText(int64_t points);  // "    240", seven blanks for 0

// A pupil's figures summed over levels 1–35 of the statistics.
struct PupilFigures {
  double runsToday = 0;
  int64_t pointsToday = 0;
  int64_t runsTotal = 0;
  int64_t pointsTotal = 0;
};
PupilFigures SumPupilFigures(const StatisticsTables& stats, int pupil);

// Width of the name column in characters (stage label, blank, name and full-width padding):
// 11 for pre-school pupils in every view but the points view, otherwise 9.
int NameColumnWidth(int grade, int view);

// The name column: stage label, a blank, the trimmed name and full-width spaces up to the column
// width. A name too long for the column is cut so that the figures stay in line.
std::string NameColumn(int grade, std::string_view storedName, int view);

// The display line (name column and the view's two figures around "/").
std::string DisplayLine(int grade, std::string_view storedName, const PupilFigures& figures,
                        int view);
// The work line: four-digit birth year, display line, "*" and the pupil number.
std::string WorkLine(const RosterEntry& entry, int grade, const PupilFigures& figures, int view);

// The three lists: list1 is what the screen shows (dash line first), list2 the sorted work lines,
// list3 parallel to list1 from its second line on (display line, "*", pupil number).
struct NameList {
  std::vector<std::string> list1;
  std::vector<std::string> list2;
  std::vector<std::string> list3;
};

// Builds the lists for listed pupils already read, from the statistics in the state.
NameList NameListLines(const RosterTables& roster, const StatisticsTables& stats,
                       const std::vector<RosterEntry>& listed, int view,
                       std::string_view filterText);

// The whole rebuild of the list: school year, results statistics, the roster and the lines. The
// reading (for its problems) is handed back when asked for.
NameList BuildNameList(AppState& state, Services& services, int view, std::string_view filterText,
                       RosterReading* reading = nullptr);

// What the chosen-name label shows for a line of the visible list: its first ten characters
// without surrounding blanks (a click), or everything before its first "/" (a double click).
std::string ClickedLineName(std::string_view displayLine);
std::string DoubleClickedLineName(std::string_view displayLine);
// The pupil number text of a parallel line: everything after its "*".
std::string ParallelLinePupil(std::string_view parallelLine);
// The pupil a confirmation chooses: the number in pupilText when a name is chosen (not empty, not
// the prompt) and the number lies in 1..5000; 0 when nothing can be confirmed.
int ConfirmedPupil(std::string_view chosenName, std::string_view pupilText);

// How the launcher is started on leaving: the program, its arguments and the folder to start in.
struct LauncherCommand {
  std::string program;
  std::vector<std::string> args;
  std::string folder;
};
LauncherCommand LauncherCommandFor(const InstallationSettings& installation);

}  // namespace numora
