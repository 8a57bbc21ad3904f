// The results file shared by real processes: many program copies appending at once while another
// scans, deletions running beside appends, and deletions killed at each step. The copies are
// results_worker programs working on a data folder with a Japanese name.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "core/platform/field_reader.h"
#include "core/records/results_file.h"
#include "core/records/results_scan.h"
#include "support/fakes.h"
#include "support/platform.h"
#include "support/shared_results_folder.h"

namespace numora {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;
using testing::Sequence;

using ResultsProcessesTest = testing::SharedResultsFolderTest;

TEST_F(ResultsProcessesTest, EightWritersAndAScanningReaderEndWithEveryRecordIntact) {
  constexpr int kWriters = 8;
  constexpr int kEach = 500;
  std::vector<ChildProcess> writers;
  for (int w = 1; w <= kWriters; ++w) {
    writers.push_back(SpawnWriter(w, kEach));
    ASSERT_TRUE(writers.back().started());
  }

  // The reader scans as the program does while the writers run. Every scan must succeed and see
  // each writer's runs as an unbroken sequence 0, 1, 2, … of intact records.
  FakeServices fake;
  int scans = 0;
  int32_t lastCount = 0;
  std::vector<int> statuses(kWriters, -1);
  for (int running = kWriters; running > 0;) {
    ASSERT_TRUE(ScanResults(state->installation, state->stats, state->scanWarnings, fake.services));
    ++scans;
    ASSERT_TRUE(fake.host.messages.empty()) << fake.host.messages[0];
    ASSERT_GE(state->stats.resultEntryCount, lastCount);
    lastCount = state->stats.resultEntryCount;
    std::vector<int> next(kWriters + 1, 0);
    for (int32_t i = 1; i <= state->stats.resultEntryCount; ++i) {
      const ResultEntry& e = state->stats.resultEntries[static_cast<size_t>(i)];
      ASSERT_TRUE(e.pupilNumber >= 1 && e.pupilNumber <= kWriters) << "entry " << i;
      ASSERT_EQ(e.level, 1);
      ASSERT_EQ(e.seconds, next[static_cast<size_t>(e.pupilNumber)]++) << "entry " << i;
      ASSERT_EQ(e.runDate, std::floor(e.runDate));
      ASSERT_TRUE(e.runTime >= 0 && e.runTime < 1);
    }
    for (int w = 0; w < kWriters; ++w) {
      int status = 0;
      if (statuses[static_cast<size_t>(w)] == -1 &&
          writers[static_cast<size_t>(w)].Finished(status)) {
        statuses[static_cast<size_t>(w)] = status;
        --running;
      }
    }
  }
  for (int status : statuses) {
    EXPECT_EQ(status, 0);
  }
  EXPECT_GT(scans, 1);

  EXPECT_EQ(fs::file_size(testing::NativePath(ResultsFilePath(state->installation))),
            kWriters * kEach * kResultRecordSize);
  ASSERT_TRUE(ScanResults(state->installation, state->stats, state->scanWarnings, fake.services));
  EXPECT_EQ(state->stats.resultEntryCount, kWriters * kEach);
  const auto byPupil = ByPupil();
  ASSERT_EQ(byPupil.size(), static_cast<size_t>(kWriters));
  for (const auto& [pupil, seconds] : byPupil) {
    EXPECT_EQ(seconds, Sequence(0, kEach)) << pupil;
  }
  for (const auto& r : Records()) {
    EXPECT_EQ(TextFieldToUtf8(r.schoolCode), "12345");
  }
}

// A deleter removing the first record again and again while four writers append: every appended
// run stays, and exactly the deleted records are gone.
TEST_F(ResultsProcessesTest, DeletionsBesideAppendsLoseNoAppendedRun) {
  constexpr int kOriginal = 60;
  constexpr int kDeletions = 40;
  FakeServices fake;
  for (int i = 0; i < kOriginal; ++i) {
    ASSERT_TRUE(AppendRunRecord(state->installation, fake.services, 99, 2, i));
  }

  std::vector<ChildProcess> children;
  for (int w = 1; w <= 4; ++w) {
    children.push_back(SpawnWriter(w, 150));
  }
  children.push_back(Worker({"delete-first", std::to_string(kDeletions)}));
  for (ChildProcess& child : children) {
    EXPECT_EQ(child.Wait(), 0);
  }

  const auto byPupil = ByPupil();
  for (int w = 1; w <= 4; ++w) {
    EXPECT_EQ(byPupil.at(w), Sequence(0, 150)) << w;
  }
  EXPECT_EQ(byPupil.at(99), Sequence(kDeletions, kOriginal));
  EXPECT_EQ(Records().size(), static_cast<size_t>(4 * 150 + kOriginal - kDeletions));
  EXPECT_EQ(DetectInterruptedDelete(state->installation), "");
}

// A deleting program copy killed right after each step, while another copy appends
// afterwards: the file holds every record but at most the deleted one, the appended run is
// there, and a left-over safety copy is explained.
TEST_F(ResultsProcessesTest, DeletionKilledAtEachStepLeavesEveryOtherRecord) {
  for (int step = static_cast<int>(DeleteStep::Locked);
       step <= static_cast<int>(DeleteStep::CopyRemoved); ++step) {
    SCOPED_TRACE(step);
    fs::remove(testing::NativePath(ResultsSafetyCopyPath(state->installation)));
    fs::remove(testing::NativePath(ResultsFilePath(state->installation)));
    FakeServices fake;
    for (int i = 0; i < 5; ++i) {
      ASSERT_TRUE(AppendRunRecord(state->installation, fake.services, 1, 1, i));
    }

    EXPECT_EQ(Worker({"delete-killed", "3", std::to_string(step)}).Wait(), testing::kKilled);

    // Another copy goes on appending after the kill.
    EXPECT_EQ(SpawnWriter(2, 1).Wait(), 0);

    const auto byPupil = ByPupil();
    const bool replaced = step >= static_cast<int>(DeleteStep::Replaced);
    EXPECT_EQ(byPupil.at(1), replaced ? (std::vector<int>{0, 1, 3, 4}) : Sequence(0, 5));
    EXPECT_EQ(byPupil.at(2), std::vector<int>{0});

    const std::string told = DetectInterruptedDelete(state->installation);
    const bool copyLeft = step >= static_cast<int>(DeleteStep::CopyPartWritten) &&
                          step <= static_cast<int>(DeleteStep::Replaced);
    EXPECT_EQ(fs::exists(testing::NativePath(ResultsSafetyCopyPath(state->installation))),
              copyLeft);
    if (copyLeft) {
      EXPECT_NE(told.find(replaced ? "記録 3 の消去は終わっています" : "消去は行われていません"),
                std::string::npos)
          << told;
      EXPECT_NE(told.find("削除するか、別の名前に変えて保管してください"), std::string::npos);
    } else {
      EXPECT_EQ(told, "");
    }
  }
}

}  // namespace
}  // namespace numora
