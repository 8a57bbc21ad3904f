#include "core/hub/hub_figures.h"

#include <cmath>

#include "core/drill/run_clock.h"
#include "core/platform/saturate.h"
#include "core/platform/utf8_text.h"
#include "core/platform/value.h"

namespace numora {

namespace {

const LevelStandard& Standard(const SharedState& state, int level) {
  return state.levelStandards[static_cast<size_t>(level)];
}

// The over-practice rule for level i of the current pupil.
bool OverPractised(const SharedState& state, int level) {
  const LevelStandard& s = Standard(state, level);
  const int p = state.currentPupil;
  const double count = s.overPracticeCount.Number();
  const double points = s.overPracticePoints.Number();
  return (count != 0 && state.overPracticeWindowRuns(level, p) >= count) ||
         (points != 0 && state.overPracticeWindowPoints(level, p) >= points);
}

}  // namespace

std::string RecentPeriodLine(const SharedState& state, int level) {
  const int p = state.currentPupil;
  return "最近" + Standard(state, level).passPeriodDays.Text() +
         "日=" + std::to_string(state.recentRuns(level, p)) + "回 / " +
         std::to_string(state.recentPoints(level, p)) + "点";
}

std::string TargetLine(const SharedState& state, int level) {
  const LevelStandard& s = Standard(state, level);
  const std::string head = "目標=" + std::to_string(s.targetTime) + "秒";
  if (s.clearPoints == 9999) {
    return head + " --------";
  }
  return head + " " + std::to_string(s.clearCount) + "回/" + std::to_string(s.clearPoints) +
         "点(×" + FormatSingle(s.pointMultiplier) + ")";
}

std::string TodayFigures(const SharedState& state, int level) {
  const int p = state.currentPupil;
  const float runs = state.todayRuns(level, p);
  if (runs == 0) {
    return "-----";
  }
  return FormatSingle(runs) + "回/" + std::to_string(state.todayPoints(level, p)) + "点";
}

std::string AllTimeFigures(const SharedState& state, int level) {
  const int p = state.currentPupil;
  const int runs = state.totalRuns(level, p);
  if (runs == 0) {
    return "------";
  }
  return std::to_string(runs) + "回/" + std::to_string(state.totalPoints(level, p)) + "点";
}

int TodayTotalRuns(const SharedState& state) {
  double sum = 0;
  for (int level = 1; level < kLevelSlots; ++level) {
    sum += state.todayRuns(level, state.currentPupil);
  }
  return SaturatingCast<int>(std::round(sum));
}

std::string TodayTotalRunsLine(int todayTotalRuns) {
  return "本日総回数＝" + std::to_string(todayTotalRuns) + "回";
}

std::string MinutesSinceStartLine(int32_t pupilStartTime, double timer) {
  return "起動後" + std::to_string(MinutesSince(timer, pupilStartTime)) + "分";
}

std::string PupilLine(const SharedState& state) {
  return state.pupilGrade.Text() + " " + TrimSpaces(state.pupilName);
}

std::string SchoolLine(const SharedState& state) {
  return state.schoolName + ":" + std::to_string(state.currentPupil);
}

int TitleFontSize(std::string_view title) {
  return CharCount(title) > 9 ? 20 : 24;
}

bool FinalLevelCleared(const SharedState& state) {
  const double finalLevel = state.finalLevel.Number();
  if (!(finalLevel >= 1 && finalLevel < kLevelSlots)) {
    return false;
  }
  const int level = static_cast<int>(finalLevel);
  const LevelStandard& s = Standard(state, level);
  const int p = state.currentPupil;
  return state.recentPoints(level, p) >= s.clearPoints &&
         state.recentRuns(level, p) >= s.clearCount;
}

LevelAvailability ComputeLevelAvailability(SharedState& state) {
  const bool cleared = FinalLevelCleared(state);
  state.finalLevelCleared = cleared ? 1 : 0;
  const int n = std::max<int>(0, std::min<int>(state.levelCount, kLevelSlots - 1));
  LevelAvailability a;
  a.enabled.assign(static_cast<size_t>(n) + 1, false);
  a.overPractised.assign(static_cast<size_t>(n) + 1, false);
  if (n == 0) {
    return a;
  }
  a.enabled[1] = true;
  for (int i = 1; i < n; ++i) {
    a.enabled[static_cast<size_t>(i) + 1] = true;
    // The last level is never blocked: the rule runs for levels 1..n−1 only.
    if (!cleared && OverPractised(state, i)) {
      a.enabled[static_cast<size_t>(i)] = false;
      a.overPractised[static_cast<size_t>(i)] = true;
    }
  }
  return a;
}

int ShortcutLevel(std::string_view typed, int levelCount) {
  if (typed.size() != 1) {
    return 0;
  }
  const char c = typed[0];
  if (c == '0') {
    return -1;
  }
  int level = 0;
  if (c >= '1' && c <= '9') {
    level = c - '0';
  }
  if (c >= 'a' && c <= 'd') {
    level = 10 + (c - 'a');
  }
  if (level == 1) {
    return 1;
  }
  return level != 0 && levelCount >= level ? level : 0;
}

}  // namespace numora
