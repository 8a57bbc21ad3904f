#pragma once

// The personal time chart: for one pupil and a set of levels, one band per level with the pupil's
// runs as points (red for each new personal best, blue otherwise), the bests joined by lines, the
// axes, and beside them the statistics block comparing the pupil with the whole school. The chart
// is a display list that knows no window or printer: positions are in the band's own units, so a
// screen, a printed page and an SVG file all draw the same list.
//
// Units: x counts half target widths (f = W / 2), y counts band heights (C = H / 3) from the top
// of the band; texts marked fromPageTop count from the top of the page instead. A band's top is a
// fraction of the page height (0.05, 0.35, 0.65); a fourth level starts a new page. Text
// positions are the top-left corner of the text. Font sizes are points.

#include <cstdint>
#include <string>
#include <vector>

#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"
#include "core/platform/services.h"
#include "core/records/statistics_tables.h"
#include "core/roster/roster_tables.h"

namespace numora {

// Colours of the points (&H00BBGGRR).
inline constexpr uint32_t kChartBestColour = 0x0000FF;   // red: a new personal best
inline constexpr uint32_t kChartOtherColour = 0xFF0000;  // blue: any other run
inline constexpr uint32_t kChartInkColour = 0x000000;    // axes, rules and texts
inline constexpr uint32_t kChartRuleColour = 0x808080;   // the rule between bands
// Runs of this many seconds and more are not plotted and count in no figure.
inline constexpr int32_t kChartSlowestPlotted = 1800;
// Only records newer than this many days are charted.
inline constexpr int kChartDays = 3650;
// The base font size of the charts (points).
inline constexpr double kChartFontSize = 6;
inline constexpr double kChartPointWidth = 5;  // diameter of a point, in screen pixels
inline constexpr double kChartStepWidth = 3;   // width of the lines joining the bests

// Where a chart is drawn: the screen's surface and paper differ in the title size and the line
// step of the statistics block.
enum class ChartTarget { kScreen, kPaper };

struct ChartPoint {
  double x = 0;
  double y = 0;
  uint32_t colour = kChartOtherColour;
  bool newBest = false;
  int run = 0;  // the run index k, 1..n
  int32_t seconds = 0;
  double date = 0;
};

enum class ChartLineRole { kAxis, kRule, kBestStep };

struct ChartLine {
  double x1 = 0;
  double y1 = 0;
  double x2 = 0;
  double y2 = 0;
  uint32_t colour = kChartInkColour;
  double width = 1;  // screen pixels
  ChartLineRole role = ChartLineRole::kAxis;
};

struct ChartText {
  double x = 0;
  double y = 0;
  std::string text;
  double fontSize = kChartFontSize;
  uint32_t colour = kChartInkColour;
  bool fromPageTop = false;  // y counts band heights from the top of the page
  // The statistics block's lines are laid out on half-width cells (their blanks align columns).
  bool cells = false;
};

// One level's band and the figures it shows.
struct ChartBand {
  int level = 0;
  int page = 0;                // 0-based
  double top = 0;              // fraction of the page height
  int scale = 10;              // the time axis' top, seconds
  int runs = 0;                // n: the pupil's charted runs
  int64_t runSum = 0;          // S
  int32_t slowest = 0;         // M
  int schoolRuns = 0;          // sn
  int64_t schoolSum = 0;       // sS
  int32_t schoolBest = 99999;  // sb
  std::string timeRankText;
  std::string pointsRankText;
  int32_t pointsTotal = 0;
  int schoolPointsPupils = 0;
  int64_t schoolPointsSum = 0;
  std::vector<std::string> statistics;  // the block's lines as shown, in order
  std::vector<ChartPoint> points;
  std::vector<ChartLine> lines;
  std::vector<ChartText> texts;
};

struct Chart {
  int pupil = 0;
  std::string pupilName;  // trimmed
  int pages = 0;
  std::vector<ChartBand> bands;
};

// What a chart is built from besides the state groups (roster, level names, title, statistics).
struct ChartRequest {
  int pupil = 0;            // the pupil charted
  int currentPupil = 0;     // the pupil at the hub, marked "●" in the rankings
  std::vector<int> levels;  // levels to chart, drawn in ascending order
  std::string filterText;   // grade filter, as in the hub's grade box
  int rankingKind = 1;      // points ranking: 1 cumulative, 2 today's
  double now = 0;
  ChartTarget target = ChartTarget::kScreen;
};

// Builds the chart from the records (oldest first). Ranks and school points come from the hub's
// rankings of each level, built over every listed pupil with the grade filter, so the statistics
// tables of the state must be rebuilt first.
Chart BuildChart(const LevelCatalogue& catalogue, const RosterTables& roster,
                 const StatisticsTables& stats, const std::vector<ResultEntry>& records,
                 const ChartRequest& request);

// Every record of the results file within the chart's 3650 days, oldest first. A file that cannot
// be read is reported to the user with its path, and the records of the last statistics rebuild
// are given instead.
std::vector<ResultEntry> ReadChartRecords(const InstallationSettings& installation,
                                          const StatisticsTables& stats, Services& services);
// The same into a vector kept by the caller: a window that rebuilds its chart at every click
// reuses the memory of the last reading.
void ReadChartRecords(const InstallationSettings& installation, const StatisticsTables& stats,
                      Services& services, std::vector<ResultEntry>& records);

// The personal time view: the pupil's own runs on every level (index 1..levelCount; index 0
// unused) within 3650 days, as "YYYY/MM/DD HH:MM:SS  47秒" (time-outs without the time), in
// date order. Nothing is listed for a pupil that the grade filter does not pass.
std::vector<std::vector<std::string>> BuildPersonalRunLists(const LevelCatalogue& catalogue,
                                                            const RosterTables& roster,
                                                            const std::vector<ResultEntry>& records,
                                                            double now, int pupil,
                                                            const std::string& filterText);

// The roster list of the chart panel, read from the roster file once more: every pupil of status
// 0 as grade label + " /  " + name + "/" + pupil number, in list order. The names, birth years
// and grades of the state are updated; the ranking members (the listed pupils of the selection
// screen) stay as they are. notice receives the roster's problems ("" when none).
std::vector<std::string> ChartRosterLines(const InstallationSettings& installation,
                                          RosterTables& roster, double today, std::string& notice);
// The pupil number after the last "/" of a roster list line, 0 when there is none.
int ChartRosterLinePupil(const std::string& line);

}  // namespace numora
