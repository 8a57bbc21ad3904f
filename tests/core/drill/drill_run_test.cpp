#include "core/drill/drill_run.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/installation/app_state.h"
#include "support/fakes.h"

namespace numora {
namespace {

// A timed level 1 with a minimum time of 60 s (limit 300 s) and a pupil with no results.
struct RunFixture {
  std::unique_ptr<AppState> state = std::make_unique<AppState>();
  ScriptedRandom random;
  std::unique_ptr<DrillRun> run;

  explicit RunFixture(int minimumTime = 60) {
    state->session.currentLevel = 1;
    state->session.currentPupil = 3;
    state->catalogue.levelIsTimed[1] = true;
    state->catalogue.standards[1].minimumTime = minimumTime;
    state->catalogue.standards[1].targetTime = 40;
    for (int l = 0; l < kLevelSlots; ++l) {
      state->stats.bestTimeAll[static_cast<std::size_t>(l)] = kTimeOutSeconds;
    }
    DrillRun::ResetForStart(state->run);
    run = std::make_unique<DrillRun>(state->catalogue, state->stats, state->session, state->run,
                                     random);
    run->Prepare(6000);
    run->Start(32400.0);
    EXPECT_EQ(run->ShowNextProblem(), NextProblem::kShown);
  }

  std::vector<int> Divisors() const {
    std::vector<int> d;
    for (int n = 1; n <= 100; ++n) {
      if (run->targetNumber() % n == 0) d.push_back(n);
    }
    return d;
  }

  void PressAllDivisors() {
    for (int n : Divisors()) run->PressTile(n);
  }
};

TEST(DrillRun, PrepareTakesTheLimitFromTheStandardAndStartCountsTenProblems) {
  RunFixture f;
  EXPECT_EQ(f.state->run.timeLimit, 300);
  EXPECT_DOUBLE_EQ(f.state->run.timeBarScale, 20.0);
  EXPECT_EQ(f.state->run.problemsPerRun, 10);
  EXPECT_FLOAT_EQ(f.state->run.runStart, 32400.0f);
  EXPECT_EQ(f.run->RemainingProblems(), 10);
  EXPECT_EQ(f.run->divisorCount(), DivisorCount(f.run->targetNumber()));
  EXPECT_TRUE(f.run->Accepting());
}

TEST(DrillRun, TilePresses) {
  struct Case {
    const char* name;
    bool timedOut, allAnswered;
    int tile;  // 0: the target itself; -1 a tile that does not divide it
    TilePress expected;
  };
  const Case cases[] = {
      {"divisor", false, false, 1, TilePress::kPressed},
      {"the target itself", false, false, 0, TilePress::kPressed},
      {"not a divisor", false, false, -1, TilePress::kWrong},
      {"past the board", false, false, 101, TilePress::kIgnored},
      {"tile 0", false, false, 1000, TilePress::kIgnored},
      {"after a time-out", true, false, 1, TilePress::kIgnored},
      {"after the last answer", false, true, -1, TilePress::kIgnored},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFixture f;
    f.state->run.timedOut = c.timedOut;
    f.state->run.allAnswered = c.allAnswered;
    const int target = f.run->targetNumber();
    int tile = c.tile == 0 ? target : c.tile;
    if (c.tile == -1) {
      tile = 1;
      while (target % tile == 0) ++tile;
    }
    if (c.tile == 1000) tile = 0;
    EXPECT_EQ(f.run->PressTile(tile), c.expected);
    EXPECT_EQ(f.state->run.judgeResult,
              c.expected == TilePress::kWrong ? JudgeResult::kWrong : JudgeResult::kNone);
    EXPECT_EQ(f.run->IsPressed(tile), c.expected == TilePress::kPressed);
  }
}

TEST(DrillRun, ASecondPressOfTheSameDivisorChangesNothing) {
  RunFixture f;
  EXPECT_EQ(f.run->PressTile(1), TilePress::kPressed);
  EXPECT_EQ(f.run->PressTile(1), TilePress::kAlreadyPressed);
  EXPECT_TRUE(f.run->IsPressed(1));
}

TEST(DrillRun, JudgeIsCorrectOnlyWithEveryDivisorPressed) {
  struct Case {
    const char* name;
    int leaveOut;  // how many divisors stay unpressed
    JudgeResult expected;
  };
  const Case cases[] = {
      {"every divisor", 0, JudgeResult::kCorrect},
      {"one missing", 1, JudgeResult::kWrong},
      {"none pressed", 99, JudgeResult::kWrong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFixture f;
    const std::vector<int> divisors = f.Divisors();
    const int press = std::max(0, static_cast<int>(divisors.size()) - c.leaveOut);
    for (int i = 0; i < press; ++i) f.run->PressTile(divisors[static_cast<std::size_t>(i)]);
    EXPECT_EQ(f.run->Judge(), c.expected);
    EXPECT_EQ(f.state->run.judgeResult, c.expected);
  }
}

TEST(DrillRun, TenCorrectAnswersCompleteTheRunAndNewTargetsNeverRepeatTheLast) {
  RunFixture f;
  f.random.script = {0.0, 0.0, 0.5, 0.99, 0.3, 0.3, 0.7, 0.1, 0.9, 0.2, 0.4, 0.6};
  for (int answer = 1; answer <= 10; ++answer) {
    f.PressAllDivisors();
    ASSERT_EQ(f.run->Judge(), JudgeResult::kCorrect);
    const bool complete = f.run->CountCorrectAnswer();
    EXPECT_EQ(complete, answer == 10);
    EXPECT_EQ(f.state->run.judgeResult, JudgeResult::kNone);
    EXPECT_EQ(f.run->RemainingProblems(), 10 - answer);
    if (!complete) {
      const int previous = f.run->targetNumber();
      ASSERT_EQ(f.run->ShowNextProblem(), NextProblem::kShown);
      EXPECT_NE(f.run->targetNumber(), previous);
      EXPECT_FALSE(f.run->IsPressed(1));  // a fresh board
      EXPECT_EQ(f.run->hintPairsShown(), 0);
    }
  }
  EXPECT_TRUE(f.state->run.allAnswered);
  EXPECT_FALSE(f.run->Accepting());
  EXPECT_EQ(f.run->ShowNextProblem(), NextProblem::kIgnored);
}

TEST(DrillRun, EachWrongAnswerCostsTenSecondsRevealsTheNextPairAndClearsTheBoard) {
  RunFixture f;
  const HintSlots hints = f.run->hints();
  for (int wrong = 1; wrong <= hints.slotCount / 2 + 1; ++wrong) {
    SCOPED_TRACE(wrong);
    f.run->PressTile(1);
    const RevealedSlots shown = f.run->Penalise();
    const RevealedSlots expected = RevealForWrongAnswer(hints, wrong);
    EXPECT_EQ(shown.left, expected.left);
    EXPECT_EQ(shown.right, expected.right);
    EXPECT_FLOAT_EQ(f.state->run.runStart, 32400.0f - 10.0f * static_cast<float>(wrong));
    EXPECT_TRUE(f.run->IsPressed(1));  // until the cue has played
    f.run->ClearBoard();
    EXPECT_FALSE(f.run->IsPressed(1));
  }
  EXPECT_EQ(f.state->run.correctCount, 0);
  // The penalty shows on the clock: 5 s after the start reads as 5 + 10 × wrong answers.
  const ClockTick tick = f.run->Tick(32405.0);
  EXPECT_EQ(tick.elapsed, 5 + 10 * (hints.slotCount / 2 + 1));
}

TEST(DrillRun, ClockTicksUpToTheLimit) {
  struct Case {
    const char* name;
    int minimumTime;
    double seconds;
    int32_t elapsed;
    bool limited, limitReached;
  };
  const Case cases[] = {
      {"first second", 60, 1.0, 1, true, false},
      {"just before the limit", 60, 299.4, 299, true, false},
      {"at the limit", 60, 299.6, 300, true, true},
      {"past the limit", 60, 400.0, 400, true, true},
      {"no minimum time, no limit", 0, 5000.0, 5000, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFixture f(c.minimumTime);
    const ClockTick tick = f.run->Tick(32400.0 + c.seconds);
    EXPECT_EQ(tick.elapsed, c.elapsed);
    EXPECT_EQ(f.state->run.elapsedSeconds, c.elapsed);
    EXPECT_EQ(tick.limited, c.limited);
    EXPECT_EQ(tick.limitReached, c.limitReached);
  }
}

TEST(DrillRun, CountdownSquaresGoInTheTenSecondsBeforeTheTargetTime) {
  RunFixture f;  // target time 40, minimum time 60: squares 30..39 go from 31 s on
  f.run->Tick(32400.0 + 30.0);
  EXPECT_EQ(f.run->squares().HiddenCount(), 0);
  f.run->Tick(32400.0 + 35.0);
  EXPECT_GT(f.run->squares().HiddenCount(), 0);
}

TEST(DrillRun, TimeOutAndHandOff) {
  struct Case {
    const char* name;
    bool runEnding, allAnswered;
    bool timesOut;
  };
  const Case cases[] = {
      {"running", false, false, true},
      {"hand-off already begun", true, false, false},
      {"answered in full", false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunFixture f;
    f.state->run.runEnding = c.runEnding;
    f.state->run.allAnswered = c.allAnswered;
    f.run->Tick(32400.0 + 300.0);
    EXPECT_EQ(f.run->TimeOut(), c.timesOut);
    EXPECT_EQ(f.state->run.timedOut, c.timesOut);
    EXPECT_EQ(f.run->BeginHandOff(), !c.runEnding);
    EXPECT_FALSE(f.run->BeginHandOff());  // never twice
    f.run->SetRecordedTime();
    EXPECT_EQ(f.state->run.recordedTime, c.timesOut ? kTimeOutSeconds : 300);
  }
}

TEST(DrillRun, ALevelWithoutTargetsShowsNoProblemAndUntimedLevelsKeepNoLimit) {
  auto state = std::make_unique<AppState>();
  ScriptedRandom random;
  state->session.currentLevel = 9;
  DrillRun run(state->catalogue, state->stats, state->session, state->run, random);
  EXPECT_FALSE(run.TimedLevel());
  run.Prepare(6000);
  EXPECT_EQ(state->run.timeLimit, 0);
  EXPECT_EQ(run.ShowNextProblem(), NextProblem::kNoTarget);
  EXPECT_EQ(run.targetNumber(), 0);
  EXPECT_EQ(run.PressTile(1), TilePress::kIgnored);
}

}  // namespace
}  // namespace numora
