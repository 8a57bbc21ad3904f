// The level standards file: loading rules (shifted fields, no clearing, 35 levels).

#include "core/records/level_standards.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/installation/app_state.h"
#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

class LevelStandardsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           (std::string("numora_standards_") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    const std::u8string p = (dir_ / fs::u8path("タイム回数データ.txt")).u8string();
    path_.assign(p.begin(), p.end());
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& utf8) { ASSERT_TRUE(WriteWholeFile(path_, Utf8ToCp932(utf8))); }
  std::string ReadBack() {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path_, bytes));
    return bytes;
  }

  fs::path dir_;
  std::string path_;
};

const char* const kHeader =
    "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n";

TEST_F(LevelStandardsTest, LoadsHeaderIntoEntryZeroAndLevelsByLine) {
  Write(std::string(kHeader) + "40,60,100,3,1,10,0,7,1,,,\r\n" + "35,55,120,3,1.5,,,14,2,x,,9\r\n");
  AppState s;
  const StandardsLoadResult r = LoadLevelStandards(s.catalogue, path_);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.entriesRead, 3);
  EXPECT_FALSE(r.incompleteLastEntry);
  const LevelStandard& h = s.catalogue.standards[0];
  EXPECT_EQ(h.targetTime, 0);
  EXPECT_EQ(h.clearCount, 0);
  EXPECT_EQ(h.pointMultiplier, 0.0f);
  EXPECT_EQ(h.overPracticeCount.Text(), "禁回");
  EXPECT_EQ(h.overPracticePeriodDays.Text(), "禁期間");

  const LevelStandard& l1 = s.catalogue.standards[1];
  EXPECT_EQ(l1.targetTime, 40);
  EXPECT_EQ(l1.minimumTime, 60);
  EXPECT_EQ(l1.clearPoints, 100);
  EXPECT_EQ(l1.clearCount, 3);
  EXPECT_EQ(l1.pointMultiplier, 1.0f);
  EXPECT_TRUE(l1.overPracticeCount.IsNumber());
  EXPECT_EQ(l1.overPracticeCount.Number(), 10);
  EXPECT_EQ(l1.passPeriodDays.Number(), 7);

  const LevelStandard& l2 = s.catalogue.standards[2];
  EXPECT_EQ(l2.pointMultiplier, 1.5f);
  EXPECT_TRUE(l2.overPracticeCount.IsEmpty());
  EXPECT_EQ(l2.overPracticeCount, Value(0));         // empty means no limit, exactly like 0
  EXPECT_EQ(l2.overPracticePeriodDays.Number(), 2);  // the texts of columns 10 to 12 change nothing
}

TEST_F(LevelStandardsTest, NumericColumnsConvertText) {
  struct Case {
    const char* field;
    int32_t expected;
  } cases[] = {{"abc", 0},   {"", 0},    {" 45", 45},         {"40.5", 40},
               {"41.5", 42}, {"-3", -3}, {"1e20", 2147483647}};
  for (const auto& c : cases) {
    Write(std::string(kHeader) + c.field + ",0,0,0,0,,,,,,,\r\n");
    AppState s;
    ASSERT_TRUE(LoadLevelStandards(s.catalogue, path_).ok);
    EXPECT_EQ(s.catalogue.standards[1].targetTime, c.expected) << c.field;
  }
  Write(std::string(kHeader) + "0,0,0,99999,0.1,,,,,,,\r\n");
  AppState s;
  ASSERT_TRUE(LoadLevelStandards(s.catalogue, path_).ok);
  EXPECT_EQ(s.catalogue.standards[1].clearCount, 32767);      // held within the 16-bit column
  EXPECT_EQ(s.catalogue.standards[1].pointMultiplier, 0.1f);  // single precision, not 0.1 double
}

TEST_F(LevelStandardsTest, ShortLineShiftsFieldsIntoTheNextEntry) {
  Write(std::string(kHeader) + "40,60,100,3,1,10,0,7,1,,\r\n" +  // eleven fields
        "35,55,120,3,2,,,14,2,,,\r\n");
  AppState s;
  const StandardsLoadResult r = LoadLevelStandards(s.catalogue, path_);
  ASSERT_TRUE(r.ok);
  // Level 1 takes "35" from the next line as its twelfth field; level 2 starts at "55".
  EXPECT_EQ(s.catalogue.standards[1].overPracticePeriodDays.Number(), 1);
  EXPECT_EQ(s.catalogue.standards[2].targetTime, 55);
  EXPECT_EQ(s.catalogue.standards[2].minimumTime, 120);
  EXPECT_TRUE(r.incompleteLastEntry);
  EXPECT_EQ(r.entriesRead, 3);
}

TEST_F(LevelStandardsTest, LoadingDoesNotClearLaterEntries) {
  AppState s;
  for (int l = 1; l <= 35; ++l) s.catalogue.standards[static_cast<size_t>(l)].targetTime = 1000 + l;
  Write(std::string(kHeader) + "40,60,100,3,1,10,0,7,1,,,\r\n");
  ASSERT_TRUE(LoadLevelStandards(s.catalogue, path_).ok);
  EXPECT_EQ(s.catalogue.standards[1].targetTime, 40);
  EXPECT_EQ(s.catalogue.standards[2].targetTime, 1002);
  EXPECT_EQ(s.catalogue.standards[35].targetTime, 1035);
}

TEST_F(LevelStandardsTest, MissingFileLeavesTheTableAndNamesThePath) {
  AppState s;
  s.catalogue.standards[1].targetTime = 77;
  const StandardsLoadResult r = LoadLevelStandards(s.catalogue, path_);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("タイム回数データ.txt"), std::string::npos);
  EXPECT_NE(r.error.find(path_), std::string::npos);
  EXPECT_EQ(s.catalogue.standards[1].targetTime, 77);
}

TEST_F(LevelStandardsTest, MoreThan35LevelLinesLoadsThe35First) {
  std::string text = kHeader;
  for (int l = 1; l <= 40; ++l) text += std::to_string(l) + ",60,100,3,1,10,0,7,1,,,\r\n";
  Write(text);
  AppState s;
  const StandardsLoadResult r = LoadLevelStandards(s.catalogue, path_);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.tooManyLevels);
  EXPECT_EQ(r.entriesRead, 36);
  EXPECT_EQ(s.catalogue.standards[35].targetTime, 35);
}

TEST(LevelStandardsPathTest, InTheDataFolder) {
  AppState s;
  s.installation.dataFolder = "/d/numora/";
  EXPECT_EQ(LevelStandardsPath(s.installation), "/d/numora/タイム回数データ.txt");
}

}  // namespace
}  // namespace numora
