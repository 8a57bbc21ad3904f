// The standards editor's distribution panel: the bucket lines, the star unit, the best time per
// pupil, and equality with building it from a text-sorted list of every run.

#include "core/admin/standards_distribution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/platform/field_reader.h"
#include "core/records/results_file.h"
#include "support/fakes.h"
#include "support/platform.h"

namespace numora {
namespace {

struct StoredRun {
  int pupil;
  int level;
  int32_t seconds;
};

std::vector<unsigned char> Bytes(const std::vector<StoredRun>& runs) {
  std::vector<unsigned char> bytes(runs.size() * kResultRecordSize);
  for (size_t i = 0; i < runs.size(); ++i) {
    ResultRecord r;
    r.runDate = 46000;
    r.runTime = 0.5;
    r.pupilNumber = static_cast<int16_t>(runs[i].pupil);
    r.level = static_cast<int16_t>(runs[i].level);
    r.seconds = runs[i].seconds;
    EncodeResultRecord(r, bytes.data() + i * kResultRecordSize);
  }
  return bytes;
}

LevelDistribution Compute(const std::vector<StoredRun>& runs, int level) {
  const std::vector<unsigned char> bytes = Bytes(runs);
  return ComputeLevelDistribution(bytes.data(), runs.size(), level);
}

std::string Stars(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "★";
  return s;
}

std::string RightAligned(long long value, size_t width) {
  std::string s = std::string(width, ' ') + std::to_string(value);
  return s.substr(s.size() - width);
}

// The lists built the long way round: a text key per run ("LLLPPPPSSSSS"), the keys sorted as
// text, every key whose level and pupil equal those of the key before it removed, the rest
// counted by the time in its last five characters.
std::pair<std::vector<std::string>, std::vector<std::string>> TextSortLists(
    const std::vector<StoredRun>& runs, int shown) {
  std::vector<std::string> keys;
  std::vector<long long> runCount(101);
  std::vector<std::vector<long long>> all(101, std::vector<long long>(101));
  std::vector<std::vector<long long>> best(101, std::vector<long long>(31));
  for (const StoredRun& r : runs) {
    if (r.level == 0) continue;
    keys.push_back(RightAligned(r.level, 3) + RightAligned(r.pupil, 4) +
                   RightAligned(r.seconds, 5));
    ++runCount[static_cast<size_t>(r.level)];
    ++all[static_cast<size_t>(r.level)][static_cast<size_t>(std::min(r.seconds / 10, 100))];
  }
  std::sort(keys.begin(), keys.end());
  // Going from the last key to the second, drop each whose level and pupil equal the previous.
  std::vector<std::string> kept;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i == 0 || keys[i].compare(0, 7, keys[i - 1], 0, 7) != 0) kept.push_back(keys[i]);
  }
  keys.swap(kept);
  for (const std::string& k : keys) {
    const int bucket = std::min(std::stoi(k.substr(7)) / 10, 30);
    ++best[static_cast<size_t>(std::stoi(k.substr(0, 3)))][static_cast<size_t>(bucket)];
  }
  auto lines = [](std::string heading, const std::vector<long long>& counts) {
    long long most = 0;
    for (long long c : counts) most = std::max(most, c);
    const long long unit = std::max(1LL, most / 10);
    std::vector<std::string> out{heading + "（★=" + std::to_string(unit) + "）"};
    for (int b = 0; b <= 100; ++b) {
      const long long c = b < static_cast<int>(counts.size()) ? counts[static_cast<size_t>(b)] : 0;
      out.push_back(
          RightAligned(10 * b, 4) + "～" +
          Stars(static_cast<int>(static_cast<double>(c) / static_cast<double>(unit) + 0.5)));
    }
    return out;
  };
  const auto L = static_cast<size_t>(shown);
  return {lines("レベル" + std::to_string(shown) + " 今まで" + std::to_string(runCount[L]) + "回  ",
                all[L]),
          lines("レベル" + std::to_string(shown) + " ", best[L])};
}

TEST(DistributionTest, NoRunsGivesUnitOneAndEmptyLines) {
  const LevelDistribution d = Compute({{1, 2, 50}}, 1);
  const std::vector<std::string> all = AllRunsLines(d);
  const std::vector<std::string> best = BestTimeLines(d);
  ASSERT_EQ(all.size(), 102u);
  ASSERT_EQ(best.size(), 102u);
  EXPECT_EQ(all[0], "レベル1 今まで0回  （★=1）");
  EXPECT_EQ(best[0], "レベル1 （★=1）");
  EXPECT_EQ(all[1], "   0～");
  EXPECT_EQ(all[2], "  10～");
  EXPECT_EQ(all[31], " 300～");
  EXPECT_EQ(all[101], "1000～");
  for (size_t i = 1; i < all.size(); ++i) {
    EXPECT_EQ(all[i].find("★"), std::string::npos) << all[i];
    EXPECT_EQ(best[i].find("★"), std::string::npos) << best[i];
  }
}

TEST(DistributionTest, UnitAndStarsRoundHalfUp) {
  struct Case {
    int runs;          // runs of 45 s by different pupils
    const char* head;  // all-runs heading
    int stars;         // stars on line "  40"
  } cases[] = {
      {25, "レベル3 今まで25回  （★=2）", 13},  // 25 ÷ 2 + 0.5 = 13
      {1, "レベル3 今まで1回  （★=1）", 1},
      {19, "レベル3 今まで19回  （★=1）", 19},
      {20, "レベル3 今まで20回  （★=2）", 10},
      {35, "レベル3 今まで35回  （★=3）", 12},  // 11.67 + 0.5 → 12
  };
  for (const Case& c : cases) {
    std::vector<StoredRun> runs;
    for (int p = 1; p <= c.runs; ++p) runs.push_back({p, 3, 45});
    runs.push_back({1, 4, 45});  // another level counts nowhere
    const LevelDistribution d = Compute(runs, 3);
    const std::vector<std::string> all = AllRunsLines(d);
    EXPECT_EQ(all[0], c.head);
    EXPECT_EQ(all[5], "  40～" + Stars(c.stars)) << c.runs;
    EXPECT_EQ(BestTimeLines(d)[5], "  40～" + Stars(c.stars)) << c.runs;
  }
}

TEST(DistributionTest, TopBucketsAndBestPerPupil) {
  // 1234 s falls into "1000"; a best of 400 s into " 300"; pupil 7's best is 12 s, not 95 s;
  // pupil 0 and a time-out count like any run.
  const LevelDistribution d =
      Compute({{5, 1, 1234}, {6, 1, 400}, {7, 1, 95}, {7, 1, 12}, {0, 1, 99999}, {8, 0, 5}}, 1);
  EXPECT_EQ(d.runCount, 5);
  EXPECT_EQ(d.allRuns[100], 2);  // 1234 and the time-out
  EXPECT_EQ(d.allRuns[40], 1);
  EXPECT_EQ(d.allRuns[9], 1);
  EXPECT_EQ(d.allRuns[1], 1);
  EXPECT_EQ(d.bestTimes[30], 3);  // 1234, 400 and 99999
  EXPECT_EQ(d.bestTimes[1], 1);
  EXPECT_EQ(d.bestTimes[9], 0);
  const std::vector<std::string> best = BestTimeLines(d);
  EXPECT_EQ(best[31], " 300～★★★");
  EXPECT_EQ(best[101], "1000～");  // buckets above 30 stay empty
  EXPECT_EQ(AllRunsLines(d)[101], "1000～★★");
}

TEST(DistributionTest, DamagedNegativeTimeCountsInTheFirstBucket) {
  const LevelDistribution d = Compute({{2, 1, -50}, {2, 1, 30}}, 1);
  EXPECT_EQ(d.allRuns[0], 1);
  EXPECT_EQ(d.bestTimes[0], 1);
  EXPECT_EQ(d.bestTimes[3], 0);
}

TEST(DistributionTest, EqualsTheTextSortedListOnRandomRuns) {
  std::mt19937 rng(20261210);
  std::vector<StoredRun> runs;
  for (int i = 0; i < 30000; ++i) {
    const int kind = static_cast<int>(rng() % 100);
    int32_t seconds = static_cast<int32_t>(20 + rng() % 300);
    if (kind < 3)
      seconds = 99999;
    else if (kind < 8)
      seconds = static_cast<int32_t>(rng() % 2000);
    else if (kind < 10)
      seconds = static_cast<int32_t>(rng() % 100000);
    runs.push_back({static_cast<int>(rng() % 5001), static_cast<int>(rng() % 36), seconds});
  }
  // A few pupils with many runs on one level, so the best times are tested against duplicates.
  for (int i = 0; i < 3000; ++i) {
    runs.push_back({1 + static_cast<int>(rng() % 20), 2, static_cast<int32_t>(25 + rng() % 90)});
  }
  std::shuffle(runs.begin(), runs.end(), rng);
  const std::vector<unsigned char> bytes = Bytes(runs);
  for (int level : {1, 2, 17, 35}) {
    const LevelDistribution d = ComputeLevelDistribution(bytes.data(), runs.size(), level);
    const auto [all, best] = TextSortLists(runs, level);
    EXPECT_EQ(AllRunsLines(d), all) << level;
    EXPECT_EQ(BestTimeLines(d), best) << level;
  }
  // The same when the records arrive in pieces, as the file is read.
  LevelDistributionBuilder builder(2);
  for (size_t from = 0; from < runs.size(); from += 777) {
    builder.Add(bytes.data() + from * kResultRecordSize, std::min<size_t>(777, runs.size() - from));
  }
  EXPECT_EQ(BestTimeLines(builder.Finish()), TextSortLists(runs, 2).second);
}

class DistributionFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("numora_distribution_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    path_ = PathText(dir_ / std::filesystem::u8path("成績累積データ.dat"));
  }
  void TearDown() override {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_;
  std::string path_;
  FakeServices fakes;
};

TEST_F(DistributionFileTest, ReadsWholeRecordsInPiecesAndIgnoresAPartialTail) {
  std::vector<StoredRun> runs;
  for (int i = 0; i < 10000; ++i) runs.push_back({1 + i % 50, 1 + i % 3, 30 + i % 200});
  std::vector<unsigned char> bytes = Bytes(runs);
  bytes.resize(bytes.size() + 20, 0xFF);
  ASSERT_TRUE(WriteWholeFile(path_, std::string(bytes.begin(), bytes.end())));
  const DistributionReading r = ReadLevelDistribution(path_, fakes.services, 2);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_FALSE(r.fileMissing);
  EXPECT_EQ(AllRunsLines(r.distribution), TextSortLists(runs, 2).first);
  EXPECT_EQ(BestTimeLines(r.distribution), TextSortLists(runs, 2).second);
}

TEST_F(DistributionFileTest, MissingFileIsNotCreatedAndCountsNothing) {
  const DistributionReading r = ReadLevelDistribution(path_, fakes.services, 1);
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.fileMissing);
  EXPECT_EQ(r.distribution.runCount, 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(path_)));
}

TEST_F(DistributionFileTest, AFolderInPlaceOfTheFileIsToldWithItsPath) {
  std::filesystem::create_directories(std::filesystem::u8path(path_));
  const DistributionReading r = ReadLevelDistribution(path_, fakes.services, 1);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.fileMissing);
  EXPECT_NE(r.error.find("成績累積データ.dat"), std::string::npos);
  EXPECT_NE(r.error.find(dir_.string()), std::string::npos);
}

TEST_F(DistributionFileTest, UnreadableFileIsToldWithItsPath) {
  ASSERT_TRUE(WriteWholeFile(path_, std::string(44, '\0')));
  if (testing::PermissionBitsDoNotBind()) GTEST_SKIP() << "root reads every file";
  std::filesystem::permissions(std::filesystem::u8path(path_), std::filesystem::perms::none);
  const DistributionReading r = ReadLevelDistribution(path_, fakes.services, 1);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("成績累積データ.dat"), std::string::npos);
  EXPECT_NE(r.error.find(dir_.string()), std::string::npos);
  EXPECT_EQ(AllRunsLines(r.distribution)[0], "レベル1 今まで0回  （★=1）");
}

}  // namespace
}  // namespace numora
