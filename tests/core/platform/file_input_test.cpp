// Text decoding of hand-edited files, the file-type check before reading, and the Japanese texts
// of system errors.

#include <gtest/gtest.h>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "core/platform/system_error.h"
#include "core/platform/utf8_text.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

TEST(TextDecoding, EncodingIsRecognisedAndTheEndMarkEndsTheText) {
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    const char* utf8;
    bool endMarkCut;
  } cases[] = {
      {Utf8ToCp932("正解音2,ａ\r\n"), TextEncoding::Cp932, "正解音2,ａ\r\n", false},
      {"\xEF\xBB\xBF正解音2,ａ\r\n", TextEncoding::Utf8WithBom, "正解音2,ａ\r\n", false},
      {"正解音2,ａ\r\n", TextEncoding::Utf8, "正解音2,ａ\r\n", false},
      // Plain ASCII is the same in both; it is read as the program's own encoding.
      {"40,60\r\n", TextEncoding::Cp932, "40,60\r\n", false},
      // Half-width katakana in CP932 are single bytes that are never valid UTF-8.
      {Utf8ToCp932("ﾚﾍﾞﾙ1"), TextEncoding::Cp932, "ﾚﾍﾞﾙ1", false},
      {Utf8ToCp932("髙﨑,①\r\n") + "\x1A", TextEncoding::Cp932, "髙﨑,①\r\n", true},
      {"a,b\r\n\x1A"
       "c,d\r\n",
       TextEncoding::Cp932, "a,b\r\n", true},
      {"\xEF\xBB\xBF山田\x1A", TextEncoding::Utf8WithBom, "山田", true},
  };
  for (const Case& c : cases) {
    const DecodedText text = DecodeTextFile(c.bytes);
    EXPECT_EQ(text.encoding, c.encoding) << c.utf8;
    EXPECT_EQ(text.utf8, c.utf8);
    EXPECT_EQ(text.endMarkCut, c.endMarkCut) << c.utf8;
    EXPECT_TRUE(text.invalidLines.empty()) << c.utf8;
  }
}

TEST(TextDecoding, InvalidBytesBecomeReplacementCharactersAndTheirLinesAreNamed) {
  struct Case {
    std::string bytes;
    std::string utf8;
    std::vector<int> lines;
  } cases[] = {
      // A lead byte with no trail byte, an unassigned double-byte code, a byte CP932 never uses.
      {"ok\r\nab\x81\r\nok\r\n\x85\x40x\nz\xFF\r\n",
       "ok\r\nab\uFFFD\r\nok\r\n\uFFFDx\nz\uFFFD\r\n",
       {2, 4, 5}},
      // Lone CR ends a line too; two bad bytes on one line name it once.
      {"a\r\xFF\xFF\rb\xFF", "a\r\uFFFD\uFFFD\rb\uFFFD", {2, 3}},
      // A broken sequence in a UTF-8 file with its mark.
      {"\xEF\xBB\xBF名前\r\n\xE5\x90\r\n", "名前\r\n\uFFFD\uFFFD\r\n", {2}},
  };
  for (const Case& c : cases) {
    const DecodedText text = DecodeTextFile(c.bytes);
    EXPECT_EQ(text.utf8, c.utf8);
    EXPECT_EQ(text.invalidLines, c.lines);
    EXPECT_EQ(text.invalidLineCount, c.lines.size());
  }
}

TEST(TextDecoding, UnlimitedInvalidLinesAreCountedButOnlyTheFirstListed) {
  std::string bytes;
  for (int i = 0; i < 100; ++i) bytes += "\xFF\r\n";
  const DecodedText text = DecodeTextFile(bytes);
  EXPECT_EQ(text.invalidLineCount, 100U);
  ASSERT_EQ(text.invalidLines.size(), DecodedText::kMaxListedLines);
  EXPECT_EQ(text.invalidLines.back(), static_cast<int>(DecodedText::kMaxListedLines));
}

TEST(FieldReader, Utf8FileGivesTheSameFieldsAsItsCp932Twin) {
  const std::string text = "正解音2\r\n  鈴木,\"a,b\"\r\n*\r\n";
  for (const std::string& bytes : {Utf8ToCp932(text), "\xEF\xBB\xBF" + text, text}) {
    FieldReader r = FieldReader::FromBytes(bytes);
    std::vector<std::string> fields;
    while (!r.AtEnd()) fields.push_back(r.NextText());
    EXPECT_EQ(fields, (std::vector<std::string>{"正解音2", "鈴木", "a,b", "*"}));
  }
}

TEST(FieldReader, BlankLinesBeforeAFieldAreEmptyFieldsEachReadOnce) {
  // Many blank lines before the only field: every line is one empty field, and the position
  // never goes back (the reader is linear whatever the shape).
  std::string bytes;
  for (int i = 0; i < 50000; ++i) bytes += "\r\n";
  bytes += "last\r\n  \r\n\r\n";
  FieldReader r = FieldReader::FromBytes(bytes);
  int empty = 0;
  std::string field;
  while (!r.AtEnd()) {
    field = r.NextText();
    empty += field.empty() ? 1 : 0;
  }
  EXPECT_EQ(empty, 50000);
  EXPECT_EQ(field, "last");
  EXPECT_FALSE(r.pastEnd());
}

class FileTypeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("numora_filetype_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) { return (dir_ / name).string(); }
  fs::path dir_;
};

#ifdef _WIN32
TEST_F(FileTypeTest, OnlyRegularFilesAreRead) {
  std::ofstream(Path("plain.txt")) << "a,b\r\n";
  fs::create_directory(Path("folder.txt"));
  struct Case {
    std::string path;
    int error;
  } cases[] = {
      {Path("plain.txt"), 0},
      {Path("folder.txt"), kErrorNotRegularFile},
      {Path("missing.txt"), ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    std::string bytes;
    int error = -7;
    EXPECT_EQ(ReadWholeFile(c.path, bytes, error), c.error == 0) << c.path;
    EXPECT_EQ(error, c.error) << c.path;
    FieldReader reader(c.path);
    EXPECT_EQ(reader.ok(), c.error == 0) << c.path;
    if (c.error != 0) {
      EXPECT_NE(reader.error().find(SystemErrorText(c.error)), std::string::npos) << c.path;
    }
  }
}

#else
TEST_F(FileTypeTest, OnlyRegularFilesAreReadAndNothingBlocks) {
  std::ofstream(Path("plain.txt")) << "a,b\r\n";
  ASSERT_EQ(::mkfifo(Path("pipe.txt").c_str(), 0600), 0);
  fs::create_directory(Path("folder.txt"));
  fs::create_symlink(Path("loop1.txt"), Path("loop2.txt"));
  fs::create_symlink(Path("loop2.txt"), Path("loop1.txt"));
  fs::create_symlink(Path("plain.txt"), Path("link.txt"));
  struct Case {
    std::string path;
    int error;
  } cases[] = {
      {Path("plain.txt"), 0},
      {Path("link.txt"), 0},
      {Path("pipe.txt"), kErrorNotRegularFile},
      {Path("folder.txt"), kErrorNotRegularFile},
      {"/dev/zero", kErrorNotRegularFile},
      {Path("loop1.txt"), ELOOP},
      {Path("missing.txt"), ENOENT},
      {Path("plain.txt") + "/inside.txt", ENOTDIR},
  };
  for (const Case& c : cases) {
    std::string bytes;
    int error = -7;
    EXPECT_EQ(ReadWholeFile(c.path, bytes, error), c.error == 0) << c.path;
    EXPECT_EQ(error, c.error) << c.path;
    FieldReader reader(c.path);
    EXPECT_EQ(reader.ok(), c.error == 0) << c.path;
    if (c.error != 0) {
      // The reason is told in Japanese, never in the system's English words.
      EXPECT_NE(reader.error().find(SystemErrorText(c.error)), std::string::npos) << c.path;
      if (c.error > 0) {
        EXPECT_EQ(reader.error().find(std::strerror(c.error)), std::string::npos) << c.path;
      }
    }
  }
}
#endif

TEST_F(FileTypeTest, FileLargerThanTheLimitIsRefused) {
  std::ofstream(Path("big.txt")) << std::string(1000, 'x');
  std::string bytes;
  int error = 0;
  EXPECT_FALSE(ReadWholeFile(Path("big.txt"), bytes, error, 999));
  EXPECT_EQ(error, kErrorFileTooLarge);
  EXPECT_TRUE(ReadWholeFile(Path("big.txt"), bytes, error, 1000));
}

#ifdef _WIN32
TEST(SystemErrorText, EveryErrorNumberIsTextedInJapanese) {
  for (int e = 1; e < 1400; ++e) {
    const std::string text = SystemErrorText(e);
    for (char c : text) {
      EXPECT_FALSE((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << e << " " << text;
    }
  }
  struct Case {
    int error;
    const char* text;
  } cases[] = {
      {ERROR_ACCESS_DENIED, "アクセスが拒否されました（読み書きの権限がありません）"},
      {ERROR_SHARING_VIOLATION, "ファイルは他のプログラムが使用中です"},
      {ERROR_LOCK_VIOLATION, "ファイルは他のプログラムが使用中です"},
      {ERROR_DISK_FULL, "ディスクの空き領域が足りません"},
      {9999, "ファイルを扱えません（エラー番号 9999）"},
  };
  for (const Case& c : cases) EXPECT_EQ(SystemErrorText(c.error), c.text);
}

TEST(SystemErrorText, OnlyLockConflictsAreWorthWaitingFor) {
  struct Case {
    int error;
    bool whileLocking;
    bool conflict;
  } cases[] = {
      {ERROR_LOCK_VIOLATION, true, true},  {ERROR_SHARING_VIOLATION, false, true},
      {ERROR_LOCK_VIOLATION, false, true}, {ERROR_ACCESS_DENIED, true, false},
      {ERROR_ACCESS_DENIED, false, false}, {ERROR_FILE_NOT_FOUND, false, false},
      {ERROR_WRITE_PROTECT, false, false}, {ERROR_DISK_FULL, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSharingConflict(c.error, c.whileLocking), c.conflict) << c.error;
  }
}

#else
TEST(SystemErrorText, EveryErrorNumberIsTextedInJapanese) {
  for (int e = 1; e < 134; ++e) {
    const std::string text = SystemErrorText(e);
    EXPECT_EQ(text.find(std::strerror(e)), std::string::npos) << e;
    for (char c : text) {
      EXPECT_FALSE((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << e << " " << text;
    }
  }
  struct Case {
    int error;
    const char* text;
  } cases[] = {
      {EACCES, "アクセスが拒否されました（読み書きの権限がありません）"},
      {ENOTDIR, "パスの途中にフォルダではないものがあります"},
      {ENOSPC, "ディスクの空き領域が足りません"},
      {EROFS, "書き込みが禁止されたドライブです"},
      {ELOOP, "シンボリックリンクが循環しています"},
      {9999, "ファイルを扱えません（エラー番号 9999）"},
  };
  for (const Case& c : cases) EXPECT_EQ(SystemErrorText(c.error), c.text);
}

TEST(SystemErrorText, OnlyLockConflictsAreWorthWaitingFor) {
  struct Case {
    int error;
    bool whileLocking;
    bool conflict;
  } cases[] = {
      {EAGAIN, true, true},   {EACCES, true, true},   {EAGAIN, false, true},
      {EACCES, false, false}, {EPERM, false, false},  {EROFS, false, false},
      {ENOENT, false, false}, {ENOSPC, false, false}, {ENOTDIR, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSharingConflict(c.error, c.whileLocking), c.conflict) << c.error;
  }
}
#endif

TEST(Quoted, LongTextsAreCutToTwoHundredCharacters) {
  EXPECT_EQ(Quoted("短い"), "短い");
  const std::string exact = std::string(190, 'a') + "あいうえおかきくけこ";
  EXPECT_EQ(Quoted(exact), exact);
  const std::string cut = Quoted(exact + "さ");
  EXPECT_EQ(CharCount(cut), 200U);
  EXPECT_EQ(cut, std::string(190, 'a') + "あいうえおかきくけ…");
  EXPECT_EQ(CharCount(ShownPath("/" + std::string(5000, 'd') + "/新名簿.txt")), 200U);
}

}  // namespace
}  // namespace numora
