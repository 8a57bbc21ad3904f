#pragma once

// The records the run lists read, and every list of the hub built for all levels at once: what
// the hub shows for one choice of view and list, and what numora-data lists prints.

#include <optional>
#include <string_view>
#include <vector>

#include "core/hub/score_lists.h"
#include "core/installation/shared_state.h"
#include "core/platform/services.h"

namespace numora {

// The newest 20000 records of the results file, oldest first, for the hub's run lists (which take
// the newest of them). Sharing conflicts are waited out; when the file cannot be read the user is
// told and the records of the last statistics rebuild are given instead.
std::vector<ResultEntry> ReadListRecords(SharedState& state, Services& services);

// The six lists of the hub: the time view's best-time rankings, today's runs and all runs, and the
// points view's cumulative and today's rankings and all runs.
enum class HubList { kBest, kToday, kAll, kPointsTotal, kPointsToday, kPointsAll };

// "best", "today", "all", "points-total", "points-today", "points-all".
std::optional<HubList> HubListNamed(std::string_view name);

// The chosen list of every level (index 1..levelCount; index 0 unused) from the statistics and
// records in the state, for options.currentPupil and options.filterText; the view and ranking
// kind come from the list itself. period (1..5) is that of the all-runs lists.
std::vector<ScoreList> BuildHubLists(SharedState& state, Services& services, HubList list,
                                     int period, ListOptions options);

}  // namespace numora
