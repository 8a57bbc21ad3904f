#include "core/hub/hub_figures.h"

#include <gtest/gtest.h>

#include "core/installation/app_state.h"
#include "core/roster/roster.h"
#include "hub_test_support.h"

namespace numora {
namespace {

using testing::MakeHubState;

TEST(HubFigures, ColumnLines) {
  auto state = MakeHubState();
  AppState& s = *state;
  s.session.currentPupil = 7;
  s.stats.recentRuns(1, 7) = 3;
  s.stats.recentPoints(1, 7) = 120;
  EXPECT_EQ(RecentPeriodLine(s.catalogue, s.session, s.stats, 1), "最近7日=3回 / 120点");
  EXPECT_EQ(RecentPeriodLine(s.catalogue, s.session, s.stats, 2), "最近7日=0回 / 0点");
  EXPECT_EQ(TargetLine(s.catalogue, 1), "目標=30秒 3回/100点(×1.5)");
  s.catalogue.standards[2].clearPoints = 9999;
  EXPECT_EQ(TargetLine(s.catalogue, 2), "目標=60秒 --------");
  s.catalogue.standards[3].pointMultiplier = 1;
  EXPECT_EQ(TargetLine(s.catalogue, 3), "目標=90秒 3回/100点(×1)");

  EXPECT_EQ(TodayFigures(s.session, s.stats, 1), "-----");
  EXPECT_EQ(AllTimeFigures(s.session, s.stats, 1), "------");
  s.stats.todayRuns(1, 7) = 2, s.stats.todayPoints(1, 7) = 110;
  s.stats.totalRuns(1, 7) = 12, s.stats.totalPoints(1, 7) = 480;
  EXPECT_EQ(TodayFigures(s.session, s.stats, 1), "2回/110点");
  EXPECT_EQ(AllTimeFigures(s.session, s.stats, 1), "12回/480点");
  s.stats.todayPoints(2, 7) = 7;  // points but no counted run (time-outs only): still dashes
  EXPECT_EQ(TodayFigures(s.session, s.stats, 2), "-----");

  s.stats.todayRuns(3, 7) = 1;
  s.stats.todayRuns(20, 7) = 4;
  EXPECT_EQ(TodayTotalRuns(s.session, s.stats), 7);
  EXPECT_EQ(TodayTotalRunsLine(7), "本日総回数＝7回");
}

TEST(HubFigures, HeaderLines) {
  auto state = MakeHubState();
  AppState& s = *state;
  s.session.pupilGrade = "小３";
  s.session.pupilName = "山田太郎            ";
  s.installation.schoolName = "ヌモラ塾";
  s.session.currentPupil = 12;
  EXPECT_EQ(PupilLine(s.session), "小３ 山田太郎");
  EXPECT_EQ(SchoolLine(s.installation, s.session), "ヌモラ塾:12");
  EXPECT_EQ(MinutesSinceStartLine(3600, 3600 + 119.9), "起動後1分");
  EXPECT_EQ(MinutesSinceStartLine(3600, 3600 + 120), "起動後2分");
  EXPECT_EQ(MinutesSinceStartLine(3600, 3600), "起動後0分");
  EXPECT_EQ(MinutesSinceStartLine(86340, 60), "起動後2分");     // across midnight
  EXPECT_EQ(MinutesSinceStartLine(3601, 3600.5), "起動後0分");  // start rounded up
  EXPECT_EQ(TitleFontSize("ヌモラ"), 24);
  EXPECT_EQ(TitleFontSize("一二三四五六七八九"), 24);
  EXPECT_EQ(TitleFontSize("一二三四五六七八九十"), 20);
  EXPECT_TRUE(IsTeacher("田中先生"));
  EXPECT_TRUE(IsTeacher("★管理"));
  EXPECT_FALSE(IsTeacher("田中先"));
}

TEST(LevelAvailability, OverPracticeRule) {
  struct Case {
    const char* what;
    int limitRuns, limitPoints;  // over-practice limits of every level
    int runs, points;            // the pupil's window figures on levels 2 and 4
    bool finalCleared;
    std::vector<bool> enabled;  // levels 1..4
  } cases[] = {
      {"no limits", 0, 0, 50, 5000, false, {true, true, true, true}},
      {"run limit reached", 5, 0, 5, 0, false, {true, false, true, true}},
      {"run limit not reached", 5, 0, 4, 0, false, {true, true, true, true}},
      {"points limit reached", 0, 300, 0, 300, false, {true, false, true, true}},
      {"final level cleared", 5, 300, 9, 900, true, {true, true, true, true}},
  };
  for (const Case& c : cases) {
    auto state = MakeHubState();
    AppState& s = *state;
    s.session.currentPupil = 9;
    for (int level = 1; level <= 4; ++level) {
      s.catalogue.standards[static_cast<size_t>(level)].overPracticeCount = c.limitRuns;
      s.catalogue.standards[static_cast<size_t>(level)].overPracticePoints = c.limitPoints;
    }
    for (int level : {2, 4}) {
      s.stats.overPracticeWindowRuns(level, 9) = static_cast<int16_t>(c.runs);
      s.stats.overPracticeWindowPoints(level, 9) = c.points;
    }
    if (c.finalCleared) {
      s.stats.recentRuns(4, 9) = 3, s.stats.recentPoints(4, 9) = 100;
    }
    LevelAvailability a = ComputeLevelAvailability(s.catalogue, s.session, s.stats);
    EXPECT_EQ(std::vector<bool>(a.enabled.begin() + 1, a.enabled.end()), c.enabled) << c.what;
    for (int level = 1; level <= 4; ++level) {
      EXPECT_EQ(a.overPractised[static_cast<size_t>(level)], !c.enabled[level - 1]) << c.what;
    }
    EXPECT_EQ(s.stats.finalLevelCleared, c.finalCleared) << c.what;
  }
}

TEST(Shortcuts, DigitsAndLetters) {
  EXPECT_EQ(ShortcutLevel("1", 4), 1);
  EXPECT_EQ(ShortcutLevel("4", 4), 4);
  EXPECT_EQ(ShortcutLevel("5", 4), 0);
  EXPECT_EQ(ShortcutLevel("0", 4), -1);
  EXPECT_EQ(ShortcutLevel("a", 4), 0);
  EXPECT_EQ(ShortcutLevel("a", 10), 10);
  EXPECT_EQ(ShortcutLevel("d", 13), 13);
  EXPECT_EQ(ShortcutLevel("A", 13), 0);
  EXPECT_EQ(ShortcutLevel("x", 13), 0);
  EXPECT_EQ(ShortcutLevel("", 4), 0);
}

}  // namespace
}  // namespace numora
