#pragma once

// A school for the benchmarks: a state over a fresh temporary folder with four levels and their
// standards, a roster of listed pupils, the clock at 2026-12-10 14:24, and a results file written
// from a record per index with the statistics rebuilt from it. The folder goes with the object.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/installation/app_state.h"
#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"
#include "support/fakes.h"

namespace numora::bench {

inline constexpr int kSchoolYear = 2026;

class BenchSchool {
 public:
  // pupils listed pupils 1..pupils named by nameOf, in grades 1..10 by number; level L's point
  // multiplier is 1 + multiplierStep × (L − 1).
  BenchSchool(const std::string& tag, int pupils, const std::function<std::string(int)>& nameOf,
              float multiplierStep)
      : folder(std::filesystem::temp_directory_path() /
               ("numora_" + tag + "_" + std::to_string(::getpid()))),
        state(std::make_unique<AppState>()) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    AppState& s = *state;
    s.installation.dataFolder = folder.string() + "/";
    s.catalogue.title = "ヌモラ";
    s.catalogue.levelCount = 4;
    s.catalogue.finalLevel = 4;
    s.roster.schoolYear = kSchoolYear;
    for (int level = 1; level <= 4; ++level) {
      s.catalogue.levelNames[static_cast<size_t>(level)] = "ﾚﾍﾞﾙ" + std::to_string(level);
      auto& st = s.catalogue.standards[static_cast<size_t>(level)];
      st.targetTime = 40 + 10 * level;
      st.minimumTime = 60 + 10 * level;
      st.clearPoints = 100;
      st.clearCount = 3;
      st.pointMultiplier = 1.0F + multiplierStep * static_cast<float>(level - 1);
      st.passPeriodDays = 7;
      st.overPracticePeriodDays = 3;
    }
    s.roster.count = static_cast<int16_t>(pupils);
    for (int p = 1; p <= pupils; ++p) {
      s.roster.names[static_cast<size_t>(p)] = RosterText(nameOf(p));
      s.roster.birthYears[static_cast<size_t>(p)] = static_cast<int16_t>(kSchoolYear - 6 - p % 10);
      s.roster.order[static_cast<size_t>(p)] = static_cast<int16_t>(p);
    }
    services.clock.SetNow(today() + 0.6);
  }
  ~BenchSchool() { std::filesystem::remove_all(folder); }
  BenchSchool(const BenchSchool&) = delete;
  BenchSchool& operator=(const BenchSchool&) = delete;

  static double today() { return MakeDate(2026, 12, 10); }

  // Writes the results file of count records, record i made by recordOf(i), and rebuilds the
  // statistics from it.
  void WriteResults(int count, const std::function<ResultRecord(int)>& recordOf) {
    std::vector<unsigned char> bytes(static_cast<size_t>(count) * kResultRecordSize);
    for (int i = 0; i < count; ++i) {
      EncodeResultRecord(recordOf(i), bytes.data() + static_cast<size_t>(i) * kResultRecordSize);
    }
    std::ofstream out(ResultsFilePath(state->installation), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    RebuildStatistics(*state, services.services);
  }

  std::filesystem::path folder;
  std::unique_ptr<AppState> state;
  FakeServices services;
};

}  // namespace numora::bench
