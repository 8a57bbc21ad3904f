#include "core/hub/list_records.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"
#include "core/installation/table_sizes.h"
#include "core/records/record_checks.h"
#include "core/records/results_file.h"
#include "core/records/statistics_tables.h"
#include "core/roster/roster_tables.h"

namespace numora {

std::vector<ResultEntry> ReadListRecords(const InstallationSettings& installation,
                                         const StatisticsTables& stats, Services& services) {
  // The newest records as the file holds them now, so that runs another program copy stored
  // since the hub's refresh are listed too.
  static thread_local std::vector<unsigned char> bytes;
  const NewestRecords read = ReadNewestRecords(ResultsFilePath(installation), services,
                                               kReaderRetry, kMaxResultEntries, bytes);
  if (read.status != FileStatus::Ok) {
    // The lists then show the records of the last statistics rebuild; nothing is lost.
    services.host.ShowMessage("注意",
                              "成績累積データを読めませんでした。前回読んだ成績で表示します。\n" +
                                  ResultsFilePath(installation) + "（" + read.errorText + "）");
    const int32_t kept = std::min<int32_t>(stats.resultEntryCount, kMaxResultEntries);
    if (kept <= 0) {
      return {};
    }
    return {stats.resultEntries.begin() + 1, stats.resultEntries.begin() + 1 + kept};
  }
  std::vector<ResultEntry> records;
  records.reserve(read.records);
  for (size_t i = 0; i < read.records; ++i) {
    const ResultEntry e = DecodeResultEntry(bytes.data() + i * kResultRecordSize);
    // What the statistics leave out (and tell about) is not listed either.
    if (IsPlaceable(e.pupilNumber, e.level) &&
        RecordDamage(e.runDate, e.runTime, e.seconds) == nullptr) {
      records.push_back(e);
    }
  }
  return records;
}

std::optional<HubList> HubListNamed(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, HubList>, 6> kNames = {{
      {"best", HubList::kBest},
      {"today", HubList::kToday},
      {"all", HubList::kAll},
      {"points-total", HubList::kPointsTotal},
      {"points-today", HubList::kPointsToday},
      {"points-all", HubList::kPointsAll},
  }};
  for (const auto& [text, list] : kNames) {
    if (text == name) {
      return list;
    }
  }
  return std::nullopt;
}

std::optional<HubListChoice> ChooseHubList(const HubListSelection& selection) {
  if (selection.listButton < 1 || selection.listButton > 3) {
    return std::nullopt;
  }
  HubListChoice choice;
  const size_t button = static_cast<size_t>(selection.listButton - 1);
  if (selection.viewMode != kHubPointsView) {
    static constexpr std::array<HubList, 3> kTimeLists = {HubList::kBest, HubList::kToday,
                                                          HubList::kAll};
    static constexpr std::array<const char*, 3> kTimeTitles = {"ベスト成績", "本日の成績", ""};
    choice.list = kTimeLists[button];
    choice.title = kTimeTitles[button];
    choice.viewMode = kHubTimeView;
    choice.rankingKind = selection.rankingKind;
  } else {
    static constexpr std::array<HubList, 3> kPointsLists = {
        HubList::kPointsTotal, HubList::kPointsToday, HubList::kPointsAll};
    static constexpr std::array<const char*, 3> kPointsTitles = {"獲得ポイント（今まで順位）",
                                                                 "獲得ポイント（今日の順位）", ""};
    static constexpr std::array<int, 3> kRankings = {kCumulativeRanking, kTodayRanking, 0};
    choice.list = kPointsLists[button];
    choice.title = kPointsTitles[button];
    choice.viewMode = kHubPointsView;
    choice.rankingKind = kRankings[button] != 0       ? kRankings[button]
                         : selection.rankingKind != 0 ? selection.rankingKind
                                                      : kCumulativeRanking;
  }
  choice.periodShown = choice.list == HubList::kAll || choice.list == HubList::kPointsAll;
  return choice;
}

std::vector<ScoreList> BuildHubLists(const InstallationSettings& installation,
                                     const LevelCatalogue& catalogue, const RosterTables& roster,
                                     const StatisticsTables& stats, Services& services,
                                     HubList list, int period, ListOptions options,
                                     const LevelProgress& progress) {
  const bool timeView = list == HubList::kBest || list == HubList::kToday || list == HubList::kAll;
  options.viewMode = timeView ? kHubTimeView : kHubPointsView;
  options.rankingKind = list == HubList::kPointsToday ? kTodayRanking : kCumulativeRanking;
  const double now = services.clock.Now();
  switch (list) {
    case HubList::kToday:
      return BuildTodayRunLists(catalogue, roster, ReadListRecords(installation, stats, services),
                                now, options);
    case HubList::kAll:
    case HubList::kPointsAll:
      return BuildAllRunLists(catalogue, roster, ReadListRecords(installation, stats, services),
                              now, period, options);
    case HubList::kBest:
    case HubList::kPointsTotal:
    case HubList::kPointsToday:
      break;
  }
  std::vector<ScoreList> lists(static_cast<size_t>(std::max<int>(0, catalogue.levelCount)) + 1);
  for (size_t level = 1; level < lists.size(); ++level) {
    if (progress) {
      progress(static_cast<int>(level));
    }
    lists[level] = BuildRankingList(roster, stats, static_cast<int>(level), options);
  }
  return lists;
}

}  // namespace numora
