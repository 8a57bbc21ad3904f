#include "core/hub/score_lists.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <utility>

#include "core/installation/level_catalogue.h"
#include "core/installation/table_sizes.h"
#include "core/platform/collation.h"
#include "core/platform/dates.h"
#include "core/platform/saturate.h"
#include "core/platform/utf8_text.h"
#include "core/platform/value.h"
#include "core/records/scoring.h"
#include "core/records/sentinels.h"
#include "core/records/statistics.h"
#include "core/records/statistics_tables.h"
#include "core/roster/roster.h"
#include "core/roster/roster_tables.h"

namespace numora {

namespace {

constexpr std::string_view kOwnMark = "●";
constexpr std::string_view kTimeOutHead = "\u3000\u3000× ";
constexpr size_t kTodayRecords = 1000;  // today's list reads the newest 1000 records
constexpr size_t kAllRecords = 20000;   // the all-runs list reads the newest 20000 records

// The pieces of one list line joined.
std::string Cat(std::initializer_list<std::string_view> pieces) {
  size_t size = 0;
  for (std::string_view p : pieces) {
    size += p.size();
  }
  std::string line;
  line.reserve(size);
  for (std::string_view p : pieces) {
    line += p;
  }
  return line;
}

// A number right-aligned in width characters (its last width digits when longer).
std::string RightAligned(long long n, size_t width) {
  return AlignRight(std::to_string(n), width);
}

// The number at the start of a text as the list's colour rule reads it: blanks are skipped,
// digits are read up to the first other character.
long long LeadingNumber(std::string_view s) {
  long long v = 0;
  for (char c : s) {
    if (c == ' ' || c == '\t') {
      continue;
    }
    if (c < '0' || c > '9') {
      break;
    }
    v = v * 10 + (c - '0');
  }
  return v;
}

bool ValidPupil(int pupil) {
  return pupil >= 0 && pupil < kPupilSlots;
}

bool PupilPasses(const RosterTables& roster, int pupil, const ListOptions& options) {
  return GradeFilterPasses(options.filterText, PupilGradeNumber(roster, pupil));
}

std::string Mark(const RosterTables& roster, int pupil, const ListOptions& options) {
  return PupilMark(roster, pupil, options.currentPupil);
}

// The mark and the name piece of each pupil, worked out once per list build: a run list holds
// many lines of the same pupils.
class PupilPieces {
 public:
  PupilPieces(const RosterTables& roster, const ListOptions& options)
      : roster_(roster), options_(options), pieces_(kPupilSlots) {}
  const std::string& MarkOf(int pupil) { return Of(pupil).first; }
  const std::string& NameOf(int pupil) { return Of(pupil).second; }

 private:
  const std::pair<std::string, std::string>& Of(int pupil) {
    auto& slot = pieces_[static_cast<size_t>(pupil)];
    if (!slot.has_value()) {
      slot.emplace(Mark(roster_, pupil, options_),
                   Name5(roster_.names[static_cast<size_t>(pupil)]));
    }
    return *slot;
  }
  const RosterTables& roster_;
  const ListOptions& options_;
  std::vector<std::optional<std::pair<std::string, std::string>>> pieces_;
};

// Date5 of the last date asked for: records come in date order, so one remembered date serves
// almost every record.
class DatePieces {
 public:
  const std::string& Of(double runDate) {
    if (!known_ || runDate != date_) {
      known_ = true;
      date_ = runDate;
      text_ = Date5(runDate);
    }
    return text_;
  }

 private:
  bool known_ = false;
  double date_ = 0;
  std::string text_;
};

// The newest `limit` records.
std::pair<size_t, size_t> Newest(const std::vector<ResultEntry>& records, size_t limit) {
  size_t first = records.size() > limit ? records.size() - limit : 0;
  return {first, records.size()};
}

std::vector<ScoreList> EmptyLists(const LevelCatalogue& catalogue) {
  return std::vector<ScoreList>(static_cast<size_t>(std::max<int>(0, catalogue.levelCount)) + 1);
}

// The run lists' lines of every level from the newest `newest` records: each run on a level of
// the catalogue by a pupil of the tables who passes the grade filter, within the list's days
// (inDays), written by lineOf(record, mark, name piece), in record order.
template <typename InDays, typename LineOf>
std::vector<ScoreList> CollectRunLines(const LevelCatalogue& catalogue, const RosterTables& roster,
                                       const std::vector<ResultEntry>& records, size_t newest,
                                       const ListOptions& options, InDays inDays, LineOf lineOf) {
  std::vector<ScoreList> lists = EmptyLists(catalogue);
  PupilPieces pieces(roster, options);
  auto [first, end] = Newest(records, newest);
  for (size_t r = first; r < end; ++r) {
    const ResultEntry& e = records[r];
    const int p = e.pupilNumber;
    if (e.level < 1 || e.level > catalogue.levelCount || !ValidPupil(p)) {
      continue;
    }
    if (!inDays(e) || !PupilPasses(roster, p, options)) {
      continue;
    }
    lists[static_cast<size_t>(e.level)].lines.push_back(
        lineOf(e, pieces.MarkOf(p), pieces.NameOf(p)));
  }
  return lists;
}

// The base points of a run against its level's target time.
int32_t BasePointsOf(const LevelCatalogue& catalogue, const ResultEntry& e) {
  return RunBasePoints(catalogue.standards[static_cast<size_t>(e.level)].targetTime, e.seconds);
}

void FinishRunLists(const LevelCatalogue& catalogue, std::vector<ScoreList>& lists, bool colour) {
  for (size_t level = 1; level < lists.size(); ++level) {
    SortListLines(lists[level].lines);
    if (colour) {
      lists[level].colour = TimeListColour(catalogue, static_cast<int>(level), lists[level].lines);
    }
  }
}

}  // namespace

std::string R2(long long n) {
  return RightAligned(n, 2);
}

std::string Name5(std::string_view rosterName) {
  return FitChars(TrimTrailingSpaces(rosterName), 5, kWideSpace);
}

std::string Time5(int32_t seconds) {
  return AlignRight(std::to_string(seconds) + "秒", 5);
}

std::string Clock5(double runTime) {
  return LeftChars(RightChars("00" + FormatTimeOfDay(runTime), 8), 5);
}

std::string Date5(double runDate) {
  return RightChars(FormatShortDate(runDate), 5);
}

int PupilGradeNumber(const RosterTables& roster, int pupil) {
  if (!ValidPupil(pupil)) {
    return -1000;
  }
  return GradeNumber(roster.schoolYear, roster.birthYears[static_cast<size_t>(pupil)]);
}

std::string PupilMark(const RosterTables& roster, int pupil, int currentPupil) {
  if (pupil == currentPupil) {
    return std::string(kOwnMark);
  }
  return GradeMark(PupilGradeNumber(roster, pupil));
}

int AllResultsPeriodDays(int period, double now) {
  const int weekday = WeekdayOf(now);  // 0 Sunday … 6 Saturday
  switch (period) {
    case 1:
      return weekday == 0 ? 7 : weekday;
    case 2:
      return weekday == 0 ? 14 : weekday + 7;
    case 4:
      return 365;
    case 5:
      return 3650;
    default:
      return 30;
  }
}

void SortListLines(std::vector<std::string>& lines) {
  std::stable_sort(lines.begin(), lines.end(),
                   [](const std::string& a, const std::string& b) { return ListLineLess(a, b); });
}

ScoreList BuildRankingList(const RosterTables& roster, const StatisticsTables& stats, int level,
                           const ListOptions& options) {
  ScoreList list;
  if (level < 1 || level >= kLevelSlots) {
    return list;
  }
  const bool timeView = options.viewMode != kHubPointsView;
  const bool today = options.rankingKind == kTodayRanking;

  struct Member {
    int pupil;
    long long first;   // the compared value
    long long second;  // the points ranking's second key
  };
  std::vector<Member> members;
  const int count = std::min<int>(roster.count, kPupilSlots - 1);
  members.reserve(static_cast<size_t>(std::max(0, count)));
  for (int k = 1; k <= count; ++k) {
    const int p = roster.order[static_cast<size_t>(k)];
    if (!ValidPupil(p)) {
      continue;
    }
    if (timeView) {
      members.push_back({p, stats.bestTime(level, p), 0});
    } else {
      const long long total = stats.totalPoints(level, p);
      const long long todayPoints = stats.todayPoints(level, p);
      members.push_back(today ? Member{p, todayPoints, total} : Member{p, total, todayPoints});
    }
  }
  if (timeView) {
    std::stable_sort(members.begin(), members.end(),
                     [](const Member& a, const Member& b) { return a.first < b.first; });
  } else {
    std::stable_sort(members.begin(), members.end(), [](const Member& a, const Member& b) {
      if (a.first != b.first) {
        return a.first > b.first;
      }
      return a.second > b.second;
    });
  }

  long long rank = 0;
  for (size_t k = 0; k < members.size(); ++k) {
    const Member& m = members[k];
    if (k == 0 || m.first != members[k - 1].first) {
      rank = static_cast<long long>(k) + 1;
    }
    if (!PupilPasses(roster, m.pupil, options)) {
      continue;
    }
    const std::string mark = Mark(roster, m.pupil, options);
    const std::string name = Name5(roster.names[static_cast<size_t>(m.pupil)]);
    if (timeView) {
      const std::string ownEnd =
          m.pupil == options.currentPupil ? std::string(kOwnMark) : std::string(kWideSpace);
      if (m.first < kNoBestTime) {
        list.lines.push_back(Cat({R2(rank), mark, name, RightAligned(m.first, 6), " ", ownEnd}));
      } else {
        list.lines.push_back(Cat({"--", mark, name, "------", " ", ownEnd}));
      }
      list.linePupils.push_back(m.pupil);
    } else {
      if (today && stats.todayPoints(level, m.pupil) == 0) {
        continue;
      }
      list.lines.push_back(
          Cat({R2(rank), mark, name, RightAligned(stats.todayPoints(level, m.pupil), 3), "/",
               RightAligned(stats.totalPoints(level, m.pupil), 5)}));
      list.linePupils.push_back(m.pupil);
    }
  }
  // The lines in list order, each keeping its pupil.
  std::vector<size_t> order(list.lines.size());
  for (size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
  }
  std::stable_sort(order.begin(), order.end(), [&list](size_t a, size_t b) {
    return ListLineLess(list.lines[a], list.lines[b]);
  });
  std::vector<std::string> sorted;
  sorted.reserve(order.size());
  std::vector<int> sortedPupils;
  sortedPupils.reserve(order.size());
  for (size_t i : order) {
    sorted.push_back(std::move(list.lines[i]));
    sortedPupils.push_back(list.linePupils[i]);
  }
  list.lines = std::move(sorted);
  list.linePupils = std::move(sortedPupils);
  for (size_t i = 0; i < list.lines.size(); ++i) {
    if (list.lines[i].find(kOwnMark) != std::string::npos) {
      list.scrollTo = i == 0 ? 0 : static_cast<int>(i) - 1;
      break;
    }
  }
  return list;
}

std::vector<ScoreList> BuildTodayRunLists(const LevelCatalogue& catalogue,
                                          const RosterTables& roster,
                                          const std::vector<ResultEntry>& records, double now,
                                          const ListOptions& options) {
  const double today = std::floor(now);
  std::vector<ScoreList> lists = CollectRunLines(
      catalogue, roster, records, kTodayRecords, options,
      [today](const ResultEntry& e) { return std::floor(e.runDate) == today; },
      [&](const ResultEntry& e, const std::string& mark, const std::string& name) {
        if (e.seconds >= kShownAsTimeOutFrom) {
          return Cat({kTimeOutHead, Clock5(e.runTime), mark, name, mark});
        }
        return Cat({Time5(e.seconds), " ", Clock5(e.runTime), mark, name, mark,
                    std::to_string(BasePointsOf(catalogue, e))});
      });
  FinishRunLists(catalogue, lists, true);
  return lists;
}

std::vector<ScoreList> BuildAllRunLists(const LevelCatalogue& catalogue, const RosterTables& roster,
                                        const std::vector<ResultEntry>& records, double now,
                                        int period, const ListOptions& options) {
  const double from = now - AllResultsPeriodDays(period, now);
  const bool timeView = options.viewMode != kHubPointsView;
  DatePieces dates;
  std::vector<ScoreList> lists = CollectRunLines(
      catalogue, roster, records, kAllRecords, options,
      [from](const ResultEntry& e) { return e.runDate > from; },
      [&](const ResultEntry& e, const std::string& mark, const std::string& name) {
        if (e.seconds >= kShownAsTimeOutFrom) {
          return Cat({kTimeOutHead, dates.Of(e.runDate), mark, name, mark});
        }
        const int32_t points = BasePointsOf(catalogue, e);
        if (timeView) {
          return Cat({Time5(e.seconds), " ", dates.Of(e.runDate), mark, name, mark,
                      std::to_string(points)});
        }
        return Cat({RightAligned(points, 5), " ", dates.Of(e.runDate), mark, name, mark,
                    std::to_string(e.seconds), "秒"});
      });
  FinishRunLists(catalogue, lists, timeView);
  return lists;
}

std::optional<uint32_t> TimeListColour(const LevelCatalogue& catalogue, int level,
                                       const std::vector<std::string>& lines) {
  if (level < 1 || level >= kLevelSlots) {
    return std::nullopt;
  }
  const LevelStandard& standard = catalogue.standards[static_cast<size_t>(level)];
  std::optional<uint32_t> colour;
  for (const std::string& line : lines) {
    if (MidChars(line, 2, 1) == "×") {
      continue;
    }
    const long long v = LeadingNumber(MidChars(line, 1, 4));
    if (v <= standard.targetTime) {
      colour = kListGreen;
    } else if (v <= standard.minimumTime) {
      colour = kListLightGreen;
    } else {
      colour = kListGrey;
    }
  }
  return colour;
}

}  // namespace numora
