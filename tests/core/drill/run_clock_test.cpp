#include "core/drill/run_clock.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/installation/app_state.h"
#include "support/fakes.h"

namespace numora {
namespace {

TEST(RunClock, ElapsedSecondsRoundsAndCountsOnPastMidnight) {
  EXPECT_EQ(ElapsedSeconds(32400.0, 32400.0), 0);
  EXPECT_EQ(ElapsedSeconds(32495.4, 32400.0), 95);
  EXPECT_EQ(ElapsedSeconds(32495.6, 32400.0), 96);
  EXPECT_EQ(ElapsedSeconds(32410.0, 32400.0f - 30.0f), 40);  // three penalties
  EXPECT_EQ(ElapsedSeconds(5.0, 86390.0), 15);               // past midnight
  EXPECT_EQ(ElapsedSeconds(5.0, -7.0), 12);                  // penalties just after midnight
}

TEST(RunClock, MinutesSinceStartAreWholeMinutes) {
  EXPECT_EQ(MinutesSince(32400.0, 32400), 0);
  EXPECT_EQ(MinutesSince(32459.9, 32400), 0);
  EXPECT_EQ(MinutesSince(32460.0, 32400), 1);
  EXPECT_EQ(MinutesSince(36000.5, 32400), 60);
  EXPECT_EQ(MinutesSince(120.0, 86340), 3);  // past midnight
  // Confirmed at 9:00:00.6, stored rounded up as 9:00:01: still 0 minutes, not a whole day.
  EXPECT_EQ(MinutesSince(32400.6, 32401), 0);
}

TEST(RunClock, TimeLimitIsFiveTimesTheMinimumTimeOrNoneWithoutOne) {
  LevelStandard s;
  s.minimumTime = 60;
  EXPECT_EQ(RunTimeLimit(s), 300);
  EXPECT_DOUBLE_EQ(TimeBarScale(6000, 300), 20.0);
  s.minimumTime = 0;
  EXPECT_EQ(RunTimeLimit(s), 0);
  s.minimumTime = -4;
  EXPECT_EQ(RunTimeLimit(s), 0);
  EXPECT_EQ(TimeBarScale(6000, 0), 0.0);
}

// Which squares are hidden after ticking once a second from 1 to the given elapsed time.
std::vector<int> HiddenAfter(const CountdownThresholds& t, int lastElapsed, int from = 1) {
  CountdownSquares squares;
  for (int e = from; e <= lastElapsed; ++e) squares.Tick(e, t);
  std::vector<int> hidden;
  for (int i = CountdownSquares::kFirst; i <= CountdownSquares::kLast; ++i) {
    if (squares.hidden[static_cast<std::size_t>(i)]) hidden.push_back(i);
  }
  return hidden;
}

TEST(CountdownSquares, RedSquaresCountDownTheLastTenSecondsToTheTargetTime) {
  CountdownThresholds t;
  t.targetTime = 40;
  EXPECT_TRUE(HiddenAfter(t, 30).empty());
  EXPECT_EQ(HiddenAfter(t, 31), std::vector<int>{30});
  EXPECT_EQ(HiddenAfter(t, 35), (std::vector<int>{30, 31, 32, 33, 34}));
  EXPECT_EQ(HiddenAfter(t, 40).size(), 10u);
  EXPECT_EQ(HiddenAfter(t, 200).size(), 10u);
  // A ten-second jump (a wrong answer) catches up at the next tick.
  CountdownSquares jumped;
  jumped.Tick(29, t);
  jumped.Tick(39, t);
  EXPECT_EQ(jumped.HiddenCount(), 9);
  // Past the threshold nothing more is hidden.
  CountdownSquares late;
  late.Tick(41, t);
  EXPECT_EQ(late.HiddenCount(), 0);
}

TEST(CountdownSquares, MinimumTimeHidesRedSquaresFromTheRight) {
  CountdownThresholds t;
  t.minimumTime = 60;
  EXPECT_TRUE(HiddenAfter(t, 50).empty());
  EXPECT_EQ(HiddenAfter(t, 51), std::vector<int>{30});
  CountdownSquares squares;
  squares.Tick(51, t);
  squares.Tick(52, t);
  EXPECT_TRUE(squares.hidden[30] && squares.hidden[31]);
  squares.Tick(60, t);
  EXPECT_TRUE(squares.hidden[39]);
  EXPECT_FALSE(squares.hidden[38]);  // only exact seconds count for this rule
}

TEST(CountdownSquares, BestTimesCountDownGreenAndOliveAndNoBestLeavesThemVisible) {
  AppState state;
  state.catalogue.standards[2].targetTime = 200;
  state.catalogue.standards[2].minimumTime = 250;
  state.stats.bestTimeAll[2] = 95;
  state.stats.bestTime(2, 7) = 120;
  CountdownThresholds t = CountdownThresholdsFor(state.catalogue, state.stats, 2, 7);
  EXPECT_EQ(t.best, 95);
  EXPECT_EQ(t.personalBest, 120);
  std::vector<int> hidden = HiddenAfter(t, 86);
  EXPECT_EQ(hidden, std::vector<int>{10});
  hidden = HiddenAfter(t, 111);
  EXPECT_EQ(hidden.size(), 11u);  // the green ten and the first olive one
  EXPECT_EQ(hidden.back(), 20);

  // 99999 (no run yet) and 0 (never scanned) are no thresholds.
  state.stats.bestTimeAll[2] = 99999;
  state.stats.bestTime(2, 7) = 0;
  t = CountdownThresholdsFor(state.catalogue, state.stats, 2, 7);
  EXPECT_EQ(t.best, 0);
  EXPECT_EQ(t.personalBest, 0);
  EXPECT_TRUE(HiddenAfter(t, 150, 0).empty());
}

TEST(StatusPanel, TitleSizeAndTodaysRunNumbers) {
  EXPECT_DOUBLE_EQ(TitlePointSize("ヌモラ"), 16.8);
  EXPECT_DOUBLE_EQ(TitlePointSize("約数ドリル初級編です"), 14.0);  // ten characters
  EXPECT_DOUBLE_EQ(TitlePointSize("約数ドリル初級編で"), 16.8);    // nine
  AppState state;
  state.stats.todayRuns(1, 3) = 2;
  state.stats.todayRuns(4, 3) = 1;
  state.stats.todayRuns(15, 3) = 1;
  state.stats.todayRuns(16, 3) = 5;
  EXPECT_EQ(TodayTotalRuns(state.stats, 3, 15), 4);
  EXPECT_EQ(TodayTotalRuns(state.stats, 3, 35), 9);
  EXPECT_EQ(TodayTotalRuns(state.stats, 4, 15), 0);
}

// A host whose event processing moves the clock on by a fixed step and never yields.
class SteppingHost : public RecordingHost {
 public:
  SteppingHost(FakeClock& clock, double step) : clock_(clock), step_(step) {}
  void ProcessEvents() override {
    ++processed;
    clock_.Advance(step_);
  }
  void WaitResponsive(double seconds) override { waited += seconds; }

 private:
  FakeClock& clock_;
  double step_;
};

TEST(WaitOnTickCount, WaitsOneSecondOfTicksWhileProcessingMessages) {
  FakeServices fakes;
  const uint32_t start = fakes.clock.TickCount();
  WaitOnTickCount(fakes.services, 1.0);
  const uint32_t waited = fakes.clock.TickCount() - start;
  EXPECT_GE(waited, 1000u);
  EXPECT_LT(waited, 1100u);
  EXPECT_GT(fakes.host.processed, 99);
}

TEST(WaitOnTickCount, CatchesUpOneStepPerPassSoItNeverEndsEarly) {
  // Passes that are 50 ms apart still count only one 10 ms step each.
  FakeClock clock;
  ScriptedRandom random;
  RecordingSound sound;
  SteppingHost host(clock, 0.050);
  Services services{clock, random, sound, host};
  const uint32_t start = clock.TickCount();
  WaitOnTickCount(services, 1.0);
  // The first pass finds no step yet and yields once; each later pass counts one step, and the
  // hundredth step ends the wait.
  EXPECT_EQ(host.processed, 100);
  EXPECT_DOUBLE_EQ(host.waited, 0.005);
  EXPECT_GE(clock.TickCount() - start, 1000u);
}

}  // namespace
}  // namespace numora
