// The time chart of one pupil on three levels from a results file of 1,000,000 records: reading
// every record within the chart's period and building the display list, as each level click
// rebuilds it.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/hub/chart_model.h"
#include "core/hub/score_lists.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"
#include "support/fakes.h"

namespace {

namespace fs = std::filesystem;
using numora::SharedState;

constexpr int kPupils = 2000;
constexpr int kRecords = 1000000;
constexpr int kSchoolYear = 2026;
constexpr int kPupil = 12;

struct LargeHistory {
  LargeHistory() {
    folder = fs::temp_directory_path() / ("numora_chart_bench_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    state = std::make_unique<SharedState>();
    SharedState& s = *state;
    s.dataFolder = folder.string() + "/";
    s.programTitle = "ヌモラ";
    s.levelCount = 4;
    s.finalLevel = 4;
    s.schoolYear = kSchoolYear;
    for (int level = 1; level <= 4; ++level) {
      s.levelNames[static_cast<size_t>(level)] = "ﾚﾍﾞﾙ" + std::to_string(level);
      auto& st = s.levelStandards[static_cast<size_t>(level)];
      st.targetTime = 40 + 10 * level;
      st.minimumTime = 60 + 10 * level;
      st.clearPoints = 100;
      st.clearCount = 3;
      st.pointMultiplier = 1.0F;
      st.passPeriodDays = 7;
      st.overPracticePeriodDays = 3;
    }
    s.rosterCount = kPupils;
    for (int p = 1; p <= kPupils; ++p) {
      s.rosterNames[static_cast<size_t>(p)] = numora::RosterText("生徒" + std::to_string(p));
      s.rosterBirthYears[static_cast<size_t>(p)] = static_cast<int16_t>(kSchoolYear - 6 - p % 10);
      s.rosterOrder[static_cast<size_t>(p)] = static_cast<int16_t>(p);
    }
    s.currentPupil = kPupil;

    // Ten years of runs, 274 a day; the pupil runs about every 400th.
    const double today = numora::MakeDate(2026, 12, 10);
    services.clock.SetNow(today + 0.6);
    std::vector<unsigned char> bytes(static_cast<size_t>(kRecords) * numora::kResultRecordSize);
    for (int i = 0; i < kRecords; ++i) {
      numora::ResultRecord r;
      r.runDate = today - (kRecords - 1 - i) / 274;
      r.runTime = 0.3 + (i % 274) / 1000.0;
      r.pupilNumber = static_cast<int16_t>(i % 401 == 0 ? kPupil : 1 + (i * 7) % kPupils);
      r.level = static_cast<int16_t>(1 + i % 4);
      r.seconds = i % 37 == 0 ? 99999 : 30 + (i * 13) % 90;
      numora::EncodeResultRecord(r,
                                 bytes.data() + static_cast<size_t>(i) * numora::kResultRecordSize);
    }
    std::ofstream out(numora::ResultsFilePath(s), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    numora::RebuildStatistics(s, services.services);
  }
  ~LargeHistory() { fs::remove_all(folder); }
  LargeHistory(const LargeHistory&) = delete;
  LargeHistory& operator=(const LargeHistory&) = delete;

  fs::path folder;
  std::unique_ptr<SharedState> state;
  numora::FakeServices services;
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
    numora::ReadChartRecords(*history.state, history.services.services, records);
    const numora::Chart chart = numora::BuildChart(*history.state, records, request);
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
