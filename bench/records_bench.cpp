// Rebuilding the statistics from a full results file (20000 records, 5000 pupils), and appending
// one record to it.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/installation/app_state.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "support/fakes.h"

namespace {

namespace fs = std::filesystem;
using numora::AppState;
using numora::FakeServices;
using numora::ResultRecord;

struct FullFile {
  FullFile() {
    folder = fs::temp_directory_path() / ("numora_bench_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    state = std::make_unique<AppState>();
    state->installation.dataFolder = folder.string() + "/";
    for (int level = 1; level <= 4; ++level) {
      auto& s = state->catalogue.standards[static_cast<size_t>(level)];
      s.targetTime = 40 + 10 * level;
      s.minimumTime = 60 + 10 * level;
      s.pointMultiplier = 1.0F + 0.25F * static_cast<float>(level - 1);
      s.passPeriodDays = 7;
      s.overPracticePeriodDays = 3;
    }
    const double today = numora::MakeDate(2026, 12, 10);
    services.clock.SetNow(today + 0.5);
    std::ofstream out(numora::ResultsFilePath(state->installation), std::ios::binary);
    unsigned char bytes[numora::kResultRecordSize];
    for (int i = 0; i < 20000; ++i) {
      ResultRecord r;
      r.runDate = today - (19999 - i) / 200;  // 100 days, 200 runs a day
      r.runTime = 0.4;
      r.pupilNumber = static_cast<int16_t>(1 + (i * 7) % 5000);
      r.level = static_cast<int16_t>(1 + i % 4);
      r.seconds = i % 37 == 0 ? 99999 : 30 + (i * 13) % 90;
      numora::EncodeResultRecord(r, bytes);
      out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
  }
  ~FullFile() { fs::remove_all(folder); }
  fs::path folder;
  std::unique_ptr<AppState> state;
  FakeServices services;
};

void BM_RebuildStatistics(benchmark::State& bench) {
  FullFile file;
  for (auto _ : bench) {
    numora::RebuildStatistics(*file.state, file.services.services);
    benchmark::DoNotOptimize(file.state->stats.totalPoints.cells.data());
  }
  if (file.state->stats.resultEntryCount != 20000) bench.SkipWithError("not every record kept");
}
BENCHMARK(BM_RebuildStatistics)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_AppendOneRecord(benchmark::State& bench) {
  FullFile file;
  file.state->session.currentPupil = 12;
  file.state->session.currentLevel = 2;
  file.state->run.recordedTime = 45;
  for (auto _ : bench) {
    if (!numora::AppendResultRecord(file.state->installation, file.state->session, file.state->run,
                                    file.services.services)) {
      bench.SkipWithError("append failed");
      break;
    }
    bench.PauseTiming();
    fs::resize_file(numora::ResultsFilePath(file.state->installation),
                    20000 * numora::kResultRecordSize);
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_AppendOneRecord)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
