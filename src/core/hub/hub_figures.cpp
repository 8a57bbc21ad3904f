#include "core/hub/hub_figures.h"

#include <cmath>

#include "core/drill/run_clock.h"
#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"
#include "core/installation/session.h"
#include "core/installation/table_sizes.h"
#include "core/platform/saturate.h"
#include "core/platform/utf8_text.h"
#include "core/platform/value.h"
#include "core/records/statistics_tables.h"

namespace numora {

namespace {

const LevelStandard& Standard(const LevelCatalogue& catalogue, int level) {
  return catalogue.standards[static_cast<size_t>(level)];
}

// The over-practice rule for level i of the current pupil.
bool OverPractised(const LevelCatalogue& catalogue, const Session& session,
                   const StatisticsTables& stats, int level) {
  const LevelStandard& s = Standard(catalogue, level);
  const int p = session.currentPupil;
  const double count = s.overPracticeCount.Number();
  const double points = s.overPracticePoints.Number();
  return (count != 0 && stats.overPracticeWindowRuns(level, p) >= count) ||
         (points != 0 && stats.overPracticeWindowPoints(level, p) >= points);
}

}  // namespace

std::string RecentPeriodLine(const LevelCatalogue& catalogue, const Session& session,
                             const StatisticsTables& stats, int level) {
  const int p = session.currentPupil;
  return "最近" + Standard(catalogue, level).passPeriodDays.Text() +
         "日=" + std::to_string(stats.recentRuns(level, p)) + "回 / " +
         std::to_string(stats.recentPoints(level, p)) + "点";
}

std::string TargetLine(const LevelCatalogue& catalogue, int level) {
  const LevelStandard& s = Standard(catalogue, level);
  const std::string head = "目標=" + std::to_string(s.targetTime) + "秒";
  if (s.clearPoints == 9999) {
    return head + " --------";
  }
  return head + " " + std::to_string(s.clearCount) + "回/" + std::to_string(s.clearPoints) +
         "点(×" + FormatSingle(s.pointMultiplier) + ")";
}

std::string TodayFigures(const Session& session, const StatisticsTables& stats, int level) {
  const int p = session.currentPupil;
  const float runs = stats.todayRuns(level, p);
  if (runs == 0) {
    return "-----";
  }
  return FormatSingle(runs) + "回/" + std::to_string(stats.todayPoints(level, p)) + "点";
}

std::string AllTimeFigures(const Session& session, const StatisticsTables& stats, int level) {
  const int p = session.currentPupil;
  const int runs = stats.totalRuns(level, p);
  if (runs == 0) {
    return "------";
  }
  return std::to_string(runs) + "回/" + std::to_string(stats.totalPoints(level, p)) + "点";
}

int TodayTotalRuns(const Session& session, const StatisticsTables& stats) {
  return TodayTotalRuns(stats, session.currentPupil, kLevelSlots - 1);
}

std::string TodayTotalRunsLine(int todayTotalRuns) {
  return "本日総回数＝" + std::to_string(todayTotalRuns) + "回";
}

std::string MinutesSinceStartLine(int32_t pupilStartTime, double timer) {
  return "起動後" + std::to_string(MinutesSince(timer, pupilStartTime)) + "分";
}

std::string PupilLine(const Session& session) {
  return session.pupilGrade + " " + TrimSpaces(session.pupilName);
}

std::string SchoolLine(const InstallationSettings& installation, const Session& session) {
  return installation.schoolName + ":" + std::to_string(session.currentPupil);
}

int TitleFontSize(std::string_view title) {
  return CharCount(title) > 9 ? 20 : 24;
}

bool FinalLevelCleared(const LevelCatalogue& catalogue, const Session& session,
                       const StatisticsTables& stats) {
  const int level = catalogue.finalLevel;
  if (level < 1 || level >= kLevelSlots) {
    return false;
  }
  const LevelStandard& s = Standard(catalogue, level);
  const int p = session.currentPupil;
  return stats.recentPoints(level, p) >= s.clearPoints &&
         stats.recentRuns(level, p) >= s.clearCount;
}

LevelAvailability ComputeLevelAvailability(const LevelCatalogue& catalogue, const Session& session,
                                           StatisticsTables& stats) {
  const bool cleared = FinalLevelCleared(catalogue, session, stats);
  stats.finalLevelCleared = cleared;
  const int n = std::max<int>(0, std::min<int>(catalogue.levelCount, kLevelSlots - 1));
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
    if (!cleared && OverPractised(catalogue, session, stats, i)) {
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
