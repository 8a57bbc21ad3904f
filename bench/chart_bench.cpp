// The time chart of one pupil on three levels from a results file of 1,000,000 records: reading
// every record within the chart's period and building the display list, as each level click
// rebuilds it.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_school.h"
#include "core/hub/chart_model.h"
#include "core/hub/score_lists.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"

namespace {

constexpr int kPupils = 2000;
constexpr int kRecords = 1000000;
constexpr int kPupil = 12;

// Ten years of runs, 274 a day; the pupil runs about every 400th.
struct LargeHistory : numora::bench::BenchSchool {
  LargeHistory()
      : BenchSchool(
            "chart_bench", kPupils, [](int p) { return "生徒" + std::to_string(p); }, 0.0F) {
    state->session.currentPupil = kPupil;
    WriteResults(kRecords, [](int i) {
      numora::ResultRecord r;
      r.runDate = today() - (kRecords - 1 - i) / 274;
      r.runTime = 0.3 + (i % 274) / 1000.0;
      r.pupilNumber = static_cast<int16_t>(i % 401 == 0 ? kPupil : 1 + (i * 7) % kPupils);
      r.level = static_cast<int16_t>(1 + i % 4);
      r.seconds = i % 37 == 0 ? 99999 : 30 + (i * 13) % 90;
      return r;
    });
  }
};

void BM_ChartThreeLevels(benchmark::State& bench) {
  LargeHistory history;
  numora::ChartRequest request;
  request.pupil = kPupil;
  request.currentPupil = kPupil;
  request.levels = {1, 2, 3};
  request.filterText = numora::kAllGrades;
  request.now = history.services.clock.Now();
  size_t points = 0;
  // The panel keeps its records between clicks and reads the file anew into them.
  std::vector<numora::ResultEntry> records;
  for (auto _ : bench) {
    numora::ReadChartRecords(history.state->installation, history.state->stats,
                             history.services.services, records);
    const numora::Chart chart = numora::BuildChart(history.state->catalogue, history.state->roster,
                                                   history.state->stats, records, request);
    points = 0;
    for (const auto& band : chart.bands) points += band.points.size();
    benchmark::DoNotOptimize(points);
  }
  if (points == 0 || !history.services.host.messages.empty()) {
    bench.SkipWithError("no point charted or the file was not read");
  }
  bench.SetLabel(std::to_string(points) + " points");
}
BENCHMARK(BM_ChartThreeLevels)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
