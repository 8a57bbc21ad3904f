#include "core/installation/demo_history.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/dates.h"
#include "core/records/results_file.h"
#include "core/roster/roster.h"

namespace numora {

namespace {

// A small generator with a fixed seed, so that every demo installation gets the same history on
// every platform.
class DemoRandom {
 public:
  explicit DemoRandom(uint64_t seed) : state_(seed) {}
  double Next() {  // [0, 1)
    state_ += 0x9E3779B97F4A7C15ULL;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
  }
  bool Chance(double p) { return Next() < p; }
  int Between(int low, int high) {  // inclusive
    return low + static_cast<int>(Next() * (high - low + 1));
  }

 private:
  uint64_t state_;
};

constexpr int kDemoDays = 21;
constexpr int kDemoLevels = 4;

// The pupils the selection screen lists, teachers left out, as the roster reader reads them (into
// tables of its own: the demo's set-up keeps no roster).
std::vector<int> ListedPupils(const InstallationSettings& installation, double today) {
  std::vector<int> pupils;
  RosterTables roster;
  for (const RosterEntry& e : ReadRoster(installation, roster, today).listed) {
    if (!IsTeacher(e.name)) {
      pupils.push_back(e.pupilNumber);
    }
  }
  return pupils;
}

}  // namespace

void SeedDemoHistory(const InstallationSettings& installation, const LevelCatalogue& catalogue,
                     double now) {
  const double today = std::floor(now);
  const int nowSecond = static_cast<int>(std::lround(WholeSecondTimeOfDay(now) * 86400.0));
  DemoRandom random(20261210);
  const std::vector<int> pupils = ListedPupils(installation, today);
  std::vector<ResultRecord> records;

  for (const int pupil : pupils) {
    if (random.Chance(0.15)) {
      continue;  // a few pupils have not started yet
    }
    // How quick the pupil is against the target time, and how keen (runs per school day).
    const double pace = 0.7 + random.Next() * 0.9;
    const double keenness = 0.3 + random.Next() * 0.6;
    int level = 1;
    int runsOnLevel = 0;
    for (int daysAgo = kDemoDays - 1; daysAgo >= 0; --daysAgo) {
      const double day = today - daysAgo;
      const int weekday = WeekdayOf(day);
      if ((weekday == 0 || weekday == 6) && daysAgo != 0) {
        continue;  // no school at weekends
      }
      if (!random.Chance(keenness)) {
        continue;
      }
      const int runs = random.Between(1, 3);
      // School hours on earlier days; today the pupil started within the six hours before now
      // (or since midnight), and runs that would lie after now are left out.
      const int start = random.Between(0, 6 * 3600);
      int second = daysAgo != 0 ? 9 * 3600 + start : std::max(0, nowSecond - 6 * 3600 + start);
      for (int k = 0; k < runs; ++k) {
        const LevelStandard& standard = catalogue.standards[static_cast<size_t>(level)];
        const double target = standard.targetTime > 0 ? standard.targetTime : 60;
        const double limit = standard.minimumTime > 0 ? 5.0 * standard.minimumTime : 5 * target;
        // Practice makes a pupil a little quicker on a level.
        const double practice = std::max(0.75, 1.0 - 0.02 * runsOnLevel);
        double seconds = target * pace * practice * (0.85 + random.Next() * 0.3);
        ResultRecord r;
        r.runDate = day;
        r.runTime = std::min(second, 86399) / 86400.0;
        r.pupilNumber = static_cast<int16_t>(pupil);
        r.level = static_cast<int16_t>(level);
        r.seconds = random.Chance(0.06) || seconds >= limit
                        ? kTimeOutSeconds
                        : std::max<int32_t>(5, static_cast<int32_t>(std::lround(seconds)));
        r.schoolCode = MakeTextField(installation.schoolCode);
        if (daysAgo != 0 || second <= nowSecond) {
          records.push_back(r);
        }
        second += (2 + random.Between(0, 8)) * 60;
        ++runsOnLevel;
        // Quick, well-practised pupils move on to the next level.
        if (level < kDemoLevels && runsOnLevel >= 4 && r.seconds <= target && random.Chance(0.5)) {
          ++level;
          runsOnLevel = 0;
        }
      }
    }
  }
  std::stable_sort(records.begin(), records.end(),
                   [](const ResultRecord& a, const ResultRecord& b) {
                     return a.runDate + a.runTime < b.runDate + b.runTime;
                   });

  // Written straight after the last complete record, under the lock like any append.
  ResultsFile file;
  if (OpenResultsFile(installation, file) != FileStatus::Ok || file.TryLock() != FileStatus::Ok) {
    return;
  }
  uint32_t count = 0;
  if (file.RecordCount(count) != FileStatus::Ok) {
    return;
  }
  std::vector<unsigned char> bytes(records.size() * kResultRecordSize);
  for (size_t i = 0; i < records.size(); ++i) {
    EncodeResultRecord(records[i], bytes.data() + i * kResultRecordSize);
  }
  if (file.WriteAt(ResultRecordOffset(count + 1), bytes.data(), bytes.size()) == FileStatus::Ok) {
    file.Sync();
  }
}

}  // namespace numora
