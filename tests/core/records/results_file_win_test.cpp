// Windows only: why a deletion cannot simply rename its new file over the results file there, and
// how program copies behave in the moment the old file steps aside for the new one.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/installation/app_state.h"
#include "core/platform/field_reader.h"
#include "core/platform/file_replace.h"
#include "core/platform/wide_text_win.h"
#include "core/records/results_file.h"
#include "support/fakes.h"
#include "support/platform.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

class ResultsFileWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::MakeScratchFolder("numora-成績");
    state_ = std::make_unique<AppState>();
    state_->installation.dataFolder = PathText(folder_) + "\\";
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
  std::unique_ptr<AppState> state_;
};

TEST_F(ResultsFileWindowsTest, APlainRenameOverTheOpenResultsFileIsRefused) {
  const std::string path = ResultsFilePath(state_->installation);
  const std::string fresh = ResultsNewFilePath(state_->installation);
  ASSERT_TRUE(WriteWholeFile(path, "old"));
  ASSERT_TRUE(WriteWholeFile(fresh, "new"));
  ResultsFile open;
  ASSERT_EQ(open.Open(path), FileStatus::Ok);
  ASSERT_EQ(open.TryLock(), FileStatus::Ok);
  EXPECT_FALSE(MoveFileExW(WideFromUtf8(fresh).c_str(), WideFromUtf8(path).c_str(),
                           MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  int error = 0;
  bool busy = false;
  EXPECT_TRUE(ReplaceOpenFile(fresh, path, error, busy)) << error;
}

TEST_F(ResultsFileWindowsTest, WhileTheOldFileStepsAsideCopiesWaitAndCreateNothing) {
  const std::string path = ResultsFilePath(state_->installation);
  ASSERT_TRUE(WriteWholeFile(ReplacingNameOf(path), "old"));
  ResultsFile file;
  EXPECT_EQ(file.Open(path), FileStatus::Conflict);
  EXPECT_FALSE(fs::exists(testing::NativePath(path)));

  // An append in that moment waits and goes on once the new file is in place.
  class NewFileAfterThreeWaits : public RecordingHost {
   public:
    explicit NewFileAfterThreeWaits(std::string path) : path_(std::move(path)) {}
    void WaitResponsive(double seconds) override {
      RecordingHost::WaitResponsive(seconds);
      if (++waits == 3) {
        WriteWholeFile(path_, "");
        fs::remove(testing::NativePath(ReplacingNameOf(path_)));
      }
    }
    int waits = 0;

   private:
    std::string path_;
  } host(path);
  FakeClock clock;
  ScriptedRandom random;
  RecordingSound sound;
  Services services{clock, random, sound, host};
  ASSERT_TRUE(AppendRunRecord(state_->installation, services, 7, 1, 42));
  EXPECT_EQ(host.waits, 3);
  EXPECT_EQ(fs::file_size(testing::NativePath(path)), kResultRecordSize);
}

}  // namespace
}  // namespace numora
