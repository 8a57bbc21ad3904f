#pragma once

// A data folder with a Japanese name whose results file the test shares with other program
// copies: results_worker programs (tests/support/results_worker.cpp) started as real processes,
// as other classroom computers would work on it. The test program is built with
// NUMORA_RESULTS_WORKER naming the worker program.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/installation/app_state.h"
#include "core/platform/field_reader.h"
#include "core/records/results_file.h"
#include "support/fakes.h"
#include "support/platform.h"

namespace numora::testing {

class SharedResultsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeScratchFolder("numora-成績累積");
    state = std::make_unique<AppState>();
    state->installation.dataFolder = PathText(folder) + "/";
    state->installation.dataRootFolder = PathText(folder) + "/";
    state->installation.schoolCode = "12345";
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  // A worker running args[0] on this folder with the rest of args after it.
  ChildProcess Worker(const std::vector<std::string>& args) {
    std::vector<std::string> all{args[0], PathText(folder)};
    all.insert(all.end(), args.begin() + 1, args.end());
    return ChildProcess(NUMORA_RESULTS_WORKER, all);
  }
  // Appends `count` runs of pupil `writer` on level 1 with seconds 0, 1, 2, …
  ChildProcess SpawnWriter(int writer, int count) {
    return Worker({"append", std::to_string(writer), std::to_string(count)});
  }

  std::vector<ResultRecord> Records() {
    FakeServices fake;
    std::vector<ResultRecord> out;
    std::string error;
    EXPECT_TRUE(ReadAllResultRecords(state->installation, fake.services, out, error)) << error;
    return out;
  }

  // Seconds of each pupil's records in file order.
  std::map<int, std::vector<int>> ByPupil() {
    std::map<int, std::vector<int>> out;
    for (const auto& r : Records()) {
      out[r.pupilNumber].push_back(r.seconds);
    }
    return out;
  }

  std::filesystem::path folder;
  std::unique_ptr<AppState> state;
};

// from, from + 1, …, to - 1.
inline std::vector<int> Sequence(int from, int to) {
  std::vector<int> v;
  for (int i = from; i < to; ++i) {
    v.push_back(i);
  }
  return v;
}

}  // namespace numora::testing
