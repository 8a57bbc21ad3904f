#include "core/hub/chart_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "core/hub/score_lists.h"
#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"
#include "core/installation/table_sizes.h"
#include "core/platform/dates.h"
#include "core/platform/utf8_text.h"
#include "core/records/results_file.h"
#include "core/records/statistics_tables.h"
#include "core/roster/roster.h"
#include "core/roster/roster_tables.h"

namespace numora {

namespace {

// The statistics block's fixed texts.
constexpr std::string_view kCountHead = "回数\u3000\u3000\u3000\u3000\u3000\u3000\u3000";
constexpr std::string_view kTimeHead = "タイム  \u3000\u3000 \u3000    本人 / 塾全体";
constexpr std::string_view kRankHead = "\u3000\u3000順位\u3000\u3000\u3000\u3000";
constexpr std::string_view kBestHead = "\u3000\u3000最高\u3000\u3000\u3000\u3000";
constexpr std::string_view kAverageHead = "\u3000\u3000平均\u3000\u3000\u3000\u3000";
constexpr std::string_view kPointsHead = "ポイント  \u3000\u3000\u3000";
constexpr std::string_view kEarnedHead = "\u3000\u3000獲得ポイント";
constexpr std::string_view kSchoolPointsHead =
    "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000/";
constexpr std::string_view kSchoolPointsFoot =
    "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 (塾平均)";

// Band layout (band heights C from the band's top, half widths f).
constexpr double kAxisLeft = 0.2;
constexpr double kAxisRight = 0.9;
constexpr double kAxisBottom = 0.8;
constexpr double kAxisTop = 0.1;
constexpr double kPlotWidth = 0.7;   // the runs spread over 0.2 f .. 0.9 f
constexpr double kPlotHeight = 0.7;  // 0 s at 0.8 C, the scale at 0.1 C
constexpr double kStatisticsLeft = 1.05;
constexpr double kStatisticsTop = 0.05;
constexpr double kScreenLineStep = 0.08;
constexpr double kPaperLineStep = 0.06;
constexpr double kZeroLabelTop = 0.79;
constexpr double kLabelClearance = 0.045;  // a text in the base size is about 0.04 C high
constexpr double kAxisWidth = 2;
constexpr double kRuleWidth = 1;
constexpr int kBandsPerPage = 3;
constexpr int kMaxScale = 1000;

// A number written with digit placeholders only: no leading zeros, and 0 shows as nothing.
std::string Digits(int64_t v) {
  return v == 0 ? std::string() : std::to_string(v);
}

// A number right-aligned in width characters. A number longer than the width is shown whole
// rather than cut to its last digits (1234 runs must not read as 234).
std::string RightNumber(int64_t v, size_t width) {
  const std::string digits = Digits(v);
  return digits.size() > width ? digits : AlignRight(digits, width);
}

// A quotient rounded half away from zero, as the number format rounds it.
int64_t RoundedQuotient(int64_t sum, int64_t count) {
  return count == 0 ? 0
                    : static_cast<int64_t>(
                          std::llround(static_cast<double>(sum) / static_cast<double>(count)));
}

// The number in the last five characters of a points ranking line (its total points).
int32_t TotalPointsOfLine(std::string_view line) {
  const std::string tail = RightChars(line, 5);
  int64_t v = 0;
  bool negative = false;
  for (char c : tail) {
    if (c == ' ') {
      continue;
    }
    if (c == '-') {
      negative = true;
      continue;
    }
    if (c < '0' || c > '9') {
      break;
    }
    v = v * 10 + (c - '0');
  }
  return static_cast<int32_t>(negative ? -v : v);
}

bool ValidPupil(int pupil) {
  return pupil >= 1 && pupil < kPupilSlots;
}

bool InChartPeriod(const ResultEntry& e, double from, int levelCount) {
  return e.runDate > from && e.level >= 1 && e.level <= levelCount;
}

// The time and points statistics of one level from the hub's rankings.
void RankFigures(const RosterTables& roster, const StatisticsTables& stats,
                 const ChartRequest& request, ChartBand& band) {
  ListOptions options;
  options.currentPupil = request.currentPupil;
  options.filterText = request.filterText;
  options.viewMode = kHubTimeView;
  options.rankingKind = kCumulativeRanking;
  const ScoreList times = BuildRankingList(roster, stats, band.level, options);
  for (size_t i = 0; i < times.lines.size() && i < times.linePupils.size(); ++i) {
    if (times.linePupils[i] == request.pupil) {
      band.timeRankText = LeftChars(times.lines[i], 3);
      break;
    }
  }

  options.viewMode = kHubPointsView;
  options.rankingKind = request.rankingKind == kTodayRanking ? kTodayRanking : kCumulativeRanking;
  const ScoreList points = BuildRankingList(roster, stats, band.level, options);
  bool found = false;
  for (size_t i = 0; i < points.lines.size(); ++i) {
    // The line's last five characters hold the total; the table gives it uncut when it is longer.
    const int32_t total = i < points.linePupils.size()
                              ? stats.totalPoints(band.level, points.linePupils[i])
                              : TotalPointsOfLine(points.lines[i]);
    if (total > 0) {
      ++band.schoolPointsPupils;
      band.schoolPointsSum += total;
    }
    if (!found && i < points.linePupils.size() && points.linePupils[i] == request.pupil) {
      found = true;
      band.pointsRankText = LeftChars(points.lines[i], 3);
      band.pointsTotal = total;
    }
  }
}

ChartText Text(double x, double y, std::string text, double fontSize) {
  ChartText t;
  t.x = x;
  t.y = y;
  t.text = std::move(text);
  t.fontSize = fontSize;
  return t;
}

ChartLine Line(double x1, double y1, double x2, double y2, ChartLineRole role) {
  ChartLine l;
  l.x1 = x1;
  l.y1 = y1;
  l.x2 = x2;
  l.y2 = y2;
  l.role = role;
  if (role == ChartLineRole::kAxis) {
    l.width = kAxisWidth;
  } else if (role == ChartLineRole::kRule) {
    l.width = kRuleWidth;
    l.colour = kChartRuleColour;
  } else {
    l.width = kChartStepWidth;
    l.colour = kChartBestColour;
  }
  return l;
}

// A best's date, shortened to month/day when its year equals that of the best before it.
std::string BestDate(const std::vector<const ChartPoint*>& bests, size_t j) {
  std::string date = FormatShortDate(bests[j]->date);
  if (j > 0 && LeftChars(date, 5) == LeftChars(FormatShortDate(bests[j - 1]->date), 5)) {
    return RightChars(date, 5);
  }
  return date;
}

void BuildBand(const LevelCatalogue& catalogue, const RosterTables& roster,
               const std::vector<ResultEntry>& records, const ChartRequest& request,
               bool pupilPasses, ChartBand& band) {
  const double from = request.now - kChartDays;
  const int levelCount = catalogue.levelCount;
  const double base = kChartFontSize;
  const bool paper = request.target == ChartTarget::kPaper;

  // One pass: the pupil's runs and the school's figures of the level. Runs of 1800 s and more
  // (time-outs included) are left out of every figure and never plotted.
  struct Run {
    int32_t seconds;
    double date;
  };
  std::vector<Run> runs;
  double lastDate = 0;
  bool anyRecord = false;
  for (const ResultEntry& e : records) {
    if (!InChartPeriod(e, from, levelCount)) {
      continue;
    }
    anyRecord = true;
    lastDate = e.runDate;
    if (e.level != band.level || e.seconds >= kChartSlowestPlotted) {
      continue;
    }
    ++band.schoolRuns;
    band.schoolSum += e.seconds;
    band.schoolBest = std::min(band.schoolBest, e.seconds);
    if (e.pupilNumber == request.pupil) {
      ++band.runs;
      band.runSum += e.seconds;
      band.slowest = std::max(band.slowest, e.seconds);
      runs.push_back({e.seconds, e.runDate});
    }
  }
  band.scale = std::min(kMaxScale, 10 * (band.slowest / 10 + 1));

  // Name (first band of a page), axes, the rule above the band and the title.
  const bool firstOnPage = band.top < 0.08;
  if (firstOnPage) {
    ChartText name =
        Text(0.01, 0.02, TrimSpaces(roster.names[static_cast<size_t>(request.pupil)]), 3 * base);
    name.fromPageTop = true;
    band.texts.push_back(std::move(name));
  }
  // A rule separates the band from the one above it.
  if (!firstOnPage) {
    band.lines.push_back(Line(0, 0, 2, 0, ChartLineRole::kRule));
  }
  band.lines.push_back(Line(kAxisLeft, kAxisBottom, kAxisRight, kAxisBottom, ChartLineRole::kAxis));
  band.lines.push_back(Line(kAxisLeft, kAxisBottom, kAxisLeft, kAxisTop, ChartLineRole::kAxis));
  band.texts.push_back(
      Text(0.7, 0.01, catalogue.title + " " + catalogue.levelNames[static_cast<size_t>(band.level)],
           (paper ? 3 : 2) * base));

  // The runs that pass the grade filter, in file order; a run faster than every earlier one is a
  // new best.
  if (pupilPasses) {
    int32_t best = 0;
    int k = 0;
    for (const Run& r : runs) {
      ++k;
      ChartPoint p;
      p.run = k;
      p.seconds = r.seconds;
      p.date = r.date;
      p.x = kPlotWidth * k / band.runs + kAxisLeft;
      p.y = kAxisBottom - kPlotHeight * r.seconds / band.scale;
      p.newBest = k == 1 || r.seconds < best;
      if (p.newBest) {
        best = r.seconds;
      }
      p.colour = p.newBest ? kChartBestColour : kChartOtherColour;
      band.points.push_back(p);
    }
  }
  std::vector<const ChartPoint*> bests;
  for (const ChartPoint& p : band.points) {
    if (p.newBest) {
      bests.push_back(&p);
    }
  }

  // The statistics block.
  const std::string bestText =
      bests.empty() ? std::string() : std::to_string(bests.back()->seconds) + "秒";
  const double step = paper ? kPaperLineStep : kScreenLineStep;
  double y = kStatisticsTop;
  auto add = [&](std::string line, bool shown, double at) {
    if (shown) {
      ChartText t = Text(kStatisticsLeft, at, line, 1.5 * base);
      t.cells = true;
      band.texts.push_back(t);
      band.statistics.push_back(std::move(line));
    }
  };
  auto next = [&](std::string line, bool shown = true) {
    add(std::move(line), shown, y);
    y += step;
  };
  next(std::string(kCountHead) + RightNumber(band.runs, 3) + "回");
  next(std::string(kTimeHead));
  next(std::string(kRankHead) + AlignRight(band.timeRankText, 5) + "位");
  next(std::string(kBestHead) + AlignRight(bestText, 6) + " /" + RightNumber(band.schoolBest, 5) +
       "秒");
  next(std::string(kAverageHead) + RightNumber(band.runs > 0 ? band.runSum / band.runs : 0, 5) +
           "秒" + " /" + RightNumber(RoundedQuotient(band.schoolSum, band.schoolRuns), 5) + "秒",
       band.runs > 0);
  next(std::string(kPointsHead));
  next(std::string(kRankHead) + AlignRight(band.pointsRankText, 5) + "位");
  next(std::string(kEarnedHead) + RightNumber(band.pointsTotal, 5) + "点");
  const double line9 = y;
  next(std::string(kSchoolPointsHead) +
           RightNumber(RoundedQuotient(band.schoolPointsSum, band.schoolPointsPupils), 5) + "点",
       band.schoolPointsPupils > 0);
  // The caption under the school's average points is in the base size: in the block's size it
  // would run into the figure half a line step above it.
  add(std::string(kSchoolPointsFoot), true, line9 + step / 2);
  band.texts.back().fontSize = base;

  // The bests: joined in order, the scale, and their times and dates.
  if (bests.empty()) {
    return;
  }
  if (anyRecord && !band.points.empty()) {
    band.texts.push_back(
        Text(band.points.back().x - 0.025, 0.815, FormatShortDate(lastDate), base));
  }
  for (size_t j = 1; j < bests.size(); ++j) {
    band.lines.push_back(
        Line(bests[j - 1]->x, bests[j - 1]->y, bests[j]->x, bests[j]->y, ChartLineRole::kBestStep));
  }
  band.texts.push_back(Text(0.12, kZeroLabelTop, "0秒", base));
  band.texts.push_back(Text(0.12, kAxisTop, std::to_string(band.scale) + "秒", base));
  const ChartPoint& first = *bests.front();
  // The first best's time stands at the value axis at its height, kept clear of the scale's
  // "0秒" and top texts so that neither hides the other.
  band.texts.push_back(Text(
      0.12, std::clamp(first.y - 0.01, kAxisTop + kLabelClearance, kZeroLabelTop - kLabelClearance),
      std::to_string(first.seconds) + "秒", base));
  band.texts.push_back(Text(first.x - 0.025, 0.815, FormatShortDate(first.date), base));
  const size_t b = bests.size();
  if (b > 5) {
    for (size_t j = 3; j <= b - 2; j += 3) {
      const ChartPoint& p = *bests[j - 1];
      band.texts.push_back(Text(p.x - 0.025, p.y + 0.01, std::to_string(p.seconds) + "秒", base));
      band.texts.push_back(Text(p.x - 0.025, p.y + 0.03, BestDate(bests, j - 1), base));
    }
  }
  const ChartPoint& last = *bests.back();
  band.texts.push_back(
      Text(last.x - 0.025, last.y + 0.04, std::to_string(last.seconds) + "秒", base));
  band.texts.push_back(Text(last.x - 0.025, last.y + 0.07, BestDate(bests, b - 1), base));
}

}  // namespace

Chart BuildChart(const LevelCatalogue& catalogue, const RosterTables& roster,
                 const StatisticsTables& stats, const std::vector<ResultEntry>& records,
                 const ChartRequest& request) {
  Chart chart;
  chart.pupil = request.pupil;
  if (!ValidPupil(request.pupil)) {
    return chart;
  }
  chart.pupilName = TrimSpaces(roster.names[static_cast<size_t>(request.pupil)]);
  std::vector<int> levels;
  for (int level : request.levels) {
    if (level >= 1 && level <= catalogue.levelCount && level < kLevelSlots) {
      levels.push_back(level);
    }
  }
  std::sort(levels.begin(), levels.end());
  levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
  const bool pupilPasses =
      GradeFilterPasses(request.filterText, PupilGradeNumber(roster, request.pupil));
  for (size_t i = 0; i < levels.size(); ++i) {
    ChartBand band;
    band.level = levels[i];
    band.page = static_cast<int>(i) / kBandsPerPage;
    band.top = 0.05 + 0.3 * static_cast<double>(static_cast<int>(i) % kBandsPerPage);
    RankFigures(roster, stats, request, band);
    BuildBand(catalogue, roster, records, request, pupilPasses, band);
    chart.bands.push_back(std::move(band));
  }
  chart.pages = chart.bands.empty() ? 0 : chart.bands.back().page + 1;
  return chart;
}

std::vector<ResultEntry> ReadChartRecords(const InstallationSettings& installation,
                                          const StatisticsTables& stats, Services& services) {
  std::vector<ResultEntry> records;
  ReadChartRecords(installation, stats, services, records);
  return records;
}

void ReadChartRecords(const InstallationSettings& installation, const StatisticsTables& stats,
                      Services& services, std::vector<ResultEntry>& records) {
  const double from = services.clock.Now() - kChartDays;
  // Kept between readings: a file of a million records is 44 MB.
  static thread_local std::vector<unsigned char> bytes;
  const NewestRecords read =
      ReadNewestRecords(ResultsFilePath(installation), services, kReaderRetry, UINT32_MAX, bytes);
  records.clear();
  if (read.status != FileStatus::Ok) {
    // The chart then shows the records of the last statistics rebuild; nothing is lost.
    services.host.ShowMessage("注意",
                              "成績累積データを読めませんでした。前回読んだ成績で表示します。\n" +
                                  ResultsFilePath(installation) + "（" + read.errorText + "）");
    const int32_t kept = std::min<int32_t>(stats.resultEntryCount, kMaxResultEntries);
    for (int32_t i = 1; i <= kept; ++i) {
      records.push_back(stats.resultEntries[static_cast<size_t>(i)]);
    }
    return;
  }
  records.reserve(read.records);
  for (size_t i = 0; i < read.records; ++i) {
    const ResultEntry e = DecodeResultEntry(bytes.data() + i * kResultRecordSize);
    if (e.runDate > from) {
      records.push_back(e);
    }
  }
}

std::vector<std::vector<std::string>> BuildPersonalRunLists(const LevelCatalogue& catalogue,
                                                            const RosterTables& roster,
                                                            const std::vector<ResultEntry>& records,
                                                            double now, int pupil,
                                                            const std::string& filterText) {
  const int levelCount = std::clamp<int>(catalogue.levelCount, 0, kLevelSlots - 1);
  std::vector<std::vector<std::string>> lists(static_cast<size_t>(levelCount) + 1);
  if (!ValidPupil(pupil) || !GradeFilterPasses(filterText, PupilGradeNumber(roster, pupil))) {
    return lists;
  }
  const double from = now - kChartDays;
  for (const ResultEntry& e : records) {
    if (e.pupilNumber != pupil || !InChartPeriod(e, from, levelCount)) {
      continue;
    }
    std::string line = RightChars(FormatShortDate(e.runDate), 10) + " " +
                       RightChars(FormatTimeOfDay(e.runTime), 10);
    if (e.seconds < 90000) {
      line += Time5(e.seconds);
    }
    lists[static_cast<size_t>(e.level)].push_back(std::move(line));
  }
  for (auto& lines : lists) {
    SortListLines(lines);
  }
  return lists;
}

std::vector<std::string> ChartRosterLines(const InstallationSettings& installation,
                                          RosterTables& roster, double today, std::string& notice) {
  // The ranking members stay those of the selection screen; only the names, birth years and
  // grades are read anew. Pupils of status 2 stay off this list.
  const std::vector<int> order = roster.order;
  const int count = roster.count;
  InstallationSettings withoutStatusTwo = installation;
  withoutStatusTwo.rosterStatusTwoActive = false;
  const RosterReading reading = ReadRoster(withoutStatusTwo, roster, today);
  roster.order = order;
  roster.count = count;
  notice = RosterNotice(reading);
  std::vector<std::string> lines;
  for (const RosterEntry& e : reading.listed) {
    lines.push_back(roster.grades[static_cast<size_t>(e.pupilNumber)] + " /  " +
                    TrimSpaces(e.name) + "/" + std::to_string(e.pupilNumber));
  }
  SortListLines(lines);
  return lines;
}

int ChartRosterLinePupil(const std::string& line) {
  const size_t slash = line.rfind('/');
  if (slash == std::string::npos) {
    return 0;
  }
  int v = 0;
  for (size_t i = slash + 1; i < line.size(); ++i) {
    const char c = line[i];
    if (c < '0' || c > '9' || v > kPupilSlots) {
      return 0;
    }
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace numora
