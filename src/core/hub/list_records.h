#pragma once

// The records the run lists read, and every list of the hub built for all levels at once: what
// the hub shows for one choice of view and list, and what numora-data lists prints.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hub/score_lists.h"
#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"
#include "core/platform/services.h"
#include "core/records/statistics_tables.h"
#include "core/roster/roster_tables.h"

namespace numora {

// The newest 20000 records of the results file, oldest first, for the hub's run lists (which take
// the newest of them). Sharing conflicts are waited out; when the file cannot be read the user is
// told and the records of the last statistics rebuild are given instead.
std::vector<ResultEntry> ReadListRecords(const InstallationSettings& installation,
                                         const StatisticsTables& stats, Services& services);

// The six lists of the hub: the time view's best-time rankings, today's runs and all runs, and the
// points view's cumulative and today's rankings and all runs.
enum class HubList { kBest, kToday, kAll, kPointsTotal, kPointsToday, kPointsAll };

// "best", "today", "all", "points-total", "points-today", "points-all".
std::optional<HubList> HubListNamed(std::string_view name);

// The hub's buttons as they stand: the view (kHubTimeView or kHubPointsView; 0 before any view
// was chosen counts as the time view), the list button pressed (1..3) and the points ranking in
// use (0 before any).
struct HubListSelection {
  int viewMode = 0;
  int listButton = 0;
  int rankingKind = 0;
};

// What the hub shows for a selection: the list, the title above the lists ("" for none), whether
// the period box is offered, and the view and points ranking in use afterwards (the ranking kind
// also goes to the chart).
struct HubListChoice {
  HubList list = HubList::kBest;
  std::string title;
  bool periodShown = false;
  int viewMode = kHubTimeView;
  int rankingKind = kCumulativeRanking;
};

// The list a selection chooses; none for a list button outside 1..3. The time view keeps the
// ranking kind in use; the points view's list buttons choose the cumulative ranking, today's
// ranking, or all runs (which keeps the ranking kind, cumulative before any).
std::optional<HubListChoice> ChooseHubList(const HubListSelection& selection);

// Called with each level (1..levelCount) before its ranking is built, so that a window can show
// how far the building has come.
using LevelProgress = std::function<void(int level)>;

// The chosen list of every level (index 1..levelCount; index 0 unused) from the statistics and
// records in the state, for options.currentPupil and options.filterText; the view and ranking
// kind come from the list itself. period (1..5) is that of the all-runs lists.
std::vector<ScoreList> BuildHubLists(const InstallationSettings& installation,
                                     const LevelCatalogue& catalogue, const RosterTables& roster,
                                     const StatisticsTables& stats, Services& services,
                                     HubList list, int period, ListOptions options,
                                     const LevelProgress& progress = {});

}  // namespace numora
