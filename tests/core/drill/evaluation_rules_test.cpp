// The evaluation screen's rules: run points, its lines, the message and sound of a run, the clear
// and goal rules and the buttons offered afterwards.

#include <gtest/gtest.h>

#include "core/installation/app_state.h"
#include "core/records/evaluation.h"

namespace numora {
namespace {

TEST(EvaluationPoints, FollowTheTargetTimeTable) {
  struct Case {
    int32_t target;
    int32_t t;
    int32_t points;
  };
  const Case cases[] = {
      {40, 40, 5},  {40, 20, 11},    {40, 0, 55},    {40, 60, 4},    {40, 79, 4}, {40, 80, 1},
      {40, 399, 1}, {40, 400, 0},    {40, 99999, 0}, {60, 30, 11},   {60, 61, 4}, {60, 119, 4},
      {60, 120, 1}, {60, 599, 1},    {60, 600, 0},   {60, 99998, 0}, {0, 30, 0},  {0, 0, 0},
      {-5, 3, 0},   {1500, 1200, 5},  // the run's own seconds, not the stored time digits
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EvaluationBasePoints(c.target, c.t), c.points) << c.target << " " << c.t;
  }
}

TEST(EvaluationPoints, MultiplierWorksInSinglePrecision) {
  EXPECT_EQ(AwardedPoints(1.5f, 11), 16);
  EXPECT_EQ(AwardedPoints(1.0f, 55), 55);
  EXPECT_EQ(AwardedPoints(0.7f, 10), 7);  // 0.7f × 10 rounds to 7 in single precision
  EXPECT_EQ(AwardedPoints(0.0f, 30), 0);
  EXPECT_EQ(PointsLine(11, 1.5f, 16), "獲得ポイント：11点×1.5→16点");
  EXPECT_EQ(PointsLine(0, 1.0f, 0), "獲得ポイント：0点×1→0点");
  EXPECT_EQ(PointsLine(55, 0.7f, 38), "獲得ポイント：55点×0.7→38点");
}

TEST(EvaluationLines, TimeAndTodaysCounts) {
  EXPECT_EQ(RunTimeLine(95), "今の成績：95秒");
  EXPECT_EQ(RunTimeLine(99997), "今の成績：99997秒");
  EXPECT_EQ(RunTimeLine(99998), "記録なし");
  EXPECT_EQ(RunTimeLine(99999), "記録なし");
  EXPECT_EQ(LevelRunsLine(3), " (このレベル　3回目)");
  EXPECT_EQ(TotalRunsLine(5), "（5回目)");
}

// A level-2 pupil 7 state with standards that make the clear and over-practice rules easy to set.
AppState MakeState() {
  AppState s;
  s.catalogue.finalLevel = 4;
  for (int l = 1; l <= 4; ++l) {
    LevelStandard& st = s.catalogue.standards[static_cast<std::size_t>(l)];
    st.targetTime = 40;
    st.minimumTime = 60;
    st.clearPoints = 30;
    st.clearCount = 3;
    st.pointMultiplier = 1.0f;
    st.overPracticeCount = 5;
    st.overPracticePoints = 0;
  }
  s.session.currentPupil = 7;
  s.run.recordedTime = 50;
  return s;
}

void Clear(AppState& s, int level) {
  s.stats.recentRuns(level, 7) = 3;
  s.stats.recentPoints(level, 7) = 30;
}

TEST(Evaluate, FirstMatchingMessageAndItsSound) {
  struct Case {
    const char* name;
    bool timedOut, levelBest, personalBest;
    int32_t t;
    const char* message;
    EvaluationSound sound;
  };
  const Case cases[] = {
      {"time-out", 1, 0, 0, 99999, "時間切れ", EvaluationSound::kNone},
      {"time-out wins", 1, 1, 1, 99999, "時間切れ", EvaluationSound::kNone},
      {"both bests", 0, 1, 1, 30, "！！！最高新記録！！！", EvaluationSound::kLevelBest},
      {"personal best", 0, 0, 1, 30, "新記録おめでとう", EvaluationSound::kPersonalBest},
      {"at the minimum time", 0, 0, 0, 60, "", EvaluationSound::kNotPassed},
      {"over the minimum time", 0, 0, 0, 61, "", EvaluationSound::kNone},
  };
  for (const Case& c : cases) {
    AppState s = MakeState();
    s.run.timedOut = c.timedOut;
    s.run.newLevelBest = c.levelBest;
    s.run.newPersonalBest = c.personalBest;
    s.run.recordedTime = c.t;
    const EvaluationResult r = Evaluate(s.catalogue, s.stats, s.run, 2, 7);
    EXPECT_EQ(r.message, c.message) << c.name;
    EXPECT_EQ(r.sound, c.sound) << c.name;
  }
  AppState s = MakeState();
  s.run.timedOut = true;
  s.run.recordedTime = 99999;
  const EvaluationResult r = Evaluate(s.catalogue, s.stats, s.run, 2, 7);
  EXPECT_EQ(r.timeLine, "記録なし");
  EXPECT_EQ(r.pointsLine, "獲得ポイント：0点×1→0点");
}

TEST(Evaluate, CountsAfterTheRebuild) {
  AppState s = MakeState();
  s.stats.todayRuns(2, 7) = 3;
  s.stats.todayRuns(1, 7) = 1;
  s.stats.todayRuns(20, 7) = 1;
  const EvaluationResult r = Evaluate(s.catalogue, s.stats, s.run, 2, 7);
  EXPECT_EQ(r.levelRunsLine, " (このレベル　3回目)");
  EXPECT_EQ(r.todayTotalRuns, 5);
  EXPECT_EQ(r.totalRunsLine, "（5回目)");
}

TEST(Evaluate, ClearGoalPanelAndGoalSound) {
  struct Case {
    const char* name;
    int level;
    bool cleared;
    bool clearedBefore;
    bool anyClearCount9999;
    bool showGoal, goalSound;
  };
  const Case cases[] = {
      {"goal cleared for the first time", 4, true, 0, false, true, true},
      {"goal cleared again", 4, true, 1, false, true, false},
      {"goal panel suppressed by 9999", 4, true, 0, true, false, true},
      {"goal level not cleared", 4, false, 0, false, false, false},
      {"other level cleared", 2, true, 0, false, false, false},
  };
  for (const Case& c : cases) {
    AppState s = MakeState();
    if (c.cleared) Clear(s, c.level);
    s.run.clearedBefore = c.clearedBefore;
    if (c.anyClearCount9999) s.catalogue.standards[9].clearCount = 9999;
    const EvaluationResult r = Evaluate(s.catalogue, s.stats, s.run, c.level, 7);
    EXPECT_EQ(r.cleared, c.cleared) << c.name;
    EXPECT_EQ(r.showGoalPanel, c.showGoal) << c.name;
    EXPECT_EQ(r.playGoalSound, c.goalSound) << c.name;
  }
  // One point or one run short is not cleared.
  AppState s = MakeState();
  Clear(s, 2);
  s.stats.recentPoints(2, 7) = 29;
  EXPECT_FALSE(IsCleared(s.catalogue, s.stats, 2, 7));
  Clear(s, 2);
  s.stats.recentRuns(2, 7) = 2;
  EXPECT_FALSE(IsCleared(s.catalogue, s.stats, 2, 7));
}

TEST(ButtonsAfterDelay, OverPractisedClearedLevelsSendThePupilOn) {
  struct Case {
    const char* name;
    int level;
    bool cleared;
    int16_t windowRuns;
    int32_t windowPoints;
    int32_t pointsLimit;
    int finalCleared;
    bool retry;
    bool hideLabel2;
    const char* label2;
  };
  const Case cases[] = {
      {"not over-practised", 2, true, 4, 0, 0, 0, true, false, ""},
      {"over-practised, not cleared", 2, false, 5, 0, 0, 0, true, false, ""},
      {"over-practised cleared level 2", 2, true, 5, 0, 0, 0, false, false,
       "次のレベルへ進みましょう"},
      {"the same by points", 2, true, 0, 80, 80, 0, false, false, "次のレベルへ進みましょう"},
      {"goal already cleared", 2, true, 5, 0, 0, 1, true, false, ""},
      {"over-practised goal level", 4, true, 5, 0, 0, 0, true, true, ""},
  };
  for (const Case& c : cases) {
    AppState s = MakeState();
    if (c.cleared) Clear(s, c.level);
    s.stats.overPracticeWindowRuns(c.level, 7) = c.windowRuns;
    s.stats.overPracticeWindowPoints(c.level, 7) = c.windowPoints;
    s.catalogue.standards[static_cast<std::size_t>(c.level)].overPracticePoints = c.pointsLimit;
    s.stats.finalLevelCleared = c.finalCleared != 0;
    const EvaluationButtons b = ButtonsAfterDelay(s.catalogue, s.stats, c.level, 7);
    EXPECT_EQ(b.showRetry, c.retry) << c.name;
    EXPECT_EQ(b.hideLabel2, c.hideLabel2) << c.name;
    EXPECT_EQ(b.label2Text, c.label2) << c.name;
  }
  // A limit of 0 or empty means no limit.
  AppState s = MakeState();
  Clear(s, 2);
  s.catalogue.standards[2].overPracticeCount = Value();
  s.stats.overPracticeWindowRuns(2, 7) = 500;
  EXPECT_FALSE(IsOverPractised(s.catalogue, s.stats, 2, 7));
}

}  // namespace
}  // namespace numora
