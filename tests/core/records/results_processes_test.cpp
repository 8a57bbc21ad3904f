// The results file shared by real processes: many program copies appending at once while another
// scans, deletions running beside appends, and deletions killed with SIGKILL at each step.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/platform/dates.h"
#include "core/platform/system_clock.h"
#include "core/records/results_file.h"
#include "core/records/results_scan.h"
#include "support/fakes.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

// The host of a program copy without windows: waiting really waits; a message ends the copy
// with a failure, so that the parent sees it.
class ProcessHost : public Host {
 public:
  void ProcessEvents() override {}
  void ShowMessage(const std::string& title, const std::string& text) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    ++messages;
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void WaitResponsive(double seconds) override {
    timespec ts{static_cast<time_t>(seconds),
                static_cast<long>((seconds - static_cast<time_t>(seconds)) * 1e9)};
    nanosleep(&ts, nullptr);
  }
  bool StartDetached(const std::string&, const std::vector<std::string>&,
                     const std::string&) override {
    return false;
  }
  void EndProgram(int status) override { _exit(100 + status); }
  int messages = 0;
};

// Runs body in a child process (a program copy of its own) and returns its pid. The child ends
// with status 0 when body returns true.
template <class Body>
pid_t Spawn(Body body) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    bool ok = false;
    try {
      ok = body();
    } catch (...) {
      ok = false;
    }
    _exit(ok ? 0 : 1);
  }
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

class ResultsProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/numora-processes-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    state = std::make_unique<SharedState>();
    state->dataFolder = folder + "/";
    state->schoolCode = "12345";
  }
  void TearDown() override { fs::remove_all(folder); }

  // Appends `count` runs of pupil `writer` on level 1 with seconds 0, 1, 2, …
  pid_t SpawnWriter(int writer, int count) {
    return Spawn([this, writer, count]() {
      SystemClock clock;
      SystemRandom random;
      RecordingSound sound;
      ProcessHost host;
      Services services{clock, random, sound, host};
      for (int i = 0; i < count; ++i) {
        if (!AppendRunRecord(*state, services, static_cast<int16_t>(writer), 1, i)) {
          return false;
        }
      }
      return host.messages == 0;
    });
  }

  std::vector<ResultRecord> Records() {
    FakeServices fake;
    std::vector<ResultRecord> out;
    std::string error;
    EXPECT_TRUE(ReadAllResultRecords(*state, fake.services, out, error)) << error;
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

  std::string folder;
  std::unique_ptr<SharedState> state;
};

std::vector<int> Sequence(int from, int to) {
  std::vector<int> v;
  for (int i = from; i < to; ++i) {
    v.push_back(i);
  }
  return v;
}

TEST_F(ResultsProcessesTest, EightWritersAndAScanningReaderEndWithEveryRecordIntact) {
  constexpr int kWriters = 8;
  constexpr int kEach = 500;
  std::vector<pid_t> writers;
  for (int w = 1; w <= kWriters; ++w) {
    writers.push_back(SpawnWriter(w, kEach));
  }

  // The reader scans as the program does while the writers run. Every scan must succeed and see
  // each writer's runs as an unbroken sequence 0, 1, 2, … of intact records.
  FakeServices fake;
  int scans = 0;
  int32_t lastCount = 0;
  std::vector<int> statuses(kWriters, -1);
  for (int running = kWriters; running > 0;) {
    ASSERT_TRUE(ScanResults(*state, fake.services));
    ++scans;
    ASSERT_TRUE(fake.host.messages.empty()) << fake.host.messages[0];
    ASSERT_GE(state->resultEntryCount, lastCount);
    lastCount = state->resultEntryCount;
    std::vector<int> next(kWriters + 1, 0);
    for (int32_t i = 1; i <= state->resultEntryCount; ++i) {
      const ResultEntry& e = state->resultEntries[static_cast<size_t>(i)];
      ASSERT_TRUE(e.pupilNumber >= 1 && e.pupilNumber <= kWriters) << "entry " << i;
      ASSERT_EQ(e.level, 1);
      ASSERT_EQ(e.seconds, next[static_cast<size_t>(e.pupilNumber)]++) << "entry " << i;
      ASSERT_EQ(e.runDate, std::floor(e.runDate));
      ASSERT_TRUE(e.runTime >= 0 && e.runTime < 1);
    }
    for (int w = 0; w < kWriters; ++w) {
      int status = 0;
      if (statuses[static_cast<size_t>(w)] == -1 &&
          waitpid(writers[static_cast<size_t>(w)], &status, WNOHANG) > 0) {
        statuses[static_cast<size_t>(w)] = status;
        --running;
      }
    }
  }
  for (int status : statuses) {
    EXPECT_EQ(status, 0);
  }
  EXPECT_GT(scans, 1);

  EXPECT_EQ(fs::file_size(ResultsFilePath(*state)), kWriters * kEach * kResultRecordSize);
  ASSERT_TRUE(ScanResults(*state, fake.services));
  EXPECT_EQ(state->resultEntryCount, kWriters * kEach);
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
    ASSERT_TRUE(AppendRunRecord(*state, fake.services, 99, 2, i));
  }

  std::vector<pid_t> children;
  for (int w = 1; w <= 4; ++w) {
    children.push_back(SpawnWriter(w, 150));
  }
  children.push_back(Spawn([this]() {
    SystemClock clock;
    SystemRandom random;
    RecordingSound sound;
    ProcessHost host;
    Services services{clock, random, sound, host};
    for (int i = 0; i < kDeletions; ++i) {
      std::string error;
      if (!DeleteResultRecord(*state, services, 1, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
      }
    }
    return true;
  }));
  for (pid_t pid : children) {
    EXPECT_EQ(WaitFor(pid), 0);
  }

  const auto byPupil = ByPupil();
  for (int w = 1; w <= 4; ++w) {
    EXPECT_EQ(byPupil.at(w), Sequence(0, 150)) << w;
  }
  EXPECT_EQ(byPupil.at(99), Sequence(kDeletions, kOriginal));
  EXPECT_EQ(Records().size(), static_cast<size_t>(4 * 150 + kOriginal - kDeletions));
  EXPECT_EQ(DetectInterruptedDelete(*state), "");
}

// A deleting program copy killed with SIGKILL right after each step, while another copy appends
// afterwards: the file holds every record but at most the deleted one, the appended run is
// there, and a left-over safety copy is explained.
TEST_F(ResultsProcessesTest, DeletionKilledAtEachStepLeavesEveryOtherRecord) {
  for (int step = static_cast<int>(DeleteStep::Locked);
       step <= static_cast<int>(DeleteStep::CopyRemoved); ++step) {
    SCOPED_TRACE(step);
    fs::remove(ResultsSafetyCopyPath(*state));
    fs::remove(ResultsFilePath(*state));
    FakeServices fake;
    for (int i = 0; i < 5; ++i) {
      ASSERT_TRUE(AppendRunRecord(*state, fake.services, 1, 1, i));
    }

    const pid_t deleter = Spawn([this, step]() {
      FakeServices services;
      std::string error;
      DeleteResultRecord(*state, services.services, 3, error, [step](DeleteStep s) {
        if (static_cast<int>(s) == step) {
          raise(SIGKILL);
        }
        return true;
      });
      return true;
    });
    const int status = WaitFor(deleter);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    // Another copy goes on appending after the kill.
    EXPECT_EQ(WaitFor(SpawnWriter(2, 1)), 0);

    const auto byPupil = ByPupil();
    const bool replaced = step >= static_cast<int>(DeleteStep::Replaced);
    EXPECT_EQ(byPupil.at(1), replaced ? (std::vector<int>{0, 1, 3, 4}) : Sequence(0, 5));
    EXPECT_EQ(byPupil.at(2), std::vector<int>{0});

    const std::string told = DetectInterruptedDelete(*state);
    const bool copyLeft = step >= static_cast<int>(DeleteStep::CopyPartWritten) &&
                          step <= static_cast<int>(DeleteStep::Replaced);
    EXPECT_EQ(fs::exists(ResultsSafetyCopyPath(*state)), copyLeft);
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
