#include "core/roster/name_list.h"

#include <algorithm>
#include <cmath>

#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/platform/collation.h"
#include "core/platform/utf8_text.h"
#include "core/platform/value.h"
#include "core/records/statistics.h"

namespace numora {

namespace {

std::string FourDigitYear(int year) {
  std::string digits = std::to_string(year);
  if (digits.size() < 4) {
    digits.insert(0, 4 - digits.size(), '0');
  }
  return digits;
}

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == kFolderSeparator) {
    folder.pop_back();
  }
  return folder;
}

}  // namespace

std::string StageLabel(int grade) {
  if (grade <= -3) {
    return "幼-";
  }
  if (grade <= 0) {
    return "幼" + std::to_string(grade + 3);
  }
  if (grade <= 6) {
    return "小" + std::to_string(grade);
  }
  if (grade <= 9) {
    return "中" + std::to_string(grade - 6);
  }
  if (grade <= 12) {
    return "高" + std::to_string(grade - 9);
  }
  return "大+";
}

std::string RunsTodayText(double runs) {
  if (runs == 0) {
    return "     ";
  }
  return AlignRight(FormatNumber(runs), 3) + "回";
}

std::string PointsTodayText(int64_t points) {
  if (points == 0) {
    return "  " + std::string(kWideSpace);
  }
  return AlignRight(std::to_string(points), 4);
}

std::string RunsTotalText(int64_t runs) {
  if (runs == 0) {
    return "     " + std::string(kWideSpace);
  }
  return AlignRight(std::to_string(runs), 5) + "回";
}

std::string PointsTotalText(int64_t points) {
  if (points == 0) {
    return "       ";
  }
  return AlignRight(std::to_string(points), 7);
}

PupilFigures SumPupilFigures(const StatisticsTables& stats, int pupil) {
  PupilFigures f;
  if (pupil < 0 || pupil >= kPupilSlots) {
    return f;
  }
  // The runs of today are single precision, so their sum is too.
  float runsToday = 0;
  for (int level = 1; level < kLevelSlots; ++level) {
    runsToday += stats.todayRuns(level, pupil);
    f.pointsToday += stats.todayPoints(level, pupil);
    f.runsTotal += stats.totalRuns(level, pupil);
    f.pointsTotal += stats.totalPoints(level, pupil);
  }
  f.runsToday = runsToday;
  return f;
}

int NameColumnWidth(int grade, int view) {
  return grade <= 0 && view != kPointsView ? 11 : 9;
}

std::string NameColumn(int grade, std::string_view storedName, int view) {
  const std::string label = StageLabel(grade);
  const int room = NameColumnWidth(grade, view) - static_cast<int>(CharCount(label)) - 1;
  return label + " " +
         FitChars(TrimSpaces(storedName), static_cast<size_t>(std::max(0, room)), kWideSpace);
}

std::string DisplayLine(int grade, std::string_view storedName, const PupilFigures& figures,
                        int view) {
  std::string first;
  std::string second;
  switch (view) {
    case kRunsView:
      first = RunsTodayText(figures.runsToday);
      second = RunsTotalText(figures.runsTotal);
      break;
    case kTodayView:
      first = PointsTodayText(figures.pointsToday);
      second = RunsTodayText(figures.runsToday);
      break;
    case kAllTimeView:
      first = PointsTotalText(figures.pointsTotal);
      second = RunsTotalText(figures.runsTotal);
      break;
    default:
      first = PointsTodayText(figures.pointsToday);
      second = PointsTotalText(figures.pointsTotal);
      break;
  }
  return NameColumn(grade, storedName, view) + first + "/" + second;
}

std::string WorkLine(const RosterEntry& entry, int grade, const PupilFigures& figures, int view) {
  return FourDigitYear(entry.birthYear) + DisplayLine(grade, entry.name, figures, view) + "*" +
         std::to_string(entry.pupilNumber);
}

NameList NameListLines(const RosterTables& roster, const StatisticsTables& stats,
                       const std::vector<RosterEntry>& listed, int view,
                       std::string_view filterText) {
  // The work lines keep what they were built from, so that no line has to be taken apart again
  // (a name may itself hold "*" or "/").
  struct Line {
    std::string work;
    std::string display;
    int grade = 0;
    int pupil = 0;
  };
  std::vector<Line> lines;
  lines.reserve(listed.size());
  for (const RosterEntry& e : listed) {
    Line l;
    l.grade = GradeNumber(roster.schoolYear, e.birthYear);
    l.pupil = e.pupilNumber;
    const PupilFigures figures = SumPupilFigures(stats, e.pupilNumber);
    l.display = DisplayLine(l.grade, e.name, figures, view);
    l.work = FourDigitYear(e.birthYear) + l.display + "*" + std::to_string(e.pupilNumber);
    lines.push_back(std::move(l));
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const Line& a, const Line& b) { return ListLineLess(a.work, b.work); });

  NameList out;
  out.list1.reserve(lines.size() + 1);
  out.list2.reserve(lines.size());
  out.list3.reserve(lines.size());
  out.list1.emplace_back(kDashLine);
  for (const Line& l : lines) {
    out.list2.push_back(l.work);
    if (!GradeFilterPasses(filterText, l.grade)) {
      continue;
    }
    out.list1.push_back(l.display);
    out.list3.push_back(l.display + "*" + std::to_string(l.pupil));
  }
  return out;
}

NameList BuildNameList(AppState& state, Services& services, int view, std::string_view filterText,
                       RosterReading* reading) {
  const double today = services.clock.Today();
  ComputeSchoolYear(state.installation, state.roster, today);
  RebuildStatistics(state, services);
  services.host.ProcessEvents();
  RosterReading read = ReadRoster(state.installation, state.roster, today);
  NameList lines = NameListLines(state.roster, state.stats, read.listed, view, filterText);
  if (reading != nullptr) {
    *reading = std::move(read);
  }
  return lines;
}

std::string ClickedLineName(std::string_view displayLine) {
  return TrimSpaces(LeftChars(displayLine, 10));
}

std::string DoubleClickedLineName(std::string_view displayLine) {
  const size_t slash = displayLine.find('/');
  return TrimSpaces(displayLine.substr(0, slash));
}

std::string ParallelLinePupil(std::string_view parallelLine) {
  const size_t star = parallelLine.rfind('*');
  if (star == std::string_view::npos) {
    return {};
  }
  return std::string(parallelLine.substr(star + 1));
}

int ConfirmedPupil(std::string_view chosenName, std::string_view pupilText) {
  const auto pupil = static_cast<int64_t>(std::llround(NumericValue(std::string(pupilText))));
  if (chosenName.empty() || chosenName == kChooseName || pupil < 1 || pupil >= kPupilSlots) {
    return 0;
  }
  return static_cast<int>(pupil);
}

LauncherCommand LauncherCommandFor(const InstallationSettings& installation) {
  const std::string sep(1, kFolderSeparator);
  const std::string exeFolder = WithoutTrailingSeparator(installation.programFolder);
  LauncherCommand c;
  if (installation.developmentLayout) {
    c.folder = exeFolder + sep + ".." + sep + ".." + sep + "起動" + sep + "起動";
    c.program = c.folder + sep + "プログラムメニュー.exe";
  } else {
    c.folder = exeFolder + sep + ".." + sep + "起動";
    c.program = c.folder + sep + "プログラムメニューc.exe";
    c.args = {"001"};
  }
  return c;
}

}  // namespace numora
