// Building the results browser's list from a results file of 100000 records (5000 pupils, all of
// them in the roster): reading the roster and the file and making every line.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/admin/results_browser.h"
#include "core/installation/app_state.h"
#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/records/results_file.h"
#include "support/fakes.h"

namespace {

namespace fs = std::filesystem;
using numora::ResultRecord;

constexpr int kRecords = 100000;

struct LargeFile {
  LargeFile() {
    folder = fs::temp_directory_path() / ("numora_browser_bench_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    state = std::make_unique<numora::AppState>();
    state->installation.dataFolder = numora::PathText(folder) + "/";
    state->installation.dataRootFolder = numora::PathText(folder) + "/";
    state->installation.schoolYearStartMonth = 4;
    state->installation.schoolCode = "12345";
    state->installation.schoolName = "ヌモラ塾";
    std::string roster;
    for (int p = 1; p <= 5000; ++p) {
      roster += std::to_string(p) + "," + std::to_string(2010 + p % 9) + ",0,0,生徒" +
                std::to_string(p) + ",0,,\r\n";
    }
    numora::WriteWholeFile(numora::PathText(folder / fs::u8path("新名簿.txt")),
                           numora::Utf8ToCp932(roster));
    const double today = numora::MakeDate(2026, 12, 10);
    services.clock.SetNow(today + 0.5);
    std::ofstream out(fs::u8path(numora::ResultsFilePath(state->installation)), std::ios::binary);
    unsigned char bytes[numora::kResultRecordSize];
    for (int i = 0; i < kRecords; ++i) {
      ResultRecord r;
      const int daysAgo = (kRecords - 1 - i) / 200;  // 500 days, 200 runs a day
      r.runDate = today - daysAgo;
      r.runTime = 0.3 + (i % 200) * 0.001;
      r.pupilNumber = static_cast<int16_t>(1 + (i * 7) % 5000);
      r.level = static_cast<int16_t>(1 + i % 4);
      r.seconds = i % 37 == 0 ? 99999 : 30 + (i * 13) % 90;
      r.schoolCode = numora::MakeTextField(i % 10 == 0 ? "54321" : "12345");
      numora::EncodeResultRecord(r, bytes);
      out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
  }
  ~LargeFile() { fs::remove_all(folder); }
  fs::path folder;
  std::unique_ptr<numora::AppState> state;
  numora::FakeServices services;
};

void BM_BrowserList100000(benchmark::State& bench) {
  static LargeFile file;
  for (auto _ : bench) {
    numora::BrowserList list = numora::BuildBrowserList(file.state->installation,
                                                        file.state->roster, file.services.services);
    benchmark::DoNotOptimize(list.lines.size());
    if (list.size() != static_cast<size_t>(kRecords)) {
      bench.SkipWithError("not every record was listed");
    }
  }
}
BENCHMARK(BM_BrowserList100000)->Unit(benchmark::kMillisecond)->Repetitions(9);

// The lines alone, from the records already in memory.
void BM_BrowserLinesOnly100000(benchmark::State& bench) {
  static LargeFile file;
  std::vector<unsigned char> bytes;
  numora::ReadNewestRecords(numora::ResultsFilePath(file.state->installation),
                            file.services.services, numora::kReaderRetry, kRecords, bytes);
  numora::BuildBrowserList(file.state->installation, file.state->roster,
                           file.services.services);  // reads the roster
  for (auto _ : bench) {
    numora::BrowserList list;
    numora::BuildBrowserLines(file.state->installation, file.state->roster, bytes.data(), kRecords,
                              list);
    benchmark::DoNotOptimize(list.lines.size());
  }
}
BENCHMARK(BM_BrowserLinesOnly100000)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace
