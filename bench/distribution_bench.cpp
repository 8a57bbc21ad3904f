// The standards editor's distribution panel, recomputed at every key press: one level over a
// results file of 1,000,000 records (44 MB), read from the file each time.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/admin/standards_distribution.h"
#include "core/platform/field_reader.h"
#include "core/records/results_file.h"
#include "support/fakes.h"

namespace {

constexpr size_t kRecords = 1000000;

// The file is written once for the whole program and removed when it ends.
class MillionRunsFile {
 public:
  MillionRunsFile()
      : dir_(std::filesystem::temp_directory_path() /
             ("numora_distribution_bench_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
    std::mt19937 rng(7);
    std::vector<unsigned char> bytes(kRecords * numora::kResultRecordSize);
    for (size_t i = 0; i < kRecords; ++i) {
      numora::ResultRecord r;
      r.runDate = 46000 + static_cast<double>(i / 2000);
      r.runTime = 0.5;
      r.pupilNumber = static_cast<int16_t>(1 + rng() % 5000);
      r.level = static_cast<int16_t>(1 + rng() % 4);
      r.seconds = static_cast<int32_t>(rng() % 50 == 0 ? 99999 : 20 + rng() % 400);
      numora::EncodeResultRecord(r, bytes.data() + i * numora::kResultRecordSize);
    }
    path_ = numora::PathText(dir_ / "results.dat");
    numora::WriteWholeFile(path_, std::string(bytes.begin(), bytes.end()));
  }
  ~MillionRunsFile() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  MillionRunsFile(const MillionRunsFile&) = delete;
  MillionRunsFile& operator=(const MillionRunsFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::filesystem::path dir_;
  std::string path_;
};

const std::string& ResultsFileOfAMillionRuns() {
  static const MillionRunsFile file;
  return file.path();
}

void BM_DistributionOfOneLevel(benchmark::State& state) {
  const std::string& path = ResultsFileOfAMillionRuns();
  numora::FakeServices fakes;
  for (auto _ : state) {
    numora::DistributionReading r = numora::ReadLevelDistribution(path, fakes.services, 2);
    benchmark::DoNotOptimize(r);
    if (!r.ok || r.distribution.runCount == 0) {
      state.SkipWithError("the results file was not read");
      break;
    }
  }
}
BENCHMARK(BM_DistributionOfOneLevel)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DistributionLines(benchmark::State& state) {
  numora::LevelDistribution d;
  d.level = 1;
  for (size_t b = 0; b < d.allRuns.size(); ++b) d.allRuns[b] = static_cast<int64_t>(b * 37 % 500);
  for (auto _ : state) {
    auto all = numora::AllRunsLines(d);
    auto best = numora::BestTimeLines(d);
    benchmark::DoNotOptimize(all);
    benchmark::DoNotOptimize(best);
  }
}
BENCHMARK(BM_DistributionLines);

}  // namespace
