// The results file: record layout, text fields, locked append with its retries and message,
// reading and rewriting single records, and the deletion with its safety copy.

#include "core/records/results_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/installation/app_state.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "support/fakes.h"
#include "support/platform.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

std::string Hex(const unsigned char* p, size_t n) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (size_t i = 0; i < n; ++i) {
    s += digits[p[i] >> 4];
    s += digits[p[i] & 15];
  }
  return s;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(testing::NativePath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(testing::NativePath(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

ResultRecord MakeRun(int pupil, int level, int seconds, double date = MakeDate(2026, 12, 1)) {
  ResultRecord r;
  r.runDate = date;
  r.runTime = 0.25;
  r.pupilNumber = static_cast<int16_t>(pupil);
  r.level = static_cast<int16_t>(level);
  r.seconds = seconds;
  return r;
}

std::string Encoded(const ResultRecord& r) {
  unsigned char b[kResultRecordSize];
  EncodeResultRecord(r, b);
  return {reinterpret_cast<const char*>(b), kResultRecordSize};
}

// A data folder of its own for each test, with a state and fake services pointing at it.
class ResultsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = PathText(testing::MakeScratchFolder("numora-results"));
    state = std::make_unique<AppState>();
    state->installation.dataFolder = folder + "/";
    state->installation.schoolCode = "12345";
  }
  void TearDown() override { fs::remove_all(testing::NativePath(folder)); }

  std::string Path() const { return ResultsFilePath(state->installation); }
  void WriteRecords(const std::vector<ResultRecord>& records, const std::string& tail = "") {
    std::string bytes;
    for (const auto& r : records) {
      bytes += Encoded(r);
    }
    WriteBytes(Path(), bytes + tail);
  }
  std::vector<ResultRecord> Records() {
    std::vector<ResultRecord> out;
    std::string error;
    EXPECT_TRUE(ReadAllResultRecords(state->installation, fake.services, out, error)) << error;
    return out;
  }
  std::vector<int> SecondsInFile() {
    std::vector<int> out;
    for (const auto& r : Records()) {
      out.push_back(r.seconds);
    }
    return out;
  }

  std::string folder;
  std::unique_ptr<AppState> state;
  FakeServices fake;
};

// --- Layout -----------------------------------------------------------------------------------

TEST(ResultRecordLayout, FortyFourLittleEndianBytesFieldByField) {
  ResultRecord r;
  r.runDate = MakeDate(2026, 12, 10);  // day 46366
  r.runTime = 0.5;
  r.pupilNumber = -2;
  r.level = 3;
  r.seconds = 99999;
  r.schoolCode = MakeTextField("ab漢字");
  unsigned char b[kResultRecordSize];
  EncodeResultRecord(r, b);
  EXPECT_EQ(Hex(b, 8), "00000000c0a3e640");
  EXPECT_EQ(Hex(b + 8, 8), "000000000000e03f");
  EXPECT_EQ(Hex(b + 16, 2), "feff");
  EXPECT_EQ(Hex(b + 18, 2), "0300");
  EXPECT_EQ(Hex(b + 20, 4), "9f860100");
  EXPECT_EQ(Hex(b + 24, 5), "61628abf20");  // 字 would not fit whole: padded instead
  EXPECT_EQ(Hex(b + 29, 5), "2020202020");
  EXPECT_EQ(Hex(b + 34, 5), "2030202020");  // " 0" and three spaces
  EXPECT_EQ(Hex(b + 39, 5), "0000000000");
  EXPECT_EQ(DecodeResultRecord(b), r);
  const ResultEntry e = DecodeResultEntry(b);
  EXPECT_EQ(e.runDate, r.runDate);
  EXPECT_EQ(e.runTime, 0.5);
  EXPECT_EQ(e.pupilNumber, -2);
  EXPECT_EQ(e.level, 3);
  EXPECT_EQ(e.seconds, 99999);
}

TEST(ResultRecordLayout, TextFieldsArePaddedAndCutOnCharacterBoundaries) {
  struct Case {
    const char* text;
    const char* bytes;
  } cases[] = {
      {"", "2020202020"},       {"123", "3132332020"},    {"12345", "3132333435"},
      {"123456", "3132333435"}, {"ｱｲｳｴｵｶ", "b1b2b3b4b5"},  // half-width katakana: one byte each
      {"学校", "8a778d5a20"},                              // two double-byte characters and a space
      {"1学校", "318a778d5a"},                             // exactly five bytes
      {"12学校", "31328a7720"},  // the second one would be cut in half: padded
  };
  for (const auto& c : cases) {
    const auto f = MakeTextField(c.text);
    EXPECT_EQ(Hex(reinterpret_cast<const unsigned char*>(f.data()), 5), c.bytes) << c.text;
  }
  EXPECT_EQ(TextFieldToUtf8(MakeTextField("学校")), "学校");
  EXPECT_EQ(TextFieldToUtf8(std::array<char, 5>{'1', '2', 0, 0, 0}), "12");
}

// --- Append -----------------------------------------------------------------------------------

TEST_F(ResultsFileTest, AppendCreatesTheFileAndStampsTheRecordWithTheClock) {
  fake.clock.Set(2026, 12, 10, 14, 30, 15);
  state->session.currentPupil = 12;
  state->session.currentLevel = 3;
  state->run.recordedTime = 47;
  ASSERT_TRUE(AppendResultRecord(state->installation, state->session, state->run, fake.services));
  state->installation.schoolCode.clear();  // a school without a code
  ASSERT_TRUE(AppendRunRecord(state->installation, fake.services, 13, 4, kTimeOutSeconds));

  const std::string bytes = FileBytes(Path());
  ASSERT_EQ(bytes.size(), 2 * kResultRecordSize);
  const auto records = Records();
  EXPECT_EQ(records[0].runDate, MakeDate(2026, 12, 10));
  EXPECT_NEAR(TimeOfDaySeconds(records[0].runTime), 14 * 3600 + 30 * 60 + 15, 1e-3);
  EXPECT_LT(records[0].runTime, 1.0);
  EXPECT_EQ(records[0].pupilNumber, 12);
  EXPECT_EQ(records[0].level, 3);
  EXPECT_EQ(records[0].seconds, 47);
  EXPECT_EQ(TextFieldToUtf8(records[0].schoolCode), "12345");
  EXPECT_EQ(bytes.substr(24 + 44, 20),
            std::string("     ") + "     " + " 0   " + std::string(5, '\0'));
  EXPECT_EQ(records[1].seconds, kTimeOutSeconds);
  EXPECT_TRUE(fake.host.messages.empty());
}

TEST_F(ResultsFileTest, AppendStoresTheTimeOfDayInWholeSeconds) {
  struct Case {
    double second;  // of 09:59
    double storedSecondOfDay;
    const char* listed;
  } cases[] = {
      {59.6, 9 * 3600 + 59 * 60 + 59, "09:59"},
      {59.99, 9 * 3600 + 59 * 60 + 59, "09:59"},
      {0.4, 9 * 3600 + 59 * 60, "09:59"},
      {0.0, 9 * 3600 + 59 * 60, "09:59"},
  };
  for (const Case& c : cases) {
    fs::remove(testing::NativePath(Path()));
    fake.clock.Set(2026, 12, 10, 9, 59, c.second);
    ASSERT_TRUE(AppendRunRecord(state->installation, fake.services, 12, 3, 47));
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].runDate, MakeDate(2026, 12, 10)) << c.second;
    EXPECT_EQ(records[0].runTime, c.storedSecondOfDay / 86400.0) << c.second;
    EXPECT_EQ(FormatTimeOfDay(records[0].runTime).substr(0, 5), c.listed) << c.second;
  }
  // A just-before-midnight run stays on its day.
  fs::remove(testing::NativePath(Path()));
  fake.clock.Set(2026, 12, 10, 23, 59, 59.9);
  ASSERT_TRUE(AppendRunRecord(state->installation, fake.services, 12, 3, 47));
  EXPECT_EQ(Records()[0].runDate, MakeDate(2026, 12, 10));
  EXPECT_EQ(FormatTimeOfDay(Records()[0].runTime), "23:59:59");
}

TEST_F(ResultsFileTest, AppendOverwritesATrailingPartialRecord) {
  WriteRecords({MakeRun(1, 1, 30), MakeRun(2, 1, 31)}, std::string(17, 'x'));
  ASSERT_TRUE(AppendRunRecord(state->installation, fake.services, 3, 1, 32));
  EXPECT_EQ(FileBytes(Path()).size(), 3 * kResultRecordSize);
  EXPECT_EQ(SecondsInFile(), (std::vector<int>{30, 31, 32}));
}

TEST_F(ResultsFileTest, ReadersCountOnlyCompleteRecords) {
  WriteRecords({MakeRun(1, 1, 30)}, std::string(43, 'x'));
  ResultsFile file;
  ASSERT_EQ(OpenResultsFile(state->installation, file), FileStatus::Ok);
  uint32_t count = 0;
  ASSERT_EQ(file.RecordCount(count), FileStatus::Ok);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(SecondsInFile(), (std::vector<int>{30}));
}

TEST_F(ResultsFileTest, OpeningCreatesAnEmptyFile) {
  ResultsFile file;
  ASSERT_EQ(OpenResultsFile(state->installation, file), FileStatus::Ok);
  EXPECT_TRUE(fs::exists(testing::NativePath(Path())));
  EXPECT_EQ(fs::file_size(testing::NativePath(Path())), 0u);
}

TEST_F(ResultsFileTest, AppendWaitsForAnotherWritersLockThenGivesUpWithTheRunsDetails) {
  ResultsFile other;  // another program copy holding the lock
  ASSERT_EQ(OpenResultsFile(state->installation, other), FileStatus::Ok);
  ASSERT_EQ(other.TryLock(), FileStatus::Ok);
  fake.clock.Set(2026, 12, 10, 10, 5, 0);

  EXPECT_FALSE(AppendRunRecord(state->installation, fake.services, 12, 3, 47));
  EXPECT_DOUBLE_EQ(fake.host.waited, kWriterRetry.patienceSeconds);
  ASSERT_EQ(fake.host.messages.size(), 1u);
  const std::string& m = fake.host.messages[0];
  EXPECT_EQ(m.rfind("注意|成績を記録できませんでした。", 0), 0u) << m;
  EXPECT_NE(m.find("番号 12　ﾚﾍﾞﾙ3　47秒　（2026/12/10 10:05:30）"), std::string::npos) << m;
  EXPECT_NE(m.find("先生に伝えてください"), std::string::npos);
  EXPECT_EQ(fs::file_size(testing::NativePath(Path())), 0u);
}

// A host whose waiting lets the other program copy finish after a few waits.
class ReleasingHost : public RecordingHost {
 public:
  ReleasingHost(FakeClock* clock, ResultsFile* holder, int waitsBeforeRelease)
      : RecordingHost(clock), holder_(holder), left_(waitsBeforeRelease) {}
  void WaitResponsive(double seconds) override {
    RecordingHost::WaitResponsive(seconds);
    if (--left_ == 0) {
      holder_->Unlock();
    }
  }

 private:
  ResultsFile* holder_;
  int left_;
};

TEST_F(ResultsFileTest, AppendTakesTheMomentOnceTheLockIsHeld) {
  ResultsFile other;
  ASSERT_EQ(OpenResultsFile(state->installation, other), FileStatus::Ok);
  ASSERT_EQ(other.TryLock(), FileStatus::Ok);
  ReleasingHost host(&fake.clock, &other, 9);
  Services services{fake.clock, fake.random, fake.sound, host};
  // The retries carry the clock over into the next second: the stored second shows when the
  // moment was taken.
  fake.clock.Set(2026, 12, 10, 10, 4, 59.8);

  ASSERT_TRUE(AppendRunRecord(state->installation, services, 12, 3, 47));
  EXPECT_TRUE(host.messages.empty());
  // Quick retries first, then every 50 ms: 0.005 + 0.01 + 0.02 + 0.04 + 0.05 × 5.
  EXPECT_NEAR(host.waited, 0.005 + 0.01 + 0.02 + 0.04 + 0.05 * 5, 1e-9);
  const auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(FormatTimeOfDay(records[0].runTime), "10:05:00");
}

TEST_F(ResultsFileTest, AppendThatCannotWriteTellsAtOnce) {
  state->installation.dataFolder = folder + "/missing/";
  state->session.currentPupil = 7;
  state->session.currentLevel = 2;
  state->run.recordedTime = kTimeOutSeconds;
  EXPECT_FALSE(AppendResultRecord(state->installation, state->session, state->run, fake.services));
  EXPECT_EQ(fake.host.waited, 0);
  ASSERT_EQ(fake.host.messages.size(), 1u);
  EXPECT_NE(fake.host.messages[0].find("番号 7　ﾚﾍﾞﾙ2　時間切れ"), std::string::npos);
  EXPECT_NE(fake.host.messages[0].find("書き込めません"), std::string::npos);
}

TEST(RetryOnConflict, WaitsBetweenAttemptsUpToThePatience) {
  struct Case {
    RetryPolicy policy;
    int conflicts;  // attempts that meet a conflict before one succeeds
    FileStatus result;
    double waited;
    int attempts;
  } cases[] = {
      {kReaderRetry, 0, FileStatus::Ok, 0, 1},
      {kReaderRetry, 3, FileStatus::Ok, 3, 4},
      {kReaderRetry, 1000, FileStatus::Conflict, 30, 31},
      {{0.25, 1, 2}, 1000, FileStatus::Conflict, 2, 5},  // 0.25 + 0.5 + 1 + 0.25
      {kWriterRetry, 2, FileStatus::Ok, 0.015, 3},
  };
  for (const auto& c : cases) {
    FakeServices fake;
    int attempts = 0;
    const FileStatus st = RetryOnConflict(fake.services, c.policy, [&]() {
      return ++attempts <= c.conflicts ? FileStatus::Conflict : FileStatus::Ok;
    });
    EXPECT_EQ(st, c.result);
    EXPECT_NEAR(fake.host.waited, c.waited, 1e-9);
    EXPECT_EQ(attempts, c.attempts);
  }
  FakeServices fake;
  int attempts = 0;
  EXPECT_EQ(RetryOnConflict(fake.services, kReaderRetry,
                            [&]() {
                              ++attempts;
                              return FileStatus::Failed;
                            }),
            FileStatus::Failed);
  EXPECT_EQ(attempts, 1);  // other errors are not retried
}

TEST_F(ResultsFileTest, LocksExcludeEachOtherWithinOneProgramToo) {
  ResultsFile a;
  ResultsFile b;
  ASSERT_EQ(OpenResultsFile(state->installation, a), FileStatus::Ok);
  ASSERT_EQ(OpenResultsFile(state->installation, b), FileStatus::Ok);
  ASSERT_EQ(a.TryLock(), FileStatus::Ok);
  EXPECT_EQ(b.TryLock(), FileStatus::Conflict);
  {
    ResultsFile reader;  // opening and closing another copy does not drop a's lock
    ASSERT_EQ(OpenResultsFile(state->installation, reader), FileStatus::Ok);
  }
  EXPECT_EQ(b.TryLock(), FileStatus::Conflict);
  a.Close();
  EXPECT_EQ(b.TryLock(), FileStatus::Ok);
}

TEST_F(ResultsFileTest, AnOpenFileNoticesThatADeletionReplacedIt) {
  WriteRecords({MakeRun(1, 1, 1)});
  ResultsFile old;
  ASSERT_EQ(OpenResultsFile(state->installation, old), FileStatus::Ok);
  EXPECT_TRUE(old.StillAtPath());
  std::string error;
  ASSERT_TRUE(DeleteResultRecord(state->installation, fake.services, 1, error)) << error;
  EXPECT_FALSE(old.StillAtPath());  // an append holding it opens the file again
  ASSERT_TRUE(AppendRunRecord(state->installation, fake.services, 2, 1, 5));
  EXPECT_EQ(SecondsInFile(), (std::vector<int>{5}));
}

// --- Single records ---------------------------------------------------------------------------

TEST_F(ResultsFileTest, RewriteChangesOnlyTheOneRecord) {
  WriteRecords({MakeRun(1, 1, 30), MakeRun(2, 1, 31), MakeRun(3, 1, 32)});
  ResultRecord r;
  std::string error;
  ASSERT_TRUE(ReadResultRecord(state->installation, fake.services, 2, r, error)) << error;
  EXPECT_EQ(r, MakeRun(2, 1, 31));
  r.pupilNumber = 9;
  r.seconds = 46;
  ASSERT_TRUE(RewriteResultRecord(state->installation, fake.services, 2, r, error)) << error;
  const auto records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], MakeRun(1, 1, 30));
  EXPECT_EQ(records[1], r);
  EXPECT_EQ(records[2], MakeRun(3, 1, 32));

  for (uint32_t n : {0u, 4u}) {
    EXPECT_FALSE(ReadResultRecord(state->installation, fake.services, n, r, error));
    EXPECT_EQ(error, "記録 " + std::to_string(n) + " はありません");
    EXPECT_FALSE(RewriteResultRecord(state->installation, fake.services, n, r, error));
    EXPECT_EQ(error, "記録 " + std::to_string(n) + " はありません");
  }
  EXPECT_EQ(Records().size(), 3u);
}

// --- Deletion ---------------------------------------------------------------------------------

TEST_F(ResultsFileTest, DeleteRenumbersTheFollowingRecordsAndLeavesNoFilesBehind) {
  WriteRecords(
      {MakeRun(1, 1, 1), MakeRun(1, 1, 2), MakeRun(1, 1, 3), MakeRun(1, 1, 4), MakeRun(1, 1, 5)},
      "partial");
  std::string error;
  ASSERT_TRUE(DeleteResultRecord(state->installation, fake.services, 3, error)) << error;
  EXPECT_EQ(SecondsInFile(), (std::vector<int>{1, 2, 4, 5}));
  EXPECT_EQ(fs::file_size(testing::NativePath(Path())),
            4 * kResultRecordSize);  // the partial tail is dropped
  ASSERT_TRUE(DeleteResultRecord(state->installation, fake.services, 4, error)) << error;
  EXPECT_EQ(SecondsInFile(), (std::vector<int>{1, 2, 4}));
  EXPECT_FALSE(fs::exists(testing::NativePath(ResultsSafetyCopyPath(state->installation))));
  EXPECT_FALSE(fs::exists(testing::NativePath(ResultsNewFilePath(state->installation))));
  EXPECT_EQ(DetectInterruptedDelete(state->installation), "");

  EXPECT_FALSE(DeleteResultRecord(state->installation, fake.services, 4, error));
  EXPECT_EQ(error, "記録 4 はありません");
  EXPECT_EQ(SecondsInFile(), (std::vector<int>{1, 2, 4}));
}

TEST_F(ResultsFileTest, DeleteWaitsForAnAppendInProgress) {
  WriteRecords({MakeRun(1, 1, 1), MakeRun(1, 1, 2)});
  ResultsFile other;
  ASSERT_EQ(OpenResultsFile(state->installation, other), FileStatus::Ok);
  ASSERT_EQ(other.TryLock(), FileStatus::Ok);
  ReleasingHost host(&fake.clock, &other, 3);
  Services services{fake.clock, fake.random, fake.sound, host};
  std::string error;
  ASSERT_TRUE(DeleteResultRecord(state->installation, services, 1, error)) << error;
  EXPECT_GT(host.waited, 0);
  EXPECT_EQ(SecondsInFile(), (std::vector<int>{2}));
}

// Every step at which a deletion can be cut short leaves all records but the deleted one in the
// results file, keeps the safety copy until the new file is in place, and explains the left-over
// copy. An append by another program copy afterwards goes into the file that stays.
TEST_F(ResultsFileTest, DeleteInterruptedAtEachStepLosesNothing) {
  struct Case {
    DeleteStep step;
    bool deleted;      // the results file is the new one
    bool copyLeft;     // the safety copy is still there
    const char* says;  // what the explanation says
  } cases[] = {
      {DeleteStep::Locked, false, false, ""},
      {DeleteStep::CopyPartWritten, false, true, "消去は行われていません"},
      {DeleteStep::CopyWritten, false, true, "消去は行われていません"},
      {DeleteStep::NewPartWritten, false, true, "消去は行われていません"},
      {DeleteStep::NewWritten, false, true, "消去は行われていません"},
      {DeleteStep::Replaced, true, true, "記録 3 の消去は終わっています"},
      {DeleteStep::CopyRemoved, true, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.step));
    fs::remove(testing::NativePath(ResultsSafetyCopyPath(state->installation)));
    WriteRecords(
        {MakeRun(1, 1, 1), MakeRun(1, 1, 2), MakeRun(1, 1, 3), MakeRun(1, 1, 4), MakeRun(1, 1, 5)});
    std::string error;
    ASSERT_FALSE(DeleteResultRecord(state->installation, fake.services, 3, error,
                                    [&](DeleteStep s) { return s != c.step; }));
    EXPECT_EQ(error, "消去を途中で止めました");

    ASSERT_TRUE(AppendRunRecord(state->installation, fake.services, 1, 1, 6));
    EXPECT_EQ(SecondsInFile(),
              c.deleted ? (std::vector<int>{1, 2, 4, 5, 6}) : (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(fs::exists(testing::NativePath(ResultsSafetyCopyPath(state->installation))),
              c.copyLeft);
    const std::string told = DetectInterruptedDelete(state->installation);
    if (c.copyLeft) {
      EXPECT_NE(told.find(c.says), std::string::npos) << told;
      EXPECT_NE(told.find("「成績累積データtemp.dat」は消去前の控え"), std::string::npos) << told;
      // The left-over copy stops further deletions until it is dealt with.
      const uint32_t ticks = fake.clock.TickCount();
      EXPECT_FALSE(DeleteResultRecord(state->installation, fake.services, 1, error));
      EXPECT_EQ(error, told);
      EXPECT_GE(fake.clock.TickCount() - ticks, 3000u);
      if (c.step != DeleteStep::CopyPartWritten) {
        EXPECT_EQ(FileBytes(ResultsSafetyCopyPath(state->installation)).size(),
                  5 * kResultRecordSize);
      }
      fs::remove(testing::NativePath(
          ResultsSafetyCopyPath(state->installation)));  // as the user is told to
    } else {
      EXPECT_EQ(told, "");
    }
    // Deleting works again, also over a half-written new file left behind.
    ASSERT_TRUE(DeleteResultRecord(state->installation, fake.services, 1, error)) << error;
    EXPECT_EQ(Records().size(), c.deleted ? 4u : 5u);
    EXPECT_FALSE(fs::exists(testing::NativePath(ResultsNewFilePath(state->installation))));
  }
}

TEST_F(ResultsFileTest, ACopyThatDisagreesWithTheFileIsKeptAndExplained) {
  WriteRecords({MakeRun(1, 1, 1), MakeRun(1, 1, 2), MakeRun(1, 1, 3)});
  WriteBytes(ResultsSafetyCopyPath(state->installation),
             Encoded(MakeRun(1, 1, 7)) + Encoded(MakeRun(1, 1, 8)) + Encoded(MakeRun(1, 1, 9)) +
                 Encoded(MakeRun(1, 1, 10)));
  const std::string told = DetectInterruptedDelete(state->installation);
  EXPECT_NE(told.find("食い違いがあります"), std::string::npos) << told;
  EXPECT_NE(told.find("どちらのファイルも消さずに保管し"), std::string::npos) << told;
  EXPECT_NE(told.find(ResultsSafetyCopyPath(state->installation)), std::string::npos);
  std::string error;
  EXPECT_FALSE(DeleteResultRecord(state->installation, fake.services, 1, error));
  EXPECT_EQ(error, told);
  EXPECT_EQ(SecondsInFile(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(FileBytes(ResultsSafetyCopyPath(state->installation)).size(), 4 * kResultRecordSize);
}

}  // namespace
}  // namespace numora
