#include "core/records/results_scan.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/installation/installation_settings.h"
#include "core/installation/table_sizes.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/records/record_checks.h"
#include "core/records/results_file.h"
#include "core/records/statistics_tables.h"

namespace numora {

namespace {

// A sharing conflict is waited out one second at a time; after this long the scan reports it as
// an error instead of hanging the program for good.
constexpr RetryPolicy kScanRetry{1.0, 1.0, 300.0};

// The Visual-Basic style number of the "index out of range" error the tables would raise.
constexpr int kIndexOutOfRange = 9;

}  // namespace

std::string UnplaceableRecordSentence(int64_t recordNumber) {
  return "成績ファイルの記録番号 " + std::to_string(recordNumber) +
         " は番号またはレベルが範囲外のため、集計から除きました。詳しくは numora-data check "
         "で確かめてください。";
}

std::string DamagedRecordSentence(int64_t recordNumber, const std::string& damage) {
  return "成績ファイルの記録番号 " + std::to_string(recordNumber) + " は壊れているため（" + damage +
         "）、集計から除きました。詳しくは numora-data check で確かめてください。";
}

std::string ScanErrorMessage(int marker, int errorNumber, const std::string& description,
                             double runDate, int64_t recordNumber, double runTime, int pupil,
                             int level, int32_t seconds) {
  std::string text = "成績ランダムファイル表示";
  text += std::to_string(marker);
  text += std::to_string(errorNumber);
  text += description;
  text += std::to_string(errorNumber);
  text += "/date" + FormatShortDate(runDate);
  text += "/i=" + std::to_string(recordNumber);
  text += "/time=" + FormatTimeOfDay(runTime);
  text += "/name=";
  text += "/Bangou=" + std::to_string(pupil);
  text += "/level=" + std::to_string(level);
  text += "/time=" + std::to_string(seconds);
  text += "line" + std::to_string(marker);
  return text;
}

bool ScanResults(const InstallationSettings& installation, StatisticsTables& stats,
                 ScanWarnings& scanWarnings, Services& services) {
  for (int level = 1; level < kLevelSlots; ++level) {
    const auto row =
        stats.bestTime.cells.begin() + static_cast<std::ptrdiff_t>(LevelPupilIndex(level, 1));
    std::fill(row, row + (kPupilSlots - 1), static_cast<int32_t>(kNoBestTime));
  }

  // One read of the newest complete records; the buffer is kept between scans.
  static thread_local std::vector<unsigned char> buffer;
  const std::string path = ResultsFilePath(installation);
  const NewestRecords read =
      ReadNewestRecords(path, services, kScanRetry, kScanWindowRecords, buffer);
  const FileStatus st = read.status;
  const uint32_t firstRecord = read.firstRecord;
  const uint32_t records = read.records;
  if (st != FileStatus::Ok) {
    // One plain sentence first (what is wrong, where, what to do), then the diagnostic text.
    services.host.ShowMessage(
        "注意",
        "成績ファイル「成績累積データ.dat」を読めないため、プログラムを終了します（" +
            read.errorText + "）。ファイルとフォルダの読み取り権限を確かめてください。\n" +
            ShownPath(path) + "\n\n" +
            ScanErrorMessage(read.failedStep, read.errorNumber, read.errorText, 0, 0, 0, 0, 0, 0));
    services.host.EndProgram(1);
    return false;
  }

  // A safety copy left by an interrupted delete: every other figure is shown as usual, and the
  // user is told once how to get every record back.
  if (!scanWarnings.interruptedDeleteTold) {
    const std::string interrupted = DetectInterruptedDelete(installation);
    if (!interrupted.empty()) {
      scanWarnings.interruptedDeleteTold = true;
      services.host.ShowMessage("注意", interrupted);
    }
  }

  int32_t kept = 0;
  const unsigned char* p = buffer.data();
  ResultEntry* entries = stats.resultEntries.data();
  int32_t* best = stats.bestTime.cells.data();
  for (uint32_t i = 0; i < records; ++i, p += kResultRecordSize) {
    const int16_t pupil = RecordPupil(p);
    const int16_t level = RecordLevel(p);
    const int32_t seconds = RecordSeconds(p);
    const double runDate = RecordRunDate(p);
    if (pupil < 0 || pupil >= kPupilSlots || level < 0 || level >= kLevelSlots) {
      // Cannot be placed in the tables: left out of everything; the user hears of it once.
      if (!scanWarnings.unplaceableRecordTold) {
        scanWarnings.unplaceableRecordTold = true;
        const int64_t recordNumber = static_cast<int64_t>(firstRecord) + i;
        services.host.ShowMessage(
            "注意",
            UnplaceableRecordSentence(recordNumber) + "\n\n" +
                ScanErrorMessage(8, kIndexOutOfRange, "インデックスが有効範囲にありません。",
                                 runDate, recordNumber, RecordRunTime(p), pupil, level, seconds));
      }
      continue;
    }
    const double runTime = RecordRunTime(p);
    if (const char* damage = RecordDamage(runDate, runTime, seconds)) {
      // A date, time or seconds no run can have: left out like an unplaceable record.
      if (!scanWarnings.damagedRecordTold) {
        scanWarnings.damagedRecordTold = true;
        const int64_t recordNumber = static_cast<int64_t>(firstRecord) + i;
        services.host.ShowMessage("注意", DamagedRecordSentence(recordNumber, damage));
      }
      continue;
    }
    int32_t& b = best[LevelPupilIndex(level, pupil)];
    if (b > seconds) {
      b = seconds;
    }
    if (runDate < 0 || pupil == 0 || level < 1 || kept >= kMaxResultEntries) {
      continue;
    }
    ResultEntry& e = entries[++kept];
    e.runDate = runDate;
    e.runTime = runTime;
    e.pupilNumber = pupil;
    e.level = level;
    e.seconds = seconds;
  }
  stats.resultEntryCount = kept;

  // The level best covers pupils 1 to 1000 only.
  for (int level = 1; level < kLevelSlots; ++level) {
    const int32_t* row = best + LevelPupilIndex(level, 1);
    stats.bestTimeAll[static_cast<size_t>(level)] =
        std::min(static_cast<int32_t>(kNoBestTime), *std::min_element(row, row + 1000));
  }
  return true;
}

}  // namespace numora
