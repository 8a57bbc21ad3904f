#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/value.h"

namespace numora {

inline constexpr int kLevelSlots = 36;    // levels 0..35; level 0 is never played
inline constexpr int kPupilSlots = 5001;  // pupil numbers 0..5000
inline constexpr int kMaxResultEntries = 20000;

// Position of level L and pupil P in a flat per-level-per-pupil table.
constexpr std::size_t LevelPupilIndex(int level, int pupil) {
  return static_cast<std::size_t>(level) * kPupilSlots + static_cast<std::size_t>(pupil);
}

// A flat 36 × 5001 table; entry (L, P) lives at L × 5001 + P.
template <class T>
struct LevelPupilTable {
  std::vector<T> cells = std::vector<T>(static_cast<std::size_t>(kLevelSlots) * kPupilSlots);
  T& operator()(int level, int pupil) { return cells[LevelPupilIndex(level, pupil)]; }
  const T& operator()(int level, int pupil) const { return cells[LevelPupilIndex(level, pupil)]; }
  T& operator[](std::size_t i) { return cells[i]; }
  const T& operator[](std::size_t i) const { return cells[i]; }
};

// One row of the level standards file.
struct LevelStandard {
  int32_t targetTime = 0;     // seconds
  int32_t minimumTime = 0;    // seconds; the drill's time limit is five times this
  int32_t clearPoints = 0;    // 9999: no clear requirement
  int16_t clearCount = 0;     // 9999 anywhere suppresses the goal panel
  float pointMultiplier = 0;  // single precision
  Value overPracticeCount;    // 0 or empty: no limit
  Value overPracticePoints;   // 0 or empty: no limit
  Value passPeriodDays;
  Value overPracticePeriodDays;
  Value extra10;
  Value extra11;
  Value extra12;
};

// The kept fields of one record of the results file.
struct ResultEntry {
  double runDate = 0;
  double runTime = 0;
  int16_t pupilNumber = 0;
  int16_t level = 0;
  int32_t seconds = 0;
};

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

// Everything that more than one window or module needs, in one record that lives for the whole
// program run. Windows and core functions read and write the fields directly.
struct SharedState {
  // Installation and settings, set once by the start-up.
  std::string programFolder;  // ends with the native separator
  Value dataRootFolder;
  Value dataFolder;
  Value programFolderName;
  Value soundFolder;
  int16_t developmentLayout = 0;
  Value schoolYearStartMonth;
  std::string schoolName;
  Value schoolCode;
  Value rosterStatusTwoActive;
  Value dataChangePassword;
  Value seasonColour;  // &H00BBGGRR

  // Program identity and level catalogue.
  std::string programTitle;
  int16_t levelCount = 0;
  Value finalLevel;
  std::array<std::string, kLevelSlots> levelNames{};
  std::array<int16_t, kLevelSlots> levelIsTimed{};

  // Current pupil and level.
  int16_t currentPupil = 0;
  std::string pupilName;
  Value pupilGrade;
  int32_t pupilStartTime = 0;
  int16_t currentLevel = 0;

  // Roster tables, by pupil number.
  std::vector<std::string> rosterNames = std::vector<std::string>(kPupilSlots);
  std::vector<std::string> rosterGrades = std::vector<std::string>(kPupilSlots);
  std::vector<int16_t> rosterBirthYears = std::vector<int16_t>(kPupilSlots);
  std::vector<int16_t> rosterOrder = std::vector<int16_t>(kPupilSlots);  // position 1.. → pupil
  int16_t rosterCount = 0;
  int16_t schoolYear = 0;
  std::string gradeFilterText;

  // Results entry list of the last scan, positions 1 … resultEntryCount (position 0 unused).
  std::vector<ResultEntry> resultEntries = std::vector<ResultEntry>(kMaxResultEntries + 1);
  int32_t resultEntryCount = 0;
  LevelPupilTable<int32_t> bestTime;
  std::array<int32_t, kLevelSlots> bestTimeAll{};

  // Hub view state.
  int16_t allResultsPeriod = 0;

  // Level standards, entries 0..35 (entry 0 receives the header line).
  std::array<LevelStandard, kLevelSlots> levelStandards{};

  // Results aggregates per level and pupil, rebuilt from the results file.
  LevelPupilTable<float> todayRuns;
  LevelPupilTable<int32_t> todayPoints;
  LevelPupilTable<float> todayTimeSum;
  LevelPupilTable<float> todayAverageTime;
  LevelPupilTable<int16_t> totalRuns;
  LevelPupilTable<int32_t> totalPoints;
  LevelPupilTable<int32_t> totalTimeSum;
  LevelPupilTable<float> totalAverageTime;
  LevelPupilTable<int16_t> recentRuns;
  LevelPupilTable<int32_t> recentPoints;
  LevelPupilTable<int16_t> overPracticeWindowRuns;
  LevelPupilTable<int32_t> overPracticeWindowPoints;

  // Other per-pupil summaries.
  int16_t todayTotalRuns = 0;
  Value finalLevelCleared;

  // The state of the drill's current run.
  DrillRunState run;

  // Sound state: [cue][0] name, [cue][1..20] file base names, [cue][21] count as text.
  std::array<std::array<std::string, 22>, 11> soundTable{};
  std::string mciCommand;
  std::string mciResult;
  int16_t soundFailures = 0;

  // What the results scan has told the user in this program run, so each is told once: bit 1 a
  // record that cannot be placed in the tables, bit 2 a delete that was interrupted.
  int16_t scanWarningShown = 0;
};

}  // namespace numora
