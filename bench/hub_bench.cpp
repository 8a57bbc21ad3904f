// The hub's core work on a large school: 5000 listed pupils and a full results file of 20000
// records. One refresh (statistics rebuild and the cumulative points ranking of the four levels,
// lines built), and each switch to another list of every level.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/hub/list_records.h"
#include "core/hub/score_lists.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"
#include "support/fakes.h"

namespace {

namespace fs = std::filesystem;
using numora::FakeServices;
using numora::HubList;
using numora::ResultRecord;
using numora::SharedState;

constexpr int kPupils = 5000;
constexpr int kRecords = 20000;
constexpr int kSchoolYear = 2026;

struct LargeSchool {
  LargeSchool() {
    folder = fs::temp_directory_path() / ("numora_hub_bench_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    state = std::make_unique<SharedState>();
    SharedState& s = *state;
    s.dataFolder = folder.string() + "/";
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
      st.pointMultiplier = 1.0F + 0.25F * static_cast<float>(level - 1);
      st.passPeriodDays = 7;
      st.overPracticePeriodDays = 3;
    }
    static const char* const kFamily[] = {"佐藤", "鈴木", "髙橋", "田中", "伊藤", "渡辺"};
    static const char* const kGiven[] = {"はると", "ゆい", "そうた", "ひまり", "れん"};
    s.rosterCount = kPupils;
    for (int p = 1; p <= kPupils; ++p) {
      const std::string name = std::string(kFamily[p % 6]) + "　" + kGiven[p % 5];
      s.rosterNames[static_cast<size_t>(p)] = numora::RosterText(name);
      s.rosterBirthYears[static_cast<size_t>(p)] = static_cast<int16_t>(kSchoolYear - 6 - p % 10);
      s.rosterOrder[static_cast<size_t>(p)] = static_cast<int16_t>(p);
    }
    s.currentPupil = 12;

    const double today = numora::MakeDate(2026, 12, 10);
    services.clock.SetNow(today + 0.6);
    std::ofstream out(numora::ResultsFilePath(s), std::ios::binary);
    unsigned char bytes[numora::kResultRecordSize];
    for (int i = 0; i < kRecords; ++i) {
      ResultRecord r;
      r.runDate = today - (kRecords - 1 - i) / 200;  // 100 days, 200 runs a day
      r.runTime = 0.3 + (i % 200) / 1000.0;
      r.pupilNumber = static_cast<int16_t>(1 + (i * 7) % kPupils);
      r.level = static_cast<int16_t>(1 + i % 4);
      r.seconds = i % 37 == 0 ? 99999 : 30 + (i * 13) % 90;
      numora::EncodeResultRecord(r, bytes);
      out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
    out.close();
    numora::RebuildStatistics(s, services.services);
  }
  ~LargeSchool() { fs::remove_all(folder); }
  LargeSchool(const LargeSchool&) = delete;
  LargeSchool& operator=(const LargeSchool&) = delete;

  numora::ListOptions Options() const {
    numora::ListOptions o;
    o.currentPupil = state->currentPupil;
    o.filterText = numora::kAllGrades;
    return o;
  }

  fs::path folder;
  std::unique_ptr<SharedState> state;
  FakeServices services;
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
    for (int level = 1; level <= school.state->levelCount; ++level) {
      const numora::ScoreList list = numora::BuildRankingList(*school.state, level, options);
      lines += list.lines.size();
      benchmark::DoNotOptimize(list.lines.data());
    }
  }
  if (school.state->resultEntryCount != kRecords || lines != 4U * kPupils) {
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
    const auto lists =
        numora::BuildHubLists(*school.state, school.services.services, list, 5, school.Options());
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
