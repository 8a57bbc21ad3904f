// Path and settings set-up: folders, development layout, common settings, short and missing files.

#include "core/installation/installation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/installation/app_state.h"
#include "core/installation/season.h"
#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/utf8_text.h"

namespace numora {
namespace {

namespace fs = std::filesystem;

// The separator that ends each folder value of the platform.
const std::string kSep(1, kFolderSeparator);

void WriteCp932(const fs::path& file, const std::string& utf8) {
  fs::create_directories(file.parent_path());
  ASSERT_TRUE(WriteWholeFile(PathText(file), Utf8ToCp932(utf8)));
}

// A complete installation under a fresh temporary folder:
//   <base>/<appsName>/<programName>/            program folder
//   <base>/<appsName>/パスデータ.txt              path file naming <base>/data/
//   <base>/data/共通データ.txt, 音フォルダ/, <programName>/タイム回数データ.txt
struct Installation {
  explicit Installation(const std::string& appsName = "apps",
                        const std::string& programName = "numora") {
    base = fs::temp_directory_path() /
           ("numora_install_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(base);
    program = base / fs::u8path(appsName) / fs::u8path(programName);
    fs::create_directories(program);
    dataRoot = base / "data";
    WriteCp932(program.parent_path() / fs::u8path("パスデータ.txt"),
               PathText(dataRoot) + kSep + "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n");
    WriteCp932(dataRoot / fs::u8path("共通データ.txt"),
               "4\r\n12345ひかり小学校\r\n1\r\n0\r\n0\r\n1234\r\n0\r\n0\r\n0\r\n0\r\n");
    WriteCp932(dataRoot / fs::u8path(programName) / fs::u8path("タイム回数データ.txt"),
               "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n"
               "40,60,100,3,1,10,0,7,1,,,\r\n");
    WriteCp932(dataRoot / fs::u8path("音フォルダ") / fs::u8path("新音ファイル.txt"),
               "正解音2\r\nok1\r\nok2\r\n*\r\n");
  }
  ~Installation() { fs::remove_all(base); }
  std::string ProgramFolder() const { return PathText(program) + kSep; }
  fs::path base, program, dataRoot;
};

TEST(Installation, ResolvesFoldersSettingsIdentityStandardsAndSounds) {
  Installation inst;
  AppState s;
  std::string error;
  ASSERT_TRUE(SetUpPathsAndSettings(s, inst.ProgramFolder(), error)) << error;
  const std::string root = PathText(inst.dataRoot) + kSep;
  EXPECT_EQ(s.installation.programFolder, inst.ProgramFolder());
  EXPECT_FALSE(s.installation.developmentLayout);
  EXPECT_EQ(s.installation.dataRootFolder, root);
  EXPECT_EQ(s.installation.programFolderName, "numora");
  EXPECT_EQ(s.installation.dataFolder, root + "numora" + kSep);
  EXPECT_EQ(s.installation.soundFolder, root + "音フォルダ" + kSep);
  EXPECT_EQ(s.installation.schoolYearStartMonth.Number(), 4);
  EXPECT_EQ(s.installation.schoolCode, "12345");
  EXPECT_EQ(s.installation.schoolName, "ひかり小学校");
  EXPECT_TRUE(s.installation.rosterStatusTwoActive);
  EXPECT_EQ(s.installation.dataChangePassword.Text(), "1234");
  EXPECT_EQ(s.catalogue.title, "ヌモラ");
  EXPECT_EQ(s.catalogue.standards[1].targetTime, 40);
  EXPECT_EQ(s.catalogue.standards[1].minimumTime, 60);
  EXPECT_EQ(s.sound.table[2][21], "2");
  EXPECT_EQ(s.sound.table[2][2], "ok2");
}

TEST(Installation, SchoolLineSplit) {
  struct Case {
    const char* line;
    const char* code;
    const char* name;
  } cases[] = {
      {"12345ひかり小学校", "12345", "ひかり小学校"},
      {"ひかり小学校", "", "ひかり小学校"},
      {"00000ひかり小学校", "", "00000ひかり小学校"},
      {"12345", "12345", ""},
      {"123", "123", ""},  // short numeric line: its whole text is the code
      {"", "", ""},
      {"ＡＢ学園", "", "ＡＢ学園"},
  };
  for (const auto& c : cases) {
    std::string code = "x", name = "x";
    SplitSchoolLine(c.line, code, name);
    EXPECT_EQ(code, c.code) << c.line;
    EXPECT_EQ(name, c.name) << c.line;
  }
}

TEST(Installation, DevelopmentLayoutRule) {
  struct Case {
    const char* path;
    bool expected;
  } cases[] = {
      {"/KT0042/Build", true},          {"/home/kt0042/build/", true},
      {"/KT0042/Zelanto/Build", false}, {"/x/zelanto_kt0042/b", false},
      {"/home/numora/apps", false},     {"/KT004/2", false},
  };
  for (const auto& c : cases) EXPECT_EQ(DevelopmentLayoutFor(c.path), c.expected) << c.path;
}

TEST(Installation, DevelopmentLayoutIgnoresThePathFile) {
  Installation inst("apps", "KT0042build");
  AppState s;
  std::string error;
  // The fixed development data root does not exist here, so the common settings file is missing
  // there; the folders resolved so far show the rule.
  EXPECT_FALSE(SetUpPathsAndSettings(s, inst.ProgramFolder(), error));
  EXPECT_TRUE(s.installation.developmentLayout);
  const std::string root = RootOf(PathText(inst.program)) + "KT0042" + kSep + "ネブロなし" + kSep;
  EXPECT_EQ(s.installation.dataRootFolder, root);
  EXPECT_NE(error.find(root + "共通データ.txt"), std::string::npos) << error;
}

TEST(Installation, ProductFamilyWordKeepsTheNormalLayout) {
  Installation inst("apps", "kt0042-ZeLanto");
  AppState s;
  std::string error;
  ASSERT_TRUE(SetUpPathsAndSettings(s, inst.ProgramFolder(), error)) << error;
  EXPECT_FALSE(s.installation.developmentLayout);
  EXPECT_EQ(s.installation.dataFolder, PathText(inst.dataRoot) + kSep + "kt0042-ZeLanto" + kSep);
}

TEST(Installation, MissingOrShortFilesStopWithTheFileAndItsPath) {
  struct Case {
    const char* name;
    fs::path (*file)(const Installation&);
    const char* content;  // nullptr: the file is removed
    const char* expected;
  } cases[] = {
      {"path file missing",
       [](const Installation& i) { return i.program.parent_path() / fs::u8path("パスデータ.txt"); },
       nullptr, "パスデータ.txt"},
      {"path file short",
       [](const Installation& i) { return i.program.parent_path() / fs::u8path("パスデータ.txt"); },
       "/tmp/\r\n2\r\n3\r\n", "項目が足りません"},
      {"common settings missing",
       [](const Installation& i) { return i.dataRoot / fs::u8path("共通データ.txt"); }, nullptr,
       "共通データ.txt"},
      {"common settings with nine fields",
       [](const Installation& i) { return i.dataRoot / fs::u8path("共通データ.txt"); },
       "4,12345学校,0,0,0,pw,0,0,0\r\n", "項目が足りません"},
      {"standards missing",
       [](const Installation& i) {
         return i.dataRoot / "numora" / fs::u8path("タイム回数データ.txt");
       },
       nullptr, "タイム回数データ.txt"},
      {"standards ending inside a level line",
       [](const Installation& i) {
         return i.dataRoot / "numora" / fs::u8path("タイム回数データ.txt");
       },
       "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n40,60,100,3,"
       "1\r\n",
       "項目が足りません"},
      {"sound table missing",
       [](const Installation& i) {
         return i.dataRoot / fs::u8path("音フォルダ") / fs::u8path("新音ファイル.txt");
       },
       nullptr, "新音ファイル.txt"},
  };
  for (const auto& c : cases) {
    Installation inst;
    const fs::path file = c.file(inst);
    if (c.content == nullptr) {
      fs::remove(file);
    } else {
      WriteCp932(file, c.content);
    }
    AppState s;
    std::string error;
    EXPECT_FALSE(SetUpPathsAndSettings(s, inst.ProgramFolder(), error)) << c.name;
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
    EXPECT_NE(error.find(PathText(file)), std::string::npos) << c.name << ": " << error;
  }
}

TEST(Installation, LevelLinesPastThe35thAreNotLoadedAndTold) {
  Installation inst;
  std::string standards =
      "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n";
  for (int level = 1; level <= 36; ++level) {
    standards += std::to_string(level) + ",60,100,3,1,10,0,7,1,,,\r\n";
  }
  const fs::path file = inst.dataRoot / "numora" / fs::u8path("タイム回数データ.txt");
  WriteCp932(file, standards);
  AppState s;
  std::string error;
  std::string notice;
  ASSERT_TRUE(SetUpPathsAndSettings(s, inst.ProgramFolder(), error, &notice)) << error;
  EXPECT_EQ(s.catalogue.standards[35].targetTime, 35);
  EXPECT_NE(notice.find("36番目からのレベルの行は読みません"), std::string::npos) << notice;
  EXPECT_NE(notice.find(PathText(file)), std::string::npos) << notice;
}

TEST(Installation, LevelsWithoutUsableStandardsAreToldInOneNotice) {
  const std::string head =
      "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n";
  const std::string good = "40,60,100,3,1,10,0,7,1,,,\r\n";
  const char* noLine = "の行がありません。";
  const char* notPositive = "の目標Timeまたは最低Timeが正の数ではありません。";
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::pair<int, const char*>> told;  // level, finding
  } cases[] = {
      {"empty", "", {{1, noLine}, {2, noLine}, {3, noLine}, {4, noLine}}},
      {"header only", head, {{1, noLine}, {2, noLine}, {3, noLine}, {4, noLine}}},
      {"two levels", head + good + good, {{3, noLine}, {4, noLine}}},
      {"zero and negative times",
       head + good + "0,60,100,3,1,10,0,7,1,,,\r\n" + good + "40,-5,100,3,1,10,0,7,1,,,\r\n",
       {{2, notPositive}, {4, notPositive}}},
      {"text in a time column",
       head + good + good + good + "速く,60,100,3,1,10,0,7,1,,,\r\n",
       {{4, notPositive}}},
      {"complete", head + good + good + good + good, {}},
  };
  for (const Case& c : cases) {
    Installation inst;
    const fs::path file = inst.dataRoot / "numora" / fs::u8path("タイム回数データ.txt");
    WriteCp932(file, c.text);
    AppState s;
    std::string error;
    std::string notice = "left over";
    ASSERT_TRUE(SetUpPathsAndSettings(s, inst.ProgramFolder(), error, &notice)) << c.name;
    if (c.told.empty()) {
      EXPECT_EQ(notice, "") << c.name;
      continue;
    }
    EXPECT_EQ(
        notice.rfind("基準データファイル「タイム回数データ.txt」に足りないところがあります。", 0),
        0u)
        << c.name << ": " << notice;
    for (int level = 1; level <= 4; ++level) {
      const std::string mark = "・レベル" + std::to_string(level) + "の";
      bool expected = false;
      for (const auto& [toldLevel, finding] : c.told) {
        if (toldLevel == level) {
          expected = true;
          EXPECT_NE(notice.find("・レベル" + std::to_string(level) + finding), std::string::npos)
              << c.name << ": " << notice;
        }
      }
      EXPECT_EQ(notice.find(mark) != std::string::npos, expected) << c.name << ": " << notice;
    }
    EXPECT_NE(notice.find("時間制限なし"), std::string::npos) << notice;
    EXPECT_NE(notice.find(PathText(file)), std::string::npos) << notice;
  }
}

TEST(Installation, DataRootWithoutClosingSeparator) {
  Installation inst;
  WriteCp932(inst.program.parent_path() / fs::u8path("パスデータ.txt"),
             PathText(inst.dataRoot) + "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n");
  AppState s;
  std::string error;
  ASSERT_TRUE(SetUpPathsAndSettings(s, inst.ProgramFolder(), error)) << error;
  EXPECT_EQ(s.installation.dataRootFolder, PathText(inst.dataRoot) + kSep);
}

TEST(Catalogue, FourTimedLevelsWithTheGoalLast) {
  AppState s;
  s.catalogue.levelNames[2] = "old";
  SetUpCatalogue(s.catalogue);
  EXPECT_EQ(s.catalogue.levelCount, 4);
  EXPECT_EQ(s.catalogue.finalLevel, 4);
  const char* names[] = {"", "ﾚﾍﾞﾙ1", "ﾚﾍﾞﾙ2", "ﾚﾍﾞﾙ3", "ﾚﾍﾞﾙ4"};
  for (int l = 1; l <= 4; ++l) {
    EXPECT_EQ(s.catalogue.levelNames[l], names[l]);
    EXPECT_TRUE(s.catalogue.levelIsTimed[l]);
  }
  EXPECT_FALSE(s.catalogue.levelIsTimed[5]);
  EXPECT_TRUE(s.catalogue.levelNames[5].empty());
  EXPECT_LT(CharCount(s.catalogue.title), 10u);
}

TEST(Season, ColourByMonth) {
  const uint32_t expected[13] = {0,        0x0080FF, 0x0080FF, 0xC0FFC0, 0xC0FFC0,
                                 0xC0FFC0, 0xC0C000, 0xC0C000, 0xC0C000, 0x0040C0,
                                 0x0040C0, 0x0040C0, 0xC0FFC0};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(SeasonColourForMonth(m), expected[m]) << m;
    AppState s;
    SetSeasonColour(s.installation, MakeDate(2026, m, 1));
    EXPECT_EQ(s.installation.seasonColour, expected[m]) << m;
  }
}

}  // namespace
}  // namespace numora
