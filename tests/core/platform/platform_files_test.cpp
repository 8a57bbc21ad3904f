// What the platform layer must do alike on POSIX and Windows: folder paths of both styles, files
// in folders with Japanese names, replacing a file that is open and locked, the executable's
// folder, era dates across every era change, and CP932 bytes that are not CP932.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/file_replace.h"
#include "core/platform/locked_file.h"
#include "core/platform/paths.h"
#include "core/platform/system_clock.h"
#include "core/platform/system_error.h"
#include "support/platform.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

TEST(Paths, FolderRulesOfBothStyles) {
  constexpr PathStyle W = PathStyle::Windows;
  constexpr PathStyle P = PathStyle::Posix;
  struct Case {
    PathStyle style;
    const char* path;
    const char* root;
    const char* withSeparator;
    const char* withoutSeparator;
    const char* last;
  } cases[] = {
      {W, "C:\\KT0042\\Build", "C:\\", "C:\\KT0042\\Build\\", "C:\\KT0042\\Build", "Build"},
      {W, "D:\\Root\\Apps\\Divisors\\", "D:\\", "D:\\Root\\Apps\\Divisors\\",
       "D:\\Root\\Apps\\Divisors", "Divisors"},
      {W, "E:\\Data/", "E:\\", "E:\\Data/", "E:\\Data", "Data"},
      {W, "\\\\server\\share\\学校\\ヌモラ", "\\\\server\\share\\",
       "\\\\server\\share\\学校\\ヌモラ\\", "\\\\server\\share\\学校\\ヌモラ", "ヌモラ"},
      {W, "\\\\server\\share", "\\\\server\\share\\", "\\\\server\\share\\", "\\\\server\\share",
       "share"},
      {W, "C:\\", "C:\\", "C:\\", "C:\\", ""},
      {P, "/home/KT0042/build/", "/", "/home/KT0042/build/", "/home/KT0042/build", "build"},
      {P, "/srv/共有/numora", "/", "/srv/共有/numora/", "/srv/共有/numora", "numora"},
      {P, "/", "/", "/", "/", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(RootOf(c.path, c.style), c.root);
    EXPECT_EQ(WithClosingSeparator(c.path, c.style), c.withSeparator);
    EXPECT_EQ(WithoutClosingSeparator(c.path, c.style), c.withoutSeparator);
    EXPECT_EQ(LastComponent(c.path, c.style), c.last);
  }
}

TEST(Paths, ExecutableFolderWithoutTheExtendedLengthPrefix) {
  struct Case {
    PathStyle style;
    const char* exe;
    const char* folder;
  } cases[] = {
      {PathStyle::Windows, "C:\\学校\\numora\\numora.exe", "C:\\学校\\numora\\"},
      {PathStyle::Windows, "\\\\?\\C:\\学校\\numora\\numora.exe", "C:\\学校\\numora\\"},
      {PathStyle::Windows, "\\\\?\\UNC\\server\\share\\numora\\numora.exe",
       "\\\\server\\share\\numora\\"},
      {PathStyle::Windows, "\\\\server\\share\\numora.exe", "\\\\server\\share\\"},
      {PathStyle::Posix, "/opt/学校/numora/numora", "/opt/学校/numora/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderOfExecutablePath(c.exe, c.style), c.folder) << c.exe;
  }
}

TEST(Paths, TheRunningExecutableIsInItsFolder) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), FolderSeparator());
  EXPECT_TRUE(fs::exists(testing::NativePath(folder + "test_platform" + kExecutableSuffix)))
      << folder;
}

class PlatformFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder name with characters outside every legacy code page but CP932's extensions.
    folder_ = testing::MakeScratchFolder("numora-成績①Ⅰ髙﨑");
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string In(const std::string& name) const {
    return PathText(folder_) + FolderSeparator() + name;
  }
  fs::path folder_;
};

TEST_F(PlatformFilesTest, FilesInJapaneseFoldersAreFoundByTheirNames) {
  const std::string path = In("新名簿.txt");
  ASSERT_TRUE(WriteWholeFile(path, Utf8ToCp932("山田　髙﨑,①\r\n")));
  EXPECT_TRUE(fs::exists(folder_ / testing::NativePath("新名簿.txt")));
  FieldReader reader(path);
  ASSERT_TRUE(reader.ok()) << reader.error();
  EXPECT_EQ(reader.NextText(), "山田　髙﨑");
  EXPECT_EQ(reader.NextText(), "①");

  LockedFile file;
  ASSERT_EQ(file.Open(In("成績累積データ.dat")), FileStatus::Ok);
  ASSERT_EQ(file.TryLock(), FileStatus::Ok);
  EXPECT_TRUE(fs::exists(folder_ / testing::NativePath("成績累積データ.dat")));
}

TEST_F(PlatformFilesTest, ReadsThatMeetTheEndOfTheFileFailAlikeAsShort) {
  const std::string path = In("成績累積データ.dat");
  ASSERT_TRUE(WriteWholeFile(path, "12345"));
  LockedFile file;
  ASSERT_EQ(file.OpenForReading(path), FileStatus::Ok);
  struct Case {
    int64_t offset;
    size_t n;
    FileStatus status;
    int error;
  } cases[] = {
      {1, 4, FileStatus::Ok, 0},                    // up to the last byte
      {2, 8, FileStatus::Failed, kErrorShortFile},  // runs past the end
      {5, 1, FileStatus::Failed, kErrorShortFile},  // starts at the end
      {9, 1, FileStatus::Failed, kErrorShortFile},  // starts past the end
  };
  for (const Case& c : cases) {
    char bytes[8] = {};
    EXPECT_EQ(file.ReadAt(c.offset, bytes, c.n), c.status) << c.offset;
    if (c.status == FileStatus::Ok) {
      EXPECT_EQ(std::string(bytes, c.n), "2345");
    } else {
      EXPECT_EQ(file.lastError(), c.error) << c.offset;
    }
  }
}

TEST_F(PlatformFilesTest, ReplacesAFileThatIsOpenAndLockedHereAndOpenElsewhere) {
  const std::string target = In("成績累積データ.dat");
  const std::string fresh = In("成績累積データnew.dat");
  ASSERT_TRUE(WriteWholeFile(target, "old"));
  ASSERT_TRUE(WriteWholeFile(fresh, "new!"));
  LockedFile locked;
  ASSERT_EQ(locked.Open(target), FileStatus::Ok);
  ASSERT_EQ(locked.TryLock(), FileStatus::Ok);
  LockedFile reader;
  ASSERT_EQ(reader.OpenForReading(target), FileStatus::Ok);

  int error = 0;
  bool busy = false;
  ASSERT_TRUE(ReplaceOpenFile(fresh, target, error, busy)) << error;

  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(target, bytes));
  EXPECT_EQ(bytes, "new!");
  EXPECT_FALSE(fs::exists(testing::NativePath(fresh)));
  // The handles opened before still see the old file and know it was replaced.
  char old[3] = {};
  EXPECT_EQ(reader.ReadAt(0, old, 3), FileStatus::Ok);
  EXPECT_EQ(std::string(old, 3), "old");
  EXPECT_FALSE(locked.StillAtPath());
  LockedFile now;
  ASSERT_EQ(now.Open(target), FileStatus::Ok);
  EXPECT_TRUE(now.StillAtPath());
  // Once the old handles are closed, nothing of the old file is left (where it had to step
  // aside, its name goes with its last handle).
  locked.Close();
  reader.Close();
  EXPECT_FALSE(fs::exists(testing::NativePath(ReplacingNameOf(target))));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(PlatformFilesTest, AFailedReplacementLeavesTheFileAsItWas) {
  const std::string target = In("成績累積データ.dat");
  ASSERT_TRUE(WriteWholeFile(target, "old"));
  int error = 0;
  bool busy = true;
  EXPECT_FALSE(ReplaceOpenFile(In("ない.dat"), target, error, busy));
  EXPECT_NE(error, 0);
  EXPECT_FALSE(busy);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(target, bytes));
  EXPECT_EQ(bytes, "old");
}

TEST(EraDates, EveryEraChange) {
  struct Case {
    int y, m, d;
    const char* text;
  } cases[] = {
      {1912, 7, 29, "明治45年 7月 29日（月）"},   {1912, 7, 30, "大正1年 7月 30日（火）"},
      {1926, 12, 24, "大正15年 12月 24日（金）"}, {1926, 12, 25, "昭和1年 12月 25日（土）"},
      {1989, 1, 7, "昭和64年 1月 07日（土）"},    {1989, 1, 8, "平成1年 1月 08日（日）"},
      {2019, 4, 30, "平成31年 4月 30日（火）"},   {2019, 5, 1, "令和1年 5月 01日（水）"},
      {1900, 1, 1, "明治33年 1月 01日（月）"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatEraDate(MakeDate(c.y, c.m, c.d) + 0.75), c.text);
  }
}

TEST(Cp932, BytesThatAreNotCp932BecomeReplacementCharacters) {
  struct Case {
    std::string cp932;
    const char* utf8;
  } cases[] = {
      {"a\x81", "a\xEF\xBF\xBD"},    // a lead byte at the end
      {"\x81 b", "\xEF\xBF\xBD b"},  // a lead byte before a byte that cannot follow it
      {"\x82\xA0\x81", "\xE3\x81\x82\xEF\xBF\xBD"},  // あ, then a cut character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
  }
}

}  // namespace
}  // namespace numora
