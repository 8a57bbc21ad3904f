#pragma once

// The distribution panel of the standards editor: for one level, every stored run in 10-second
// buckets (0 to 1000 and over) and each pupil's best time in the same buckets (0 to 300 and
// over), as two lists of 102 lines (a heading and 101 bucket lines).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/services.h"

namespace numora {

inline constexpr int kDistributionBuckets = 101;  // 0, 10, … 1000
inline constexpr int kBestTimeTopBucket = 30;     // best times of 300 s and more share " 300"

struct LevelDistribution {
  int level = 0;
  int64_t runCount = 0;                                   // every run stored for the level
  std::array<int64_t, kDistributionBuckets> allRuns{};    // runs per 10-second bucket
  std::array<int64_t, kDistributionBuckets> bestTimes{};  // pupils per bucket of their best time
};

// Counts the runs of one level in whole 44-byte records (records × 44 bytes). Every record of
// the level counts, whatever its pupil number (0 included). The time of a run gives its bucket
// (seconds ÷ 10, rounded down; 100 and above share the last one; a damaged negative time counts
// in the first). Each pupil's best time is the lowest time of that pupil on the level.
// Level 0 is never counted: such records are the ones with no level at all.
LevelDistribution ComputeLevelDistribution(const unsigned char* records, size_t count, int level);

// Builds the same distribution from records given in pieces (the file is read in pieces). The
// best-time buckets need each pupil's minimum over the whole file, so Finish fills them.
class LevelDistributionBuilder {
 public:
  explicit LevelDistributionBuilder(int level);
  void Add(const unsigned char* records, size_t count);
  LevelDistribution Finish();

 private:
  LevelDistribution result_;
  // Lowest time per pupil number (every 16-bit value has its place), and which are set.
  std::vector<int32_t> best_;
  std::vector<unsigned char> seen_;
};

// The all-runs list: "レベル<L> 今まで<n>回  （★=<unit>）" and the 101 bucket lines.
std::vector<std::string> AllRunsLines(const LevelDistribution& d);
// The best-time list: "レベル<L> （★=<unit>）" and the 101 bucket lines.
std::vector<std::string> BestTimeLines(const LevelDistribution& d);

// The star unit of a list: the largest count ÷ 10, rounded down, at least 1.
int64_t StarUnit(const std::array<int64_t, kDistributionBuckets>& counts);
// One bucket line: 10 × bucket right-aligned in 4 characters, "～", and count ÷ unit + 0.5
// (rounded down) stars.
std::string BucketLine(int bucket, int64_t count, int64_t unit);

// The distribution read from a results file.
struct DistributionReading {
  LevelDistribution distribution;
  bool fileMissing = false;  // no results file yet: the counts are all 0
  bool ok = true;            // false: the file could not be read (error says why)
  std::string error;         // Japanese text naming the file and its full path
};

// Reads every complete record of the results file at utf8Path, in pieces, without creating the
// file and without a lock. A sharing conflict, or the file being shortened while it is read
// (another copy deleted a record), is retried through the reader's retry policy.
DistributionReading ReadLevelDistribution(const std::string& utf8Path, Services& services,
                                          int level);

}  // namespace numora
