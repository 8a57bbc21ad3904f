#include "core/drill/drill_run.h"

namespace numora {

DrillRun::DrillRun(const LevelCatalogue& catalogue, const StatisticsTables& stats,
                   const Session& session, DrillRunState& run, Random& random)
    : catalogue_(catalogue), stats_(stats), session_(session), run_(run), random_(random) {}

void DrillRun::ResetForStart(DrillRunState& run) {
  run.allAnswered = false;
  run.runEnding = false;
  run.correctCount = 0;
  run.timedOut = false;
}

bool DrillRun::TimedLevel() const {
  const int level = session_.currentLevel;
  return level >= 0 && level < kLevelSlots &&
         catalogue_.levelIsTimed[static_cast<std::size_t>(level)];
}

void DrillRun::Prepare(double barWidth) {
  run_.allAnswered = false;
  run_.runEnding = false;
  run_.judgeResult = JudgeResult::kNone;
  if (TimedLevel()) {
    const LevelStandard& standard =
        catalogue_.standards[static_cast<std::size_t>(session_.currentLevel)];
    // A level without a positive minimum time runs without a time limit; its bar stays empty.
    run_.timeLimit = RunTimeLimit(standard);
    run_.timeBarScale = TimeBarScale(barWidth, run_.timeLimit);
  }
  squares_ = CountdownSquares();
}

void DrillRun::Start(double timer) {
  run_.problemsPerRun = kProblemsPerRun;
  run_.runStart = static_cast<float>(timer);
}

NextProblem DrillRun::ShowNextProblem() {
  if (!Accepting()) {
    return NextProblem::kIgnored;
  }
  hintPairsShown_ = 0;
  divisorCount_ = 0;
  pressed_.clear();
  const std::vector<int> targets = TargetList(session_.currentLevel);
  if (targets.empty()) {
    return NextProblem::kNoTarget;  // the drill start turns such a level away
  }
  targetNumber_ = DrawTarget(targets, previousTarget_, random_);
  previousTarget_ = targetNumber_;
  divisorCount_ = DivisorCount(targetNumber_);
  hints_ = PrepareHints(targetNumber_);
  return NextProblem::kShown;
}

TilePress DrillRun::PressTile(int n) {
  if (!Accepting() || n < 1 || n > 100 || targetNumber_ < 1) {
    return TilePress::kIgnored;
  }
  if (targetNumber_ % n != 0) {
    run_.judgeResult = JudgeResult::kWrong;
    return TilePress::kWrong;
  }
  return pressed_.insert(n).second ? TilePress::kPressed : TilePress::kAlreadyPressed;
}

JudgeResult DrillRun::Judge() {
  run_.judgeResult = static_cast<int>(pressed_.size()) == divisorCount_ ? JudgeResult::kCorrect
                                                                        : JudgeResult::kWrong;
  return run_.judgeResult;
}

bool DrillRun::CountCorrectAnswer() {
  run_.judgeResult = JudgeResult::kNone;
  ++run_.correctCount;
  if (run_.correctCount < run_.problemsPerRun) {
    return false;
  }
  run_.allAnswered = true;
  return true;
}

RevealedSlots DrillRun::Penalise() {
  ++hintPairsShown_;
  run_.runStart -= static_cast<float>(kPenaltySeconds);
  return RevealForWrongAnswer(hints_, hintPairsShown_);
}

void DrillRun::ClearBoard() {
  pressed_.clear();
  if (run_.correctCount < 0) {
    run_.correctCount = 0;
  }
}

ClockTick DrillRun::Tick(double timer) {
  ClockTick tick;
  run_.elapsedSeconds = ElapsedSeconds(timer, run_.runStart);
  tick.elapsed = run_.elapsedSeconds;
  squares_.Tick(tick.elapsed, CountdownThresholdsFor(catalogue_, stats_, session_.currentLevel,
                                                     session_.currentPupil));
  tick.limited = run_.timeLimit > 0;
  tick.limitReached = tick.limited && tick.elapsed >= run_.timeLimit;
  return tick;
}

bool DrillRun::TimeOut() {
  if (run_.runEnding || run_.allAnswered) {
    return false;
  }
  run_.timedOut = true;
  return true;
}

bool DrillRun::BeginHandOff() {
  if (run_.runEnding) {
    return false;
  }
  run_.runEnding = true;
  return true;
}

void DrillRun::SetRecordedTime() {
  run_.recordedTime = run_.timedOut ? kTimeOutSeconds : run_.elapsedSeconds;
}

}  // namespace numora
