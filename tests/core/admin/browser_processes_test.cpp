// A teacher's deletions while other program copies (real processes) keep appending runs: every
// appended run survives, in its order, and only the records the teacher chose are gone.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/admin/correction_log.h"
#include "core/admin/results_browser.h"
#include "core/platform/field_reader.h"
#include "core/platform/system_clock.h"
#include "core/records/results_file.h"
#include "support/fakes.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

// The host of a program copy without windows: waiting really waits; messages are counted.
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

int ExitStatus(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(BrowserProcesses, DeletionsWhileOthersAppendKeepEveryAppendedRun) {
  char pattern[] = "/tmp/numora-browser-processes-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string folder = pattern;
  auto state = std::make_unique<SharedState>();
  state->dataFolder = folder + "/";
  state->dataRootFolder = folder + "/";
  state->schoolCode = "12345";

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
    ASSERT_TRUE(WriteWholeFile(ResultsFilePath(*state), bytes));
  }

  std::vector<pid_t> writers;
  writers.reserve(kWriters);
  for (int w = 0; w < kWriters; ++w) {
    writers.push_back(Spawn([&state, w]() {
      SystemClock clock;
      SystemRandom random;
      RecordingSound sound;
      ProcessHost host;
      Services services{clock, random, sound, host};
      for (int i = 0; i < kRunsEach; ++i) {
        if (!AppendRunRecord(*state, services, static_cast<int16_t>(10 + w), 2, i)) {
          return false;
        }
      }
      return host.messages == 0;
    }));
  }
  // The teacher's copy: each time the list is built anew, the record of every second stored run
  // (record 1, 2, … of pupil 1) is opened and deleted, as the window does it.
  const pid_t teacher = Spawn([&state]() {
    SystemClock clock;
    SystemRandom random;
    RecordingSound sound;
    ProcessHost host;
    Services services{clock, random, sound, host};
    for (int d = 0; d < kDeletions; ++d) {
      const BrowserList list = BuildBrowserList(*state, services);
      // The d-th remaining stored run is at line d (the appended runs come after them).
      const size_t line = static_cast<size_t>(d);
      uint32_t n = 0;
      ResultRecord buffer;
      if (OpenBrowserRecord(*state, services, list, line, n, buffer).outcome !=
          BrowserOutcome::kDone) {
        return false;
      }
      const BrowserResult result = DeleteBrowserRecord(*state, services, n, buffer);
      if (result.outcome != BrowserOutcome::kDone) {
        std::fprintf(stderr, "%s\n", result.message.c_str());
        return false;
      }
    }
    return true;
  });

  for (pid_t pid : writers) {
    EXPECT_EQ(ExitStatus(pid), 0);
  }
  EXPECT_EQ(ExitStatus(teacher), 0);

  FakeServices fake;
  std::vector<ResultRecord> records;
  std::string error;
  ASSERT_TRUE(ReadAllResultRecords(*state, fake.services, records, error)) << error;
  std::map<int, std::vector<int>> byPupil;
  for (const ResultRecord& r : records) {
    byPupil[r.pupilNumber].push_back(r.seconds);
  }
  EXPECT_EQ(records.size(), static_cast<size_t>(kStored - kDeletions + kWriters * kRunsEach));
  // Deleted: the stored runs 0, 2, 4, … (each deletion removes the d-th remaining one).
  std::vector<int> keptStored;
  for (int i = 1; i < kStored; i += 2) {
    keptStored.push_back(1000 + i);
  }
  EXPECT_EQ(byPupil[1], keptStored);
  for (int w = 0; w < kWriters; ++w) {
    std::vector<int> expected;
    expected.reserve(kRunsEach);
    for (int i = 0; i < kRunsEach; ++i) {
      expected.push_back(i);
    }
    EXPECT_EQ(byPupil[10 + w], expected) << "writer " << w;
  }
  std::string log;
  bool exists = false;
  ASSERT_TRUE(ReadCorrectionLog(*state, log, exists, error));
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), kDeletions);
  EXPECT_FALSE(fs::exists(ResultsSafetyCopyPath(*state)));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace numora
