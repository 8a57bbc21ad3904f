#pragma once

#include <cstdint>

namespace numora {

// Outcome of the last judgement of the drill.
enum class JudgeResult { kNone = 0, kCorrect = 1, kWrong = 2 };

// The current drill run as the drill window, the run recording and the evaluation share it.
struct DrillRunState {
  float runStart = 0;  // timer value at the start; each wrong answer moves it 10 s earlier
  int32_t elapsedSeconds = 0;
  int32_t timeLimit = 0;  // seconds; 0: no limit
  double timeBarScale = 0;
  int problemsPerRun = 0;
  int correctCount = 0;
  JudgeResult judgeResult = JudgeResult::kNone;
  bool timedOut = false;
  bool allAnswered = false;
  bool runEnding = false;  // the end-of-run hand-off has begun
  int32_t recordedTime = 0;
  bool newPersonalBest = false;
  bool newLevelBest = false;
  bool clearedBefore = false;  // the level was cleared before this run was stored
};

}  // namespace numora
