#include "core/records/results_check.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/records/results_file.h"

namespace numora {

namespace {

// Lines about single records stop after this many; the rest are counted.
constexpr int kListedRecordsLimit = 200;

inline int16_t Le16s(const unsigned char* p) {
  return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

}  // namespace

bool CheckResultsFile(const SharedState& state, std::ostream& report) {
  bool allWell = true;
  const std::string path = ResultsFilePath(state);

  const std::string interrupted = DetectInterruptedDelete(state);
  if (!interrupted.empty()) {
    report << "✗ " << interrupted << "\n";
    allWell = false;
  }

  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::path(std::u8string(path.begin(), path.end())),
                               ec)) {
    return allWell;  // no results yet: normal for a new installation
  }
  ResultsFile file;
  if (file.OpenForReading(path) != FileStatus::Ok) {
    report << "✗ 成績ファイル「成績累積データ.dat」を開けません（" << file.lastErrorText()
           << "）: " << path << "\n";
    return false;
  }
  int64_t length = 0;
  std::vector<unsigned char> bytes;
  FileStatus st = file.Length(length);
  if (st == FileStatus::Ok) {
    bytes.resize(static_cast<size_t>(length / kResultRecordSize) * kResultRecordSize);
    st = file.ReadAt(0, bytes.data(), bytes.size());
  }
  if (st != FileStatus::Ok) {
    report << "✗ 成績ファイル「成績累積データ.dat」を読めません（" << file.lastErrorText()
           << "）: " << path << "\n";
    return false;
  }

  const int64_t partial = length % static_cast<int64_t>(kResultRecordSize);
  if (partial != 0) {
    report << "✗ 成績ファイル「成績累積データ.dat」の長さ " << length
           << " バイトが 44 の倍数ではありません。最後の " << partial
           << " バイトは書きかけの記録で、集計には使われず、次の記録で上書きされます: " << path
           << "\n";
    allWell = false;
  }

  const size_t count = bytes.size() / kResultRecordSize;
  int listed = 0;
  int unlisted = 0;
  for (size_t i = 0; i < count; ++i) {
    const unsigned char* p = bytes.data() + i * kResultRecordSize;
    const int pupil = Le16s(p + 16);
    const int level = Le16s(p + 18);
    if (pupil >= 0 && pupil < kPupilSlots && level >= 0 && level < kLevelSlots) {
      continue;
    }
    allWell = false;
    if (listed >= kListedRecordsLimit) {
      ++unlisted;
      continue;
    }
    ++listed;
    report << "✗ 成績ファイル「成績累積データ.dat」の記録番号 " << (i + 1) << " は番号 " << pupil
           << "・ﾚﾍﾞﾙ" << level
           << " で、表に入らないため集計から除いています（番号は 0～5000、ﾚﾍﾞﾙは 0～35）: " << path
           << "\n";
  }
  if (unlisted > 0) {
    report << "✗ 成績ファイル「成績累積データ.dat」には、表に入らない記録がほかに " << unlisted
           << " 件あります: " << path << "\n";
  }
  return allWell;
}

}  // namespace numora
