// The hub's core work on a large school: 5000 listed pupils and a full results file of 20000
// records. One refresh (statistics rebuild and the cumulative points ranking of the four levels,
// lines built), and each switch to another list of every level.

#include <benchmark/benchmark.h>

#include <string>

#include "bench_school.h"
#include "core/hub/list_records.h"
#include "core/hub/score_lists.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"

namespace {

using numora::HubList;
using numora::ResultRecord;

constexpr int kPupils = 5000;
constexpr int kRecords = 20000;

struct LargeSchool : numora::bench::BenchSchool {
  LargeSchool()
      : BenchSchool(
            "hub_bench", kPupils,
            [](int p) {
              static const char* const kFamily[] = {"佐藤", "鈴木", "髙橋", "田中", "伊藤", "渡辺"};
              static const char* const kGiven[] = {"はると", "ゆい", "そうた", "ひまり", "れん"};
              return std::string(kFamily[p % 6]) + "　" + kGiven[p % 5];
            },
            0.25F) {
    state->session.currentPupil = 12;
    // 100 days, 200 runs a day.
    WriteResults(kRecords, [](int i) {
      ResultRecord r;
      r.runDate = today() - (kRecords - 1 - i) / 200;
      r.runTime = 0.3 + (i % 200) / 1000.0;
      r.pupilNumber = static_cast<int16_t>(1 + (i * 7) % kPupils);
      r.level = static_cast<int16_t>(1 + i % 4);
      r.seconds = i % 37 == 0 ? 99999 : 30 + (i * 13) % 90;
      return r;
    });
  }

  numora::ListOptions Options() const {
    numora::ListOptions o;
    o.currentPupil = state->session.currentPupil;
    o.filterText = numora::kAllGrades;
    return o;
  }
};

// Statistics rebuild plus the cumulative points ranking of every level, lines built.
void BM_HubRefresh(benchmark::State& bench) {
  LargeSchool school;
  numora::ListOptions options = school.Options();
  options.viewMode = numora::kHubPointsView;
  options.rankingKind = numora::kCumulativeRanking;
  size_t lines = 0;
  for (auto _ : bench) {
    numora::RebuildStatistics(*school.state, school.services.services);
    lines = 0;
    for (int level = 1; level <= school.state->catalogue.levelCount; ++level) {
      const numora::ScoreList list =
          numora::BuildRankingList(school.state->roster, school.state->stats, level, options);
      lines += list.lines.size();
      benchmark::DoNotOptimize(list.lines.data());
    }
  }
  if (school.state->stats.resultEntryCount != kRecords || lines != 4U * kPupils) {
    bench.SkipWithError("not every record or pupil listed");
  }
}
BENCHMARK(BM_HubRefresh)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One list of every level, as a view or list button, the grade filter or the period box builds
// it. The all-runs lists cover every record (period 5).
void BM_ListSwitch(benchmark::State& bench) {
  LargeSchool school;
  const auto list = static_cast<HubList>(bench.range(0));
  size_t lines = 0;
  for (auto _ : bench) {
    const auto lists = numora::BuildHubLists(school.state->installation, school.state->catalogue,
                                             school.state->roster, school.state->stats,
                                             school.services.services, list, 5, school.Options());
    lines = 0;
    for (const auto& l : lists) lines += l.lines.size();
    benchmark::DoNotOptimize(lines);
  }
  bench.SetLabel(std::to_string(lines) + " lines");
}
BENCHMARK(BM_ListSwitch)
    ->ArgName("list")
    ->DenseRange(static_cast<int>(HubList::kBest), static_cast<int>(HubList::kPointsAll))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
