#include "core/records/results_check.h"

#include <cstdint>
#include <string>

#include "core/platform/field_reader.h"
#include "core/platform/system_error.h"
#include "core/records/record_checks.h"
#include "core/records/results_file.h"
#include "core/records/results_stream.h"

namespace numora {

namespace {

// Lines about single records stop after this many; the rest are counted.
constexpr int kListedRecordsLimit = 200;

constexpr const char* kHead = "成績ファイル「成績累積データ.dat」";

}  // namespace

bool CheckResultsFile(const InstallationSettings& installation, std::ostream& report) {
  bool allWell = true;
  const std::string path = ResultsFilePath(installation);
  const std::string shown = ShownPath(path);

  const std::string interrupted = DetectInterruptedDelete(installation);
  if (!interrupted.empty()) {
    report << "✗ " << interrupted << "\n";
    allWell = false;
  }

  const int problem = RegularFileProblem(path);
  if (problem != 0) {
    if (!IsMissingFileError(problem)) {
      report << "✗ " << kHead << "を開けません（" << SystemErrorText(problem)
             << "）。成績を読むことも記録することもできません: " << shown << "\n";
      return false;
    }
    // No results yet is normal for a new installation, as long as the first run can be stored.
    const int folderProblem = RegularFileProblem(installation.dataFolder + ".");
    if (folderProblem != kErrorNotRegularFile) {
      report << "✗ データフォルダがありません（" << SystemErrorText(folderProblem)
             << "）。成績を記録できません: " << ShownPath(installation.dataFolder) << "\n";
      return false;
    }
    return allWell;
  }
  {
    // The program appends to the file: it must open for writing too.
    ResultsFile writable;
    if (writable.Open(path) != FileStatus::Ok) {
      report << "✗ " << kHead << "に書き込めません（" << writable.lastErrorText()
             << "）。成績を記録できません。ファイルとフォルダの権限を確かめてください: " << shown
             << "\n";
      allWell = false;
    }
  }

  int listed = 0;
  int unlisted = 0;
  auto listRecord = [&](uint32_t number, const std::string& what) {
    allWell = false;
    if (listed >= kListedRecordsLimit) {
      ++unlisted;
      return;
    }
    ++listed;
    report << "✗ " << kHead << "の記録番号 " << number << " は" << what << ": " << shown << "\n";
  };

  const ChunkedRead read = ReadRecordsInChunks(
      path, nullptr, RetryPolicy{}, [&](uint32_t first, const unsigned char* p, uint32_t n) {
        for (uint32_t i = 0; i < n; ++i, p += kResultRecordSize) {
          const ResultEntry e = DecodeResultEntry(p);
          const int pupil = e.pupilNumber;
          const int level = e.level;
          if (!IsPlaceable(pupil, level)) {
            listRecord(first + i,
                       "番号 " + std::to_string(pupil) + "・ﾚﾍﾞﾙ" + std::to_string(level) +
                           " で、表に入らないため集計から除いています（番号は 0～5000、ﾚﾍﾞﾙは "
                           "0～35）");
          } else if (const char* damage = RecordDamage(e.runDate, e.runTime, e.seconds)) {
            listRecord(first + i,
                       std::string("壊れているため集計から除いています（") + damage + "）");
          }
        }
        return true;
      });
  if (read.status != FileStatus::Ok) {
    report << "✗ " << kHead << "を読めません（" << read.errorText
           << "）。ファイルとフォルダの読み取り権限を確かめてください: " << shown << "\n";
    return false;
  }

  const int64_t partial = read.length % static_cast<int64_t>(kResultRecordSize);
  if (partial != 0) {
    report << "✗ " << kHead << "の長さ " << read.length
           << " バイトが 44 の倍数ではありません。最後の " << partial
           << " バイトは書きかけの記録で、集計には使われず、次の記録で上書きされます: " << shown
           << "\n";
    allWell = false;
  }
  if (unlisted > 0) {
    report << "✗ " << kHead << "には、集計から除いている記録がほかに " << unlisted
           << " 件あります: " << shown << "\n";
  }
  if (read.records > kScanWindowRecords) {
    report << "※ " << kHead << "には " << read.records << " 件の記録があります。ハブの集計に"
           << "使われるのは新しい " << kScanWindowRecords << " 件（記録番号 "
           << (read.records - kScanWindowRecords + 1) << " から）だけです: " << shown << "\n";
  }
  return allWell;
}

}  // namespace numora
