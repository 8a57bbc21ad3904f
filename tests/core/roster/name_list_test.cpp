// Name-list lines: stage labels, figure widths, the four views, padding and cutting of names,
// sorting, the grade filter and the parallel list, the line-choice texts and the launcher command.

#include "core/roster/name_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/utf8_text.h"

namespace numora {
namespace {

const std::string kFw = "　";  // full-width space

std::string Fw(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += kFw;
  return s;
}

TEST(NameList, StageLabelsByGradeNumber) {
  const std::pair<int, const char*> cases[] = {
      {-5, "幼-"}, {-3, "幼-"}, {-2, "幼1"}, {-1, "幼2"}, {0, "幼3"},  {1, "小1"},  {6, "小6"},
      {7, "中1"},  {9, "中3"},  {10, "高1"}, {12, "高3"}, {13, "大+"}, {40, "大+"},
  };
  for (const auto& [grade, label] : cases) EXPECT_EQ(StageLabel(grade), label) << grade;
}

TEST(NameList, FiguresHaveFixedWidths) {
  EXPECT_EQ(RunsTodayText(3), "  3回");
  EXPECT_EQ(RunsTodayText(45), " 45回");
  EXPECT_EQ(RunsTodayText(1234), "234回");  // the last three characters
  EXPECT_EQ(RunsTodayText(0), "     ");
  EXPECT_EQ(PointsTodayText(25), "  25");
  EXPECT_EQ(PointsTodayText(9999), "9999");
  EXPECT_EQ(PointsTodayText(0), "  " + kFw);
  EXPECT_EQ(RunsTotalText(10), "   10回");
  EXPECT_EQ(RunsTotalText(0), "     " + kFw);
  EXPECT_EQ(PointsTotalText(240), "    240");
  EXPECT_EQ(PointsTotalText(1234567), "1234567");
  EXPECT_EQ(PointsTotalText(0), "       ");
}

TEST(NameList, EveryViewOfOnePupil) {
  // Grade 2, a two-character name, 3 runs and 25 points today, 10 runs and 240 points in all.
  const PupilFigures f{3, 25, 10, 240};
  const std::string name = "太郎" + std::string(18, ' ');
  EXPECT_EQ(DisplayLine(2, name, f, kRunsView), "小2 太郎" + Fw(4) + "  3回/   10回");
  EXPECT_EQ(DisplayLine(2, name, f, kPointsView), "小2 太郎" + Fw(4) + "  25/    240");
  EXPECT_EQ(DisplayLine(2, name, f, kTodayView), "小2 太郎" + Fw(4) + "  25/  3回");
  EXPECT_EQ(DisplayLine(2, name, f, kAllTimeView), "小2 太郎" + Fw(4) + "    240/   10回");
  // No run today.
  const PupilFigures g{0, 0, 10, 240};
  EXPECT_EQ(DisplayLine(2, name, g, kRunsView), "小2 太郎" + Fw(4) + "     /   10回");
  EXPECT_EQ(DisplayLine(2, name, g, kPointsView), "小2 太郎" + Fw(4) + "  " + kFw + "/    240");
  EXPECT_EQ(DisplayLine(2, name, PupilFigures{}, kAllTimeView),
            "小2 太郎" + Fw(4) + "       /     " + kFw);
}

TEST(NameList, PreSchoolPupilsHaveTheWiderColumnExceptInThePointsView) {
  const PupilFigures f{1, 5, 1, 5};
  for (int view : {kRunsView, kTodayView, kAllTimeView}) {
    EXPECT_EQ(NameColumn(0, "花子", view), "幼3 花子" + Fw(6)) << view;
    EXPECT_EQ(NameColumn(-4, "花子", view), "幼- 花子" + Fw(6)) << view;
  }
  EXPECT_EQ(NameColumn(0, "花子", kPointsView), "幼3 花子" + Fw(4));
  EXPECT_EQ(DisplayLine(0, "花子", f, kRunsView), "幼3 花子" + Fw(6) + "  1回/    1回");
  EXPECT_EQ(NameColumn(1, "花子", kRunsView), "小1 花子" + Fw(4));
}

TEST(NameList, LongNamesAreCutSoTheFiguresStayInLine) {
  struct Case {
    int grade, view;
    const char* name;
    std::string column;
  };
  const Case cases[] = {
      {3, kPointsView, "ながいながいなまえ", "小3 ながいながい"},
      {3, kRunsView, "一二三四五六", "小3 一二三四五六"},
      {3, kRunsView, "一二三四五", "小3 一二三四五" + Fw(1)},
      {0, kRunsView, "あいうえおかきくけこ", "幼3 あいうえおかきく"},
      {0, kPointsView, "あいうえおかきくけこ", "幼3 あいうえおか"},
      {5, kTodayView, "  Suzuki Ichiro      ", "小5 Suzuki"},
      {5, kTodayView, "", "小5 " + Fw(6)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NameColumn(c.grade, c.name, c.view), c.column) << c.name;
  }
  // Every display line of a view has the same number of characters before "/".
  const PupilFigures f{2, 20, 2, 20};
  const std::string a = DisplayLine(3, "ながいながいなまえ", f, kPointsView);
  const std::string b = DisplayLine(3, "李", f, kPointsView);
  EXPECT_EQ(CharCount(a.substr(0, a.find('/'))), CharCount(b.substr(0, b.find('/'))));
}

TEST(NameList, FiguresAreSummedOverLevelsOneToThirtyFive) {
  AppState s;
  s.stats.todayRuns(0, 7) = 100;  // level 0 is never counted
  s.stats.todayRuns(1, 7) = 2;
  s.stats.todayRuns(35, 7) = 1;
  s.stats.todayPoints(2, 7) = 11;
  s.stats.todayPoints(4, 7) = 9;
  s.stats.totalRuns(1, 7) = 5;
  s.stats.totalRuns(3, 7) = 6;
  s.stats.totalPoints(1, 7) = 100;
  s.stats.totalPoints(35, 7) = 1;
  s.stats.totalPoints(1, 8) = 50;  // another pupil
  const PupilFigures f = SumPupilFigures(s.stats, 7);
  EXPECT_EQ(f.runsToday, 3);
  EXPECT_EQ(f.pointsToday, 20);
  EXPECT_EQ(f.runsTotal, 11);
  EXPECT_EQ(f.pointsTotal, 101);
}

RosterEntry Entry(int pupil, int birthYear, const std::string& name) {
  RosterEntry e;
  e.pupilNumber = static_cast<int16_t>(pupil);
  e.birthYear = static_cast<int16_t>(birthYear);
  e.name = name + std::string(20 - CharCount(name), ' ');
  return e;
}

TEST(NameList, SortedByBirthYearThenNameWithTheParallelList) {
  AppState s;
  s.roster.schoolYear = 2004;
  s.stats.totalPoints(1, 30) = 7;
  s.stats.totalPoints(1, 31) = 12;
  const std::vector<RosterEntry> listed = {
      Entry(12, 1997, "山田"),  // 小1
      Entry(30, 1995, "佐藤"),  // 小3
      Entry(31, 1995, "佐藤"),  // 小3, same name, more points
      Entry(5, 1995, "Abe"),    // 小3, half-width name before full-width
      Entry(9, 1990, "鈴木"),   // 中2
      Entry(44, 1998, "森"),    // 幼3
      Entry(2, 1995, "1号"),    // digits before letters
  };
  const NameList all = NameListLines(s.roster, s.stats, listed, kPointsView, "全学年");
  ASSERT_EQ(all.list1.size(), 8U);
  EXPECT_EQ(all.list1[0], "－－－－－－");
  const std::vector<std::string> expected = {
      "中2 鈴木" + Fw(4) + "  " + kFw + "/       ", "小3 1号" + Fw(4) + "  " + kFw + "/       ",
      "小3 Abe" + Fw(3) + "  " + kFw + "/       ",  "小3 佐藤" + Fw(4) + "  " + kFw + "/      7",
      "小3 佐藤" + Fw(4) + "  " + kFw + "/     12", "小1 山田" + Fw(4) + "  " + kFw + "/       ",
      "幼3 森" + Fw(5) + "  " + kFw + "/       ",
  };
  const int pupils[] = {9, 2, 5, 30, 31, 12, 44};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(all.list1[i + 1], expected[i]) << i;
    EXPECT_EQ(all.list3[i], expected[i] + "*" + std::to_string(pupils[i])) << i;
  }
  EXPECT_EQ(all.list2[0], "1990" + expected[0] + "*9");
  EXPECT_EQ(all.list2.size(), 7U);

  // The filter keeps the relative order; list3 stays parallel to list1.
  const NameList primary = NameListLines(s.roster, s.stats, listed, kPointsView, "小学生全体");
  ASSERT_EQ(primary.list1.size(), 6U);
  EXPECT_EQ(primary.list1[1], expected[1]);
  EXPECT_EQ(primary.list1[5], expected[5]);
  EXPECT_EQ(ParallelLinePupil(primary.list3[2]), "30");  // line 3 of the list → pupil 30
  EXPECT_EQ(primary.list2.size(), 7U);
  const NameList none = NameListLines(s.roster, s.stats, listed, kPointsView, "大学生");
  EXPECT_EQ(none.list1, std::vector<std::string>{"－－－－－－"});
  EXPECT_TRUE(none.list3.empty());
  const NameList third = NameListLines(s.roster, s.stats, listed, kRunsView, "小３");
  EXPECT_EQ(third.list1.size(), 5U);
}

TEST(NameList, LineChoiceTexts) {
  const std::string line = "小2 太郎" + Fw(4) + "  3回/   10回";
  EXPECT_EQ(ClickedLineName(line), "小2 太郎" + Fw(4));
  EXPECT_EQ(DoubleClickedLineName(line), "小2 太郎" + Fw(4) + "  3回");
  // A pre-school line in a wide view: the first ten characters only.
  EXPECT_EQ(ClickedLineName("幼3 あいうえおかきく     /     " + kFw), "幼3 あいうえおかき");
  EXPECT_EQ(ParallelLinePupil(line + "*4711"), "4711");
  EXPECT_EQ(ParallelLinePupil("小2 *星" + Fw(4) + "  3回/   10回*12"), "12");
}

TEST(NameList, LauncherCommandLine) {
  AppState s;
  const std::string sep(1, kFolderSeparator);
  s.installation.programFolder = sep + "apps" + sep + "numora" + sep;
  LauncherCommand c = LauncherCommandFor(s.installation);
  EXPECT_EQ(c.program, sep + "apps" + sep + "numora" + sep + ".." + sep + "起動" + sep +
                           "プログラムメニューc.exe");
  EXPECT_EQ(c.args, std::vector<std::string>{"001"});
  EXPECT_EQ(c.folder, sep + "apps" + sep + "numora" + sep + ".." + sep + "起動");
  s.installation.developmentLayout = true;
  c = LauncherCommandFor(s.installation);
  EXPECT_EQ(c.program, sep + "apps" + sep + "numora" + sep + ".." + sep + ".." + sep + "起動" +
                           sep + "起動" + sep + "プログラムメニュー.exe");
  EXPECT_TRUE(c.args.empty());
}

}  // namespace
}  // namespace numora
