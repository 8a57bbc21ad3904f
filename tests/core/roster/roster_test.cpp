// Roster reading and grade rules: school year, labels, marks, filter, status rules, stored names,
// and the entries that cannot be placed (left out and told about, never the end of the program).

#include "core/roster/roster.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/installation/app_state.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/roster/roster_check.h"
#include "roster_test_support.h"

namespace numora {
namespace {

using testing::RosterFolder;
using testing::RosterLine;

TEST(SchoolYear, ChangesInTheStartMonth) {
  struct Case {
    int y, m, d, startMonth, expected;
  };
  const Case cases[] = {
      {2004, 3, 15, 4, 2003},  {2004, 3, 31, 4, 2003}, {2004, 4, 1, 4, 2004},
      {2004, 12, 31, 4, 2004}, {2005, 1, 1, 4, 2004},  {2004, 1, 1, 1, 2004},
      {2004, 8, 31, 9, 2003},  {2004, 9, 1, 9, 2004},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SchoolYearOf(MakeDate(c.y, c.m, c.d), c.startMonth), c.expected)
        << c.y << "-" << c.m << "-" << c.d << " start " << c.startMonth;
  }
}

TEST(GradeRules, LabelsAndMarksByGradeNumber) {
  struct Case {
    int grade;
    const char* label;
    const char* mark;
  };
  const Case cases[] = {
      {-1, "", "　"},   {0, "幼３", "　"},  {1, "小１", "①"}, {2, "小２", "②"}, {3, "小３", "③"},
      {4, "小４", "④"}, {5, "小５", "⑤"},   {6, "小６", "⑥"}, {7, "中１", "Ⅰ"}, {8, "中２", "Ⅱ"},
      {9, "中３", "Ⅲ"}, {10, "高１", "　"}, {11, "", "　"},   {13, "", "　"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GradeLabel(c.grade), c.label) << c.grade;
    EXPECT_EQ(GradeMark(c.grade), c.mark) << c.grade;
  }
  EXPECT_EQ(GradeNumber(2004, 1997), 1);
}

TEST(GradeRules, FilterPassesExactlyItsGrades) {
  // For each filter text, the grade numbers 0..10 that pass.
  struct Case {
    const char* text;
    const char* passing;  // one character per grade 0..10
  };
  const Case cases[] = {
      {"全学年", "xxxxxxxxxxx"}, {"小学生全体", ".xxxxxx...."}, {"中学生全体", ".......xxx."},
      {"小１", ".x........."},   {"小３", "...x......."},       {"小６", "......x...."},
      {"中１", ".......x..."},   {"中３", ".........x."},       {"高１", "..........."},
      {"", "..........."},       {"小学生", "..........."},
  };
  for (const Case& c : cases) {
    for (int g = 0; g <= 10; ++g) {
      EXPECT_EQ(GradeFilterPasses(c.text, g), c.passing[g] == 'x') << c.text << " grade " << g;
    }
  }
  EXPECT_TRUE(GradeFilterPasses("全学年", -5));
  EXPECT_TRUE(GradeFilterPasses("全学年", 20));
  EXPECT_EQ(kGradeFilterTexts.size(), 12U);
}

TEST(RosterText, CutOrPaddedToTwentyCharacters) {
  EXPECT_EQ(RosterText("山田"), "山田" + std::string(18, ' '));
  EXPECT_EQ(RosterText("abc"), "abc" + std::string(17, ' '));
  EXPECT_EQ(RosterText("あいうえおかきくけこさしすせそたちつてとなにぬねの"),
            "あいうえおかきくけこさしすせそたちつてと");
  EXPECT_EQ(TrimSpaces("  山田　 "), "山田　");
}

TEST(ReadRoster, FillsTablesAndListsPupilsInFileOrder) {
  RosterFolder f;
  f.WriteRoster(RosterLine(12, 1997, "山田") + RosterLine(7, 1996, "佐藤", 1) +
                RosterLine(30, 1990, "鈴木") + RosterLine(31, 1995, "髙橋", 2) +
                RosterLine(40, 1986, "田中"));
  AppState& s = *f.state;
  s.roster.grades[40] = "前の値";
  const RosterReading r = ReadRoster(s.installation, s.roster, MakeDate(2004, 6, 1));
  ASSERT_TRUE(r.fileRead);
  EXPECT_EQ(s.roster.schoolYear, 2004);
  // Listed: 12 and 30 and 40; 7 (status 1) and 31 (status 2, not active) are not.
  ASSERT_EQ(r.listed.size(), 3U);
  EXPECT_EQ(r.listed[0].pupilNumber, 12);
  EXPECT_EQ(r.listed[1].pupilNumber, 30);
  EXPECT_EQ(r.listed[2].pupilNumber, 40);
  EXPECT_EQ(s.roster.count, 3);
  EXPECT_EQ(s.roster.order[1], 12);
  EXPECT_EQ(s.roster.order[2], 30);
  EXPECT_EQ(s.roster.order[3], 40);
  EXPECT_EQ(s.roster.grades[12], "小１");
  EXPECT_EQ(GradeMark(GradeNumber(s.roster.schoolYear, s.roster.birthYears[12])), "①");
  // Unlisted pupils keep their name, birth year and grade in the tables.
  EXPECT_EQ(s.roster.names[7], "佐藤" + std::string(18, ' '));
  EXPECT_EQ(s.roster.grades[7], "小２");
  EXPECT_EQ(s.roster.names[31], "髙橋" + std::string(18, ' '));
  EXPECT_EQ(s.roster.grades[30], "中２");
  // Grade number 12 has no label: the entry keeps what it had.
  EXPECT_EQ(s.roster.grades[40], "前の値");
  EXPECT_EQ(s.roster.birthYears[40], 1986);
  EXPECT_TRUE(r.leftOut.empty());
  EXPECT_EQ(RosterNotice(r), "");
}

TEST(ReadRoster, StatusTwoIsListedOnlyWhenActive) {
  RosterFolder f;
  f.WriteRoster(RosterLine(5, 1997, "A", 2) + RosterLine(6, 1997, "B", 3));
  f.state->installation.rosterStatusTwoActive = 1;
  RosterReading r = ReadRoster(f.state->installation, f.state->roster, MakeDate(2004, 6, 1));
  ASSERT_EQ(r.listed.size(), 1U);
  EXPECT_EQ(r.listed[0].pupilNumber, 5);
  EXPECT_EQ(r.listed[0].status, 0);
  f.state->installation.rosterStatusTwoActive = 0;
  r = ReadRoster(f.state->installation, f.state->roster, MakeDate(2004, 6, 1));
  EXPECT_TRUE(r.listed.empty());
  EXPECT_EQ(f.state->roster.count, 0);
  // The last read position still holds the unlisted pupil read last.
  EXPECT_EQ(f.state->roster.order[1], 6);
}

TEST(ReadRoster, GradesMoveOnOnTheFirstDayOfTheSchoolYear) {
  RosterFolder f;
  f.WriteRoster(RosterLine(12, 1997, "山田"));
  ReadRoster(f.state->installation, f.state->roster, MakeDate(2005, 3, 31));
  EXPECT_EQ(f.state->roster.schoolYear, 2004);
  EXPECT_EQ(f.state->roster.grades[12], "小１");
  ReadRoster(f.state->installation, f.state->roster, MakeDate(2005, 4, 1));
  EXPECT_EQ(f.state->roster.schoolYear, 2005);
  EXPECT_EQ(f.state->roster.grades[12], "小２");
}

TEST(ReadRoster, FieldsAsTheFieldReaderGivesThem) {
  RosterFolder f;
  // A quoted name holding a comma, blanks around fields, a long name and long texts, CP932
  // extension characters.
  f.WriteRoster(
      "  21 , 1998 ,3,4, \"山田,太郎\" ,0,メモ,\r\n"
      "22,1998,0,0,あいうえおかきくけこさしすせそたちつてとなにぬねの,0,"
      "abcdefghijklmnopqrstuvwxyz,①Ⅱ\r\n");
  const RosterReading r = ReadRoster(f.state->installation, f.state->roster, MakeDate(2004, 6, 1));
  ASSERT_EQ(r.listed.size(), 2U);
  EXPECT_EQ(r.listed[0].pupilNumber, 21);
  EXPECT_EQ(r.listed[0].extraNumber1, 3);
  EXPECT_EQ(r.listed[0].extraNumber2, 4);
  EXPECT_EQ(r.listed[0].name, "山田,太郎" + std::string(15, ' '));
  EXPECT_EQ(r.listed[0].extraText1, "メモ" + std::string(18, ' '));
  EXPECT_EQ(r.listed[0].extraText2, std::string(20, ' '));
  EXPECT_EQ(f.state->roster.names[22], "あいうえおかきくけこさしすせそたちつてと");
  EXPECT_EQ(r.listed[1].extraText1, "abcdefghijklmnopqrst");
  EXPECT_EQ(r.listed[1].extraText2, "①Ⅱ" + std::string(18, ' '));
}

TEST(ReadRoster, MissingFileGivesAnEmptyListAndAMessageNamingIt) {
  RosterFolder f;
  f.state->roster.count = 7;
  const RosterReading r = ReadRoster(f.state->installation, f.state->roster, MakeDate(2004, 6, 1));
  EXPECT_FALSE(r.fileRead);
  EXPECT_TRUE(r.listed.empty());
  EXPECT_EQ(f.state->roster.count, 0);
  EXPECT_EQ(f.state->roster.schoolYear, 2004);
  const std::string notice = RosterNotice(r);
  EXPECT_NE(notice.find("新名簿.txt"), std::string::npos) << notice;
  EXPECT_NE(notice.find(ShownPath(r.path)), std::string::npos) << notice;
}

TEST(ReadRoster, EntriesThatCannotBePlacedAreLeftOutAndNamed) {
  RosterFolder f;
  f.WriteRoster(RosterLine(1, 1997, "一") + RosterLine(0, 1997, "零") +
                RosterLine(5001, 1997, "大") + RosterLine(-3, 1997, "負") +
                RosterLine(70000, 1997, "桁") + RosterLine(8, 97, "年二桁") +
                RosterLine(9, 0, "年なし") + RosterLine(10, 19970, "年五桁") +
                RosterLine(11, 1997, "残り") + RosterLine(12, 97, "休み", 1));
  AppState& s = *f.state;
  const RosterReading r = ReadRoster(s.installation, s.roster, MakeDate(2004, 6, 1));
  ASSERT_EQ(r.listed.size(), 2U);
  EXPECT_EQ(r.listed[0].pupilNumber, 1);
  EXPECT_EQ(r.listed[1].pupilNumber, 11);
  EXPECT_EQ(s.roster.count, 2);
  EXPECT_EQ(s.roster.order[1], 1);
  EXPECT_EQ(s.roster.order[2], 11);
  ASSERT_EQ(r.leftOut.size(), 7U);
  const int entries[] = {2, 3, 4, 5, 6, 7, 8};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(r.leftOut[i].entry, entries[i]);
  EXPECT_EQ(r.leftOut[1].pupilNumber, 5001);
  EXPECT_EQ(r.leftOut[4].name, "年二桁");
  // A pupil whose birth year is broken is still known by name (the hub's lists name it).
  EXPECT_EQ(s.roster.names[8], "年二桁" + std::string(17, ' '));
  // An unlisted entry with a broken birth year is not a problem of the list.
  EXPECT_EQ(s.roster.names[12], "休み" + std::string(18, ' '));

  const std::string notice = RosterNotice(r);
  EXPECT_NE(notice.find("7件"), std::string::npos) << notice;
  EXPECT_NE(notice.find("2件目（番号 0「零」）"), std::string::npos) << notice;
  EXPECT_NE(notice.find("6件目（番号 8「年二桁」）：生まれ年"), std::string::npos) << notice;
}

TEST(ReadRoster, NoMoreThanFiveThousandListedPupils) {
  RosterFolder f;
  std::string text;
  for (int p = 1; p <= 5000; ++p) text += RosterLine(p, 1997, "P" + std::to_string(p));
  text += RosterLine(17, 1998, "あふれ");
  text += RosterLine(18, 1998, "休み", 1);
  f.WriteRoster(text);
  const RosterReading r = ReadRoster(f.state->installation, f.state->roster, MakeDate(2004, 6, 1));
  EXPECT_EQ(r.listed.size(), 5000U);
  EXPECT_EQ(f.state->roster.count, 5000);
  EXPECT_EQ(f.state->roster.order[5000], 5000);
  ASSERT_EQ(r.leftOut.size(), 1U);
  EXPECT_EQ(r.leftOut[0].entry, 5001);
  EXPECT_EQ(r.leftOut[0].pupilNumber, 17);
  // The names are still placed by number.
  EXPECT_EQ(f.state->roster.names[17], "あふれ" + std::string(17, ' '));
  // Ten problems are named in the notice, the rest are counted.
  std::string many;
  for (int i = 0; i < 12; ++i) many += RosterLine(0, 1997, "x");
  f.WriteRoster(many);
  const std::string notice =
      RosterNotice(ReadRoster(f.state->installation, f.state->roster, MakeDate(2004, 6, 1)));
  EXPECT_NE(notice.find("10件目"), std::string::npos);
  EXPECT_EQ(notice.find("11件目"), std::string::npos);
  EXPECT_NE(notice.find("ほか2件"), std::string::npos) << notice;
}

TEST(ReadRoster, FirstReadingOfTheRunIsKnown) {
  RosterFolder f;
  EXPECT_TRUE(RosterNotReadYet(f.state->roster));
  ReadRoster(f.state->installation, f.state->roster, MakeDate(2004, 6, 1));
  EXPECT_FALSE(RosterNotReadYet(f.state->roster));
}

TEST(CheckRoster, CleanRosterReportsNothing) {
  RosterFolder f;
  f.WriteRoster(RosterLine(1, 1997, "一") + RosterLine(2, 1998, "二", 1) + "\r\n\r\n");
  std::ostringstream report;
  EXPECT_TRUE(
      CheckRosterFile(f.state->installation, f.state->roster, MakeDate(2004, 6, 1), report));
  EXPECT_EQ(report.str(), "");
}

TEST(CheckRoster, ListsEveryProblemOnItsOwnLine) {
  RosterFolder f;
  f.WriteRoster(RosterLine(1, 1997, "一") + "2,1997,0,0,二,0,\r\n" + "\r\n" +
                RosterLine(6000, 1997, "大") + RosterLine(4, 1997, "四") +
                RosterLine(4, 1999, "四2", 1));
  std::ostringstream report;
  EXPECT_FALSE(
      CheckRosterFile(f.state->installation, f.state->roster, MakeDate(2004, 6, 1), report));
  const std::string text = report.str();
  EXPECT_NE(text.find("2行目の項目が 7 個です"), std::string::npos) << text;
  EXPECT_NE(text.find("3行目が空です"), std::string::npos) << text;
  EXPECT_NE(text.find("番号 6000"), std::string::npos) << text;
  EXPECT_NE(text.find("番号 4 が 2 件あります"), std::string::npos) << text;

  RosterFolder missing;
  std::ostringstream report2;
  EXPECT_FALSE(CheckRosterFile(missing.state->installation, missing.state->roster,
                               MakeDate(2004, 6, 1), report2));
  EXPECT_NE(report2.str().find("見つからない"), std::string::npos);
}

}  // namespace
}  // namespace numora
