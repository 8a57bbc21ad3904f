// A teacher's deletions while other program copies (real processes) keep appending runs: every
// appended run survives, in its order, and only the records the teacher chose are gone.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/admin/correction_log.h"
#include "core/platform/field_reader.h"
#include "core/records/results_file.h"
#include "support/fakes.h"
#include "support/platform.h"
#include "support/shared_results_folder.h"

namespace numora {
namespace {

using BrowserProcesses = testing::SharedResultsFolderTest;

TEST_F(BrowserProcesses, DeletionsWhileOthersAppendKeepEveryAppendedRun) {
  // Twenty runs of pupil 1 already stored; the teacher deletes ten of them.
  constexpr int kStored = 20;
  constexpr int kDeletions = 10;
  constexpr int kWriters = 4;
  constexpr int kRunsEach = 150;
  {
    std::string bytes;
    for (int i = 0; i < kStored; ++i) {
      ResultRecord r;
      r.runDate = 46000;
      r.pupilNumber = 1;
      r.level = 1;
      r.seconds = 1000 + i;
      unsigned char b[kResultRecordSize];
      EncodeResultRecord(r, b);
      bytes.append(reinterpret_cast<const char*>(b), kResultRecordSize);
    }
    ASSERT_TRUE(WriteWholeFile(ResultsFilePath(state->installation), bytes));
  }

  std::vector<testing::ChildProcess> children;
  for (int w = 0; w < kWriters; ++w) {
    children.push_back(SpawnWriter(10 + w, kRunsEach));
  }
  // The teacher's copy: each time the list is built anew, the record of every second stored run
  // (record 1, 2, … of pupil 1) is opened and deleted, as the window does it. The d-th remaining
  // stored run is at line d (the appended runs come after them).
  children.push_back(Worker({"browser-delete", std::to_string(kDeletions)}));
  for (testing::ChildProcess& child : children) {
    EXPECT_EQ(child.Wait(), 0);
  }

  const auto records = Records();
  const auto byPupil = ByPupil();
  EXPECT_EQ(records.size(), static_cast<size_t>(kStored - kDeletions + kWriters * kRunsEach));
  // Deleted: the stored runs 0, 2, 4, … (each deletion removes the d-th remaining one).
  std::vector<int> keptStored;
  for (int i = 1; i < kStored; i += 2) {
    keptStored.push_back(1000 + i);
  }
  EXPECT_EQ(byPupil.at(1), keptStored);
  for (int w = 0; w < kWriters; ++w) {
    EXPECT_EQ(byPupil.at(10 + w), testing::Sequence(0, kRunsEach)) << "writer " << w;
  }
  std::string log;
  std::string error;
  bool exists = false;
  ASSERT_TRUE(ReadCorrectionLog(state->installation, log, exists, error));
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), kDeletions);
  EXPECT_FALSE(
      std::filesystem::exists(testing::NativePath(ResultsSafetyCopyPath(state->installation))));
}

}  // namespace
}  // namespace numora
