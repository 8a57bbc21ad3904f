#include "core/admin/standards_distribution.h"

#include <algorithm>
#include <filesystem>

#include "core/platform/field_reader.h"
#include "core/records/results_file.h"

namespace numora {

namespace {

constexpr int kPupilValues = 65536;  // every 16-bit pupil number
constexpr int kPupilBias = 32768;

// seconds ÷ 10 rounded down, within [0, top].
int Bucket(int32_t seconds, int top) {
  if (seconds < 0) {
    return 0;
  }
  return static_cast<int>(std::min<int32_t>(seconds / 10, top));
}

// Records read from the file per piece: about 180 kB.
constexpr size_t kPieceRecords = 4096;

}  // namespace

LevelDistributionBuilder::LevelDistributionBuilder(int level)
    : best_(kPupilValues), seen_(kPupilValues) {
  result_.level = level;
}

void LevelDistributionBuilder::Add(const unsigned char* records, size_t count) {
  const int level = result_.level;
  if (level == 0) {
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    const unsigned char* r = records + i * kResultRecordSize;
    if (RecordLevel(r) != level) {
      continue;
    }
    const int32_t seconds = RecordSeconds(r);
    ++result_.runCount;
    ++result_.allRuns[static_cast<size_t>(Bucket(seconds, kDistributionBuckets - 1))];
    const int biased = RecordPupil(r) + kPupilBias;  // 0 … 65535
    const auto pupil = static_cast<size_t>(biased);
    if (seen_[pupil] == 0 || seconds < best_[pupil]) {
      best_[pupil] = seconds;
      seen_[pupil] = 1;
    }
  }
}

LevelDistribution LevelDistributionBuilder::Finish() {
  for (size_t p = 0; p < seen_.size(); ++p) {
    if (seen_[p] != 0) {
      ++result_.bestTimes[static_cast<size_t>(Bucket(best_[p], kBestTimeTopBucket))];
    }
  }
  return result_;
}

LevelDistribution ComputeLevelDistribution(const unsigned char* records, size_t count, int level) {
  LevelDistributionBuilder builder(level);
  builder.Add(records, count);
  return builder.Finish();
}

int64_t StarUnit(const std::array<int64_t, kDistributionBuckets>& counts) {
  const int64_t most = *std::max_element(counts.begin(), counts.end());
  return std::max<int64_t>(1, most / 10);
}

std::string BucketLine(int bucket, int64_t count, int64_t unit) {
  std::string label = std::to_string(10 * bucket);
  if (label.size() < 4) {
    label.insert(0, 4 - label.size(), ' ');
  }
  std::string line = label + "～";
  // count ÷ unit + 0.5, rounded down, in whole numbers.
  const int64_t stars = (2 * count + unit) / (2 * unit);
  for (int64_t s = 0; s < stars; ++s) {
    line += "★";
  }
  return line;
}

namespace {

std::vector<std::string> Lines(std::string heading,
                               const std::array<int64_t, kDistributionBuckets>& counts) {
  const int64_t unit = StarUnit(counts);
  std::vector<std::string> lines;
  lines.reserve(kDistributionBuckets + 1);
  heading += "（★=" + std::to_string(unit) + "）";
  lines.push_back(std::move(heading));
  for (int b = 0; b < kDistributionBuckets; ++b) {
    lines.push_back(BucketLine(b, counts[static_cast<size_t>(b)], unit));
  }
  return lines;
}

}  // namespace

std::vector<std::string> AllRunsLines(const LevelDistribution& d) {
  return Lines("レベル" + std::to_string(d.level) + " 今まで" + std::to_string(d.runCount) + "回  ",
               d.allRuns);
}

std::vector<std::string> BestTimeLines(const LevelDistribution& d) {
  return Lines("レベル" + std::to_string(d.level) + " ", d.bestTimes);
}

DistributionReading ReadLevelDistribution(const std::string& utf8Path, Services& services,
                                          int level) {
  DistributionReading reading;
  std::string failure;
  std::vector<unsigned char> piece;
  const FileStatus status = RetryOnConflict(services, kReaderRetry, [&]() {
    LevelDistributionBuilder builder(level);
    ResultsFile file;
    reading.fileMissing = false;
    FileStatus s = file.OpenForReading(utf8Path);
    std::error_code ec;
    if (s == FileStatus::Failed &&
        !std::filesystem::exists(std::filesystem::u8path(utf8Path), ec) && !ec) {
      reading.fileMissing = true;
      reading.distribution = builder.Finish();
      return FileStatus::Ok;
    }
    uint32_t count = 0;
    if (s == FileStatus::Ok) {
      s = file.RecordCount(count);
    }
    // Only the records there at the start: appends made meanwhile are for the next refresh.
    for (uint32_t done = 0; s == FileStatus::Ok && done < count;) {
      const size_t n = std::min<size_t>(kPieceRecords, count - done);
      piece.resize(n * kResultRecordSize);
      s = file.ReadAt(ResultRecordOffset(done + 1), piece.data(), piece.size());
      if (s == FileStatus::Failed && file.lastError() == -1) {
        s = FileStatus::Conflict;  // shortened while being read: read it again
      }
      if (s == FileStatus::Ok) {
        builder.Add(piece.data(), n);
        done += static_cast<uint32_t>(n);
      }
    }
    if (s == FileStatus::Ok) {
      reading.distribution = builder.Finish();
    } else {
      failure = file.lastErrorText();
    }
    return s;
  });
  if (status != FileStatus::Ok) {
    reading.ok = false;
    reading.distribution = LevelDistributionBuilder(level).Finish();
    reading.error = "成績ファイル「成績累積データ.dat」を読めません（" + failure +
                    "）。分布は表示できません。\n" + ShownPath(utf8Path);
  }
  return reading;
}

}  // namespace numora
