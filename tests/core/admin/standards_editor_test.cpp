// The standards editor without its window: the grid's keys, marks and change flag, reading the
// file into cells, the save (format, refusals, replacing the file whole) and the gate password.

#include "core/admin/standards_editor.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/admin/data_gate.h"
#include "core/admin/standards_file.h"
#include "core/installation/app_state.h"
#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "core/platform/system_error.h"
#include "support/platform.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

StandardsRow Row(int level) {
  return {std::to_string(30 + level), "60", "100", "3", "1.5", "", "0", "7", "1", "", "", ""};
}

StandardsGrid Grid(int levels) {
  std::vector<StandardsRow> rows;
  for (int l = 1; l <= levels; ++l) rows.push_back(Row(l));
  StandardsGrid g;
  g.Load(rows);
  return g;
}

TEST(StandardsGridTest, OpensOnRowOneColumnOneWithCaretAfterTheTenthCharacter) {
  StandardsGrid g = Grid(3);
  EXPECT_EQ(g.row(), 1);
  EXPECT_EQ(g.column(), 1);
  EXPECT_EQ(g.overlayText(), "31");
  EXPECT_EQ(g.caret(), 2);
  EXPECT_EQ(g.CellText(0, 0), "レベル");
  EXPECT_EQ(g.CellText(0, 5), "ﾎﾟｲﾝﾄ倍率");
  EXPECT_EQ(g.CellText(2, 0), "2");
  EXPECT_FALSE(g.dataChanged());

  // Each typed key first puts the cell text back into the overlay with the caret after the
  // tenth character, so a long text takes new characters there.
  std::vector<StandardsRow> rows{Row(1)};
  rows[0][0] = "あいうえおかきくけこさし";
  g.Load(rows);
  EXPECT_EQ(g.caret(), 10);
  g.PressKey(EditorKey::Other);
  g.TypeText("X");
  EXPECT_EQ(g.CellText(1, 1), "あいうえおかきくけこXさし");
}

TEST(StandardsGridTest, MovesStopAtTheEdges) {
  struct Case {
    std::vector<EditorKey> keys;
    int row, column;
  } cases[] = {
      {{EditorKey::Up}, 1, 1},
      {{EditorKey::Left}, 1, 1},
      {{EditorKey::Down, EditorKey::Down, EditorKey::Down}, 3, 1},
      {{EditorKey::Down, EditorKey::Up}, 1, 1},
      {std::vector<EditorKey>(15, EditorKey::Right), 1, 12},
      {{EditorKey::Right, EditorKey::Right, EditorKey::Left}, 1, 2},
      {{EditorKey::Escape, EditorKey::Enter, EditorKey::Other}, 1, 1},
  };
  for (const Case& c : cases) {
    StandardsGrid g = Grid(3);
    for (EditorKey k : c.keys) g.PressKey(k);
    EXPECT_EQ(g.row(), c.row);
    EXPECT_EQ(g.column(), c.column);
    EXPECT_EQ(g.overlayText(), g.CellText(c.row, c.column));
    EXPECT_FALSE(g.dataChanged());
  }
}

TEST(StandardsGridTest, EveryKeyButEscapeRefreshes) {
  StandardsGrid g = Grid(2);
  EXPECT_FALSE(g.PressKey(EditorKey::Escape));
  for (EditorKey k : {EditorKey::Enter, EditorKey::Up, EditorKey::Down, EditorKey::CopyDown,
                      EditorKey::Left, EditorKey::Right, EditorKey::Other}) {
    EXPECT_TRUE(g.PressKey(k));
  }
}

TEST(StandardsGridTest, TypingMarksTheCellAndKeepsTheMarkWhenTypedBack) {
  StandardsGrid g = Grid(3);
  g.PressKey(EditorKey::Other);
  g.TypeText("5");
  EXPECT_EQ(g.CellText(1, 1), "315");
  EXPECT_TRUE(g.IsMarked(1, 1));
  EXPECT_TRUE(g.dataChanged());
  g.PressKey(EditorKey::Other);
  g.Backspace();
  EXPECT_EQ(g.CellText(1, 1), "31");
  EXPECT_TRUE(g.IsMarked(1, 1));
  EXPECT_FALSE(g.IsMarked(1, 2));
  g.MarkSaved();
  EXPECT_FALSE(g.dataChanged());
  EXPECT_TRUE(g.IsMarked(1, 1));  // the marks show what was changed until the grid is reloaded
  g.Load({Row(1)});
  EXPECT_FALSE(g.IsMarked(1, 1));
}

TEST(StandardsGridTest, SpaceClearsTheCellAndMarksOnlyAChange) {
  StandardsGrid g = Grid(2);
  g.PressKey(EditorKey::Right);
  g.PressKey(EditorKey::Right);
  g.PressKey(EditorKey::Right);
  g.PressKey(EditorKey::Right);
  g.PressKey(EditorKey::Right);  // column 6, empty
  g.PressKey(EditorKey::Other);
  g.TypeText(" ");
  EXPECT_FALSE(g.IsMarked(1, 6));
  EXPECT_FALSE(g.dataChanged());
  g.PressKey(EditorKey::Left);
  g.PressKey(EditorKey::Other);
  g.TypeText(" ");
  EXPECT_EQ(g.CellText(1, 5), "");
  EXPECT_EQ(g.overlayText(), "");
  EXPECT_TRUE(g.IsMarked(1, 5));
  EXPECT_TRUE(g.dataChanged());
}

TEST(StandardsGridTest, ShiftDownCopiesWithoutMarksOrChange) {
  StandardsGrid g = Grid(8);
  for (int i = 0; i < 4; ++i) g.PressKey(EditorKey::Down);
  ASSERT_EQ(g.row(), 5);
  EXPECT_EQ(g.selectionEnd(), 5);
  g.PressKey(EditorKey::CopyDown);
  EXPECT_EQ(g.CellText(6, 1), "35");
  EXPECT_EQ(g.CellText(7, 1), "37");
  g.PressKey(EditorKey::CopyDown);
  EXPECT_EQ(g.CellText(7, 1), "35");
  EXPECT_EQ(g.row(), 5);
  EXPECT_EQ(g.selectionEnd(), 7);
  EXPECT_FALSE(g.IsMarked(6, 1));
  EXPECT_FALSE(g.dataChanged());
  // At the last row there is nothing to extend.
  g.PressKey(EditorKey::CopyDown);
  g.PressKey(EditorKey::CopyDown);
  EXPECT_EQ(g.selectionEnd(), 8);
  g.PressKey(EditorKey::CopyDown);
  EXPECT_EQ(g.selectionEnd(), 8);
  // A move starts a new selection at the new row.
  g.PressKey(EditorKey::Up);
  EXPECT_EQ(g.selectionEnd(), 4);
}

TEST(StandardsGridTest, ClickChoosesALevelCellOnly) {
  StandardsGrid g = Grid(3);
  EXPECT_TRUE(g.Click(3, 4));
  EXPECT_EQ(g.overlayText(), "3");
  EXPECT_FALSE(g.Click(0, 4));
  EXPECT_FALSE(g.Click(2, 0));
  EXPECT_FALSE(g.Click(4, 1));
  EXPECT_EQ(g.row(), 3);
  EXPECT_EQ(g.column(), 4);
}

TEST(StandardsGridTest, AnEmptyGridIgnoresTyping) {
  StandardsGrid g;
  g.Load({});
  EXPECT_EQ(g.row(), 0);
  g.PressKey(EditorKey::Down);
  g.TypeText("1");
  g.PressKey(EditorKey::CopyDown);
  EXPECT_EQ(g.overlayText(), "");
  EXPECT_FALSE(g.dataChanged());
  EXPECT_EQ(g.FileRows().size(), 1u);
}

TEST(StandardsGridTest, ColumnExplanations) {
  EXPECT_EQ(StandardsColumnExplanation(2),
            "合格最低ラインタイム\n  この５倍が時間切れになります\n");
  EXPECT_EQ(StandardsColumnExplanation(8),
            "合格判定をする日数\n　何日前からのポイントを有効にするか\n");
  for (int c : {0, 10, 11, 12}) EXPECT_EQ(StandardsColumnExplanation(c), "") << c;
}

class StandardsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           (std::string("numora_standards_file_") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
            std::to_string(::getpid()));
    fs::create_directories(dir_);
    path_ = PathText(dir_ / fs::u8path("タイム回数データ.txt"));
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all);
    fs::remove_all(dir_);
  }
  void Write(const std::string& utf8) { ASSERT_TRUE(WriteWholeFile(path_, Utf8ToCp932(utf8))); }
  std::string ReadBack() {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path_, bytes));
    return bytes;
  }
  size_t FilesInFolder() {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
  fs::path dir_;
  std::string path_;
};

const char* const kHeader =
    "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n";

TEST_F(StandardsFileTest, ReadsCellsAsTheFieldsShowAndSavesTheirTexts) {
  Write(std::string(kHeader) + "040,60,100,3,1.50,,0,7,1,,,\r\n" +
        "35,55,abc,3,1.5,,,14,2,x,,9\r\n");
  const StandardsGridReading r = ReadStandardsGrid(path_);
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[0],
            (StandardsRow{"40", "60", "100", "3", "1.5", "", "0", "7", "1", "", "", ""}));
  EXPECT_EQ(r.rows[1][2], "abc");
  EXPECT_EQ(r.rows[1][11], "9");
  EXPECT_TRUE(r.notice.empty());

  StandardsGrid g;
  g.Load(r.rows);
  g.PressKey(EditorKey::Other);
  g.TypeText("5");
  std::string error;
  ASSERT_TRUE(SaveStandardsFile(path_, g.FileRows(), error)) << error;
  EXPECT_EQ(ReadBack(), Utf8ToCp932(std::string(kHeader) + "405,60,100,3,1.5,,0,7,1,,,\r\n" +
                                    "35,55,abc,3,1.5,,,14,2,x,,9\r\n"));
  EXPECT_EQ(FilesInFolder(), 1u);  // no new file left behind

  AppState s;
  ASSERT_TRUE(LoadLevelStandards(s.catalogue, path_).ok);
  EXPECT_EQ(s.catalogue.standards[1].targetTime, 405);
  EXPECT_EQ(s.catalogue.standards[1].pointMultiplier, 1.5f);
}

TEST_F(StandardsFileTest, TruncatedAndLongFilesAreToldAndKeptWhole) {
  std::string text = kHeader;
  for (int l = 1; l <= 37; ++l) text += std::to_string(l) + ",60,100,3,1,10,0,7,1,,,\r\n";
  text += "99,60";
  Write(text);
  const StandardsGridReading r = ReadStandardsGrid(path_);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.rows.size(), 38u);
  EXPECT_TRUE(r.incompleteLastRow);
  EXPECT_EQ(r.rows[37][1], "60");
  EXPECT_EQ(r.rows[37][2], "");
  EXPECT_NE(r.notice.find("途中で終わっています"), std::string::npos);
  EXPECT_NE(r.notice.find("レベル36以降"), std::string::npos);

  std::vector<StandardsRow> rows{StandardsHeaderRow()};
  rows.insert(rows.end(), r.rows.begin(), r.rows.end());
  std::string error;
  EXPECT_FALSE(SaveStandardsFile(path_, rows, error));
  EXPECT_NE(error.find("35"), std::string::npos);
  EXPECT_EQ(ReadBack(), Utf8ToCp932(text));
  rows.resize(36);
  EXPECT_TRUE(SaveStandardsFile(path_, rows, error)) << error;
}

TEST_F(StandardsFileTest, MissingFileIsToldWithItsPath) {
  const StandardsGridReading r = ReadStandardsGrid(path_);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("タイム回数データ.txt"), std::string::npos);
  EXPECT_NE(r.error.find(dir_.string()), std::string::npos);
}

TEST_F(StandardsFileTest, RefusesCellsTheFileCannotCarry) {
  Write("keep");
  for (const char* bad : {"1,5", "a\r\nb", "\"q\"", "x\"", "😀"}) {
    std::vector<StandardsRow> rows{StandardsHeaderRow(), Row(1)};
    rows[1][1] = bad;
    std::string error;
    EXPECT_FALSE(SaveStandardsFile(path_, rows, error)) << bad;
    EXPECT_NE(error.find("記録しませんでした"), std::string::npos) << error;
    EXPECT_EQ(ReadBack(), "keep") << bad;
  }
}

TEST_F(StandardsFileTest, ReadOnlyFolderLeavesTheOldFile) {
  Write("keep");
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  if (testing::PermissionBitsDoNotBind()) GTEST_SKIP() << "root writes anywhere";
  std::string error;
  EXPECT_FALSE(SaveStandardsFile(path_, {StandardsHeaderRow(), Row(1)}, error));
  EXPECT_NE(error.find("書き込めません"), std::string::npos);
  EXPECT_NE(error.find(dir_.string()), std::string::npos);
  EXPECT_EQ(ReadBack(), "keep");
}

TEST_F(StandardsFileTest, AFailedReplaceLeavesNoNewFileBehind) {
  // A folder in place of the file: the new file is written but cannot be renamed over it.
  fs::create_directories(fs::u8path(path_) / "x");
  std::string error;
  EXPECT_FALSE(SaveStandardsFile(path_, {StandardsHeaderRow(), Row(1)}, error));
  EXPECT_NE(error.find("書き込めません"), std::string::npos);
  EXPECT_NE(error.find(dir_.string()), std::string::npos);
  EXPECT_EQ(FilesInFolder(), 1u);
  EXPECT_TRUE(fs::is_directory(fs::u8path(path_) / "x"));
}

TEST_F(StandardsFileTest, SavesAtOnceLeaveOneWholeFile) {
  // Two writers saving over and over: every read finds one writer's file, whole.
  std::vector<StandardsRow> a{StandardsHeaderRow()}, b{StandardsHeaderRow()};
  for (int l = 1; l <= 35; ++l) {
    a.push_back(Row(l));
    StandardsRow other = Row(l);
    other[0] = "99";
    b.push_back(other);
  }
  std::string error;
  ASSERT_TRUE(SaveStandardsFile(path_, a, error));
  const std::string bytesA = ReadBack();
  ASSERT_TRUE(SaveStandardsFile(path_, b, error));
  const std::string bytesB = ReadBack();
  std::atomic<bool> failed{false};
  std::string firstFailure;
  std::mutex failureLock;
  auto writer = [&](const std::vector<StandardsRow>& rows) {
    std::string e;
    for (int i = 0; i < 100; ++i) {
      if (!SaveStandardsFile(path_, rows, e)) {
        const std::lock_guard<std::mutex> hold(failureLock);
        if (!failed.exchange(true)) firstFailure = e;
      }
    }
  };
  std::thread t1(writer, a), t2(writer, b);
  for (int i = 0; i < 200; ++i) {
    std::string bytes;
    int readError = 0;
    if (!ReadWholeFile(path_, bytes, readError)) {
      ADD_FAILURE() << "read " << i << ": " << SystemErrorText(readError);
      break;
    }
    EXPECT_TRUE(bytes == bytesA || bytes == bytesB);
  }
  t1.join();
  t2.join();
  EXPECT_FALSE(failed) << firstFailure;
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST(DataGateTest, PasswordIsComparedAsText) {
  struct Case {
    Value stored;
    const char* typed;
    bool opens;
  } cases[] = {
      {Value(), "", true},           {Value(), "x", false},
      {Value("abc"), "", false},     {Value("abc"), "abc", true},
      {Value("abc"), "ABC", false},  {Value(1234), "1234", true},
      {Value(1234), "01234", false}, {Value(1.5), "1.5", true},
      {Value("ｱｲ"), "ｱｲ", true},     {Value::FromField("0077"), "77", true},
      {Value("abc"), "abc ", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DataChangePasswordMatches(c.stored, c.typed), c.opens) << c.typed;
  }
}

}  // namespace
}  // namespace numora
