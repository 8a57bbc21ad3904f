#pragma once

// One run of the divisor drill, without a window: the board's pressed tiles, the judgement, the
// ten-second penalty with its hint pair, the run clock's tick with the countdown squares, the
// time-out and the guard of the end-of-run hand-off. The drill window forwards each event here
// in the order the run needs (sounds and repaints in between stay with the window) and draws what
// the calls return and what the run reports.

#include <cstdint>
#include <set>
#include <vector>

#include "core/drill/drill_run_state.h"
#include "core/drill/problems.h"
#include "core/drill/run_clock.h"
#include "core/installation/level_catalogue.h"
#include "core/installation/session.h"
#include "core/platform/services.h"
#include "core/records/statistics_tables.h"

namespace numora {

// What a tile press did.
enum class TilePress {
  kIgnored,         // the run takes no answers, or there is no such tile or no target
  kAlreadyPressed,  // a divisor already pressed on this problem
  kPressed,         // a divisor, now pressed
  kWrong,           // not a divisor: judged wrong
};

// What showing the next problem did.
enum class NextProblem {
  kIgnored,   // the run takes no answers any more
  kNoTarget,  // the level has no target list: the board is cleared, nothing else
  kShown,     // a new target with its hint slots
};

// What one second of the run clock did.
struct ClockTick {
  int32_t elapsed = 0;
  bool limited = false;       // the run has a time limit
  bool limitReached = false;  // the limit is reached: the bar is full and the run may time out
};

class DrillRun {
 public:
  DrillRun(const LevelCatalogue& catalogue, const StatisticsTables& stats, const Session& session,
           DrillRunState& run, Random& random);

  // The drill start, before the window opens: no answers counted, no flags set.
  static void ResetForStart(DrillRunState& run);

  // True when the current level is one the catalogue times: its runs are timed and stored.
  bool TimedLevel() const;
  // The window's set-up: clears the end flags and the last judgement and, on a timed level,
  // takes the time limit from the level's standard and the bar's scale for barWidth.
  void Prepare(double barWidth);
  // Ten problems a run, and the clock from the given timer value (seconds after midnight).
  void Start(double timer);

  // True while answers are taken: the run has neither timed out nor been answered in full.
  bool Accepting() const { return !run_.timedOut && !run_.allAnswered; }

  // Draws the next target (never the previous one) and prepares its hint slots; no tile pressed.
  NextProblem ShowNextProblem();
  // A press of tile n (1 to 100).
  TilePress PressTile(int n);
  // The press of "判定": correct when exactly the target's divisors are pressed.
  JudgeResult Judge();
  // A correct judgement counts one more answer; true when that completes the run (which then
  // takes no more answers).
  bool CountCorrectAnswer();
  // A wrong judgement: the next hint pair and ten seconds more on the clock. Returns the slots
  // revealed (both 0 once all are shown).
  RevealedSlots Penalise();
  // After the wrong answer's cue: the board is open again.
  void ClearBoard();

  // One second of the run clock at the given timer value.
  ClockTick Tick(double timer);
  // At the time limit: the run times out unless its hand-off has begun or it is answered.
  bool TimeOut();
  // The end-of-run hand-off starts once; false when it has already started.
  bool BeginHandOff();
  // The time stored for the run: the elapsed seconds, or 99999 after a time-out.
  void SetRecordedTime();

  int RemainingProblems() const { return run_.problemsPerRun - run_.correctCount; }
  int targetNumber() const { return targetNumber_; }
  int previousTarget() const { return previousTarget_; }
  int divisorCount() const { return divisorCount_; }
  int hintPairsShown() const { return hintPairsShown_; }
  const HintSlots& hints() const { return hints_; }
  const CountdownSquares& squares() const { return squares_; }
  bool IsPressed(int n) const { return pressed_.count(n) != 0; }
  const DrillRunState& state() const { return run_; }

 private:
  const LevelCatalogue& catalogue_;
  const StatisticsTables& stats_;
  const Session& session_;
  DrillRunState& run_;
  Random& random_;
  int targetNumber_ = 0;
  int previousTarget_ = 0;
  int divisorCount_ = 0;
  int hintPairsShown_ = 0;
  HintSlots hints_;
  CountdownSquares squares_;
  std::set<int> pressed_;
};

}  // namespace numora
