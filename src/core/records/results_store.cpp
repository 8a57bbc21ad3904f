#include "core/records/results_store.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/system_error.h"
#include "core/records/sentinels.h"

namespace numora {

namespace {

// Why the results file could not be written, in plain words, and what to do about it.
std::string WriteFailureText(FileStatus st, const std::string& failure, const std::string& path) {
  if (st == FileStatus::Conflict) {
    return "成績ファイル「成績累積データ.dat」が他のコンピュータで使用中のままです（" + failure +
           "）。しばらく待ってからやり直してください。\n" + ShownPath(path);
  }
  return "成績ファイル「成績累積データ.dat」に書き込めません（" + failure +
         "）。フォルダの書き込み権限とディスクの空きを確かめてください。\n" + ShownPath(path);
}

std::string ReadFailureText(const std::string& failure, const std::string& path) {
  return "成績ファイル「成績累積データ.dat」を読めません（" + failure +
         "）。ファイルとフォルダの読み取り権限を確かめてください。\n" + ShownPath(path);
}

std::string FormatSecondsForMessage(int32_t seconds) {
  if (seconds >= kTimeOutSeconds) {
    return "時間切れ";
  }
  return std::to_string(seconds) + "秒";
}

// A write under the lock that met a conflict is not tried again: a record is never written
// twice.
FileStatus NoSecondWrite(FileStatus st) {
  return st == FileStatus::Conflict ? FileStatus::Failed : st;
}

FileStatus OpenForAccess(const std::string& utf8Path, ResultsAccess access, ResultsFile& file) {
  FileStatus s = file.Open(utf8Path);
  if (access == ResultsAccess::Read) {
    // A folder that only allows reading still lets the results be shown.
    if (s != FileStatus::Ok && file.OpenForReading(utf8Path) == FileStatus::Ok) {
      s = FileStatus::Ok;
    }
    return s;
  }
  if (s == FileStatus::Ok) {
    s = file.TryLock();
  }
  if (s == FileStatus::Ok && !file.StillAtPath()) {
    s = FileStatus::Conflict;
  }
  return s;
}

}  // namespace

std::string ResultsFilePath(const InstallationSettings& installation) {
  return installation.dataFolder + "成績累積データ.dat";
}

std::string ResultsSafetyCopyPath(const InstallationSettings& installation) {
  return installation.dataFolder + "成績累積データtemp.dat";
}

FileStatus ResultsFile::RecordCount(uint32_t& count) {
  int64_t bytes = 0;
  const FileStatus st = Length(bytes);
  if (st != FileStatus::Ok) {
    return st;
  }
  const int64_t records = bytes / static_cast<int64_t>(kResultRecordSize);
  count = static_cast<uint32_t>(std::min<int64_t>(records, UINT32_MAX));
  return FileStatus::Ok;
}

FileStatus ReadRecordAt(ResultsFile& file, uint32_t n, ResultRecord& record) {
  unsigned char bytes[kResultRecordSize];
  const FileStatus st = file.ReadAt(ResultRecordOffset(n), bytes, kResultRecordSize);
  if (st == FileStatus::Ok) {
    record = DecodeResultRecord(bytes);
  }
  return st;
}

FileStatus RetryOnConflict(Services& services, const RetryPolicy& policy,
                           const std::function<FileStatus()>& attempt) {
  double waited = 0;
  double delay = policy.firstDelaySeconds;
  for (;;) {
    const FileStatus st = attempt();
    if (st != FileStatus::Conflict) {
      return st;
    }
    if (waited >= policy.patienceSeconds) {
      return FileStatus::Conflict;
    }
    const double wait = std::min(delay, policy.patienceSeconds - waited);
    services.host.WaitResponsive(wait);
    waited += wait;
    delay = std::min(delay * 2, policy.maxDelaySeconds);
  }
}

ResultsOutcome RetryOnResultsFile(const std::string& utf8Path, Services& services,
                                  const RetryPolicy& policy, ResultsAccess access,
                                  const ResultsWork& work) {
  ResultsOutcome outcome;
  outcome.status = RetryOnConflict(services, policy, [&]() {
    ResultsFile file;
    std::string failure;
    outcome.failedStep = 3;
    FileStatus s = OpenForAccess(utf8Path, access, file);
    uint32_t records = 0;
    if (s == FileStatus::Ok) {
      outcome.failedStep = 4;
      s = file.RecordCount(records);
    }
    if (s == FileStatus::Ok) {
      outcome.failedStep = 5;
      s = work(file, records, failure);
    }
    if (s != FileStatus::Ok) {
      outcome.errorNumber = file.lastError();
      outcome.errorText = failure.empty() ? file.lastErrorText() : failure;
    }
    return s;
  });
  return outcome;
}

FileStatus OpenResultsFile(const InstallationSettings& installation, ResultsFile& file) {
  return file.Open(ResultsFilePath(installation));
}

bool AppendRecordToFile(const std::string& utf8Path, Services& services, ResultRecord record,
                        std::string& error) {
  const ResultsOutcome done = RetryOnResultsFile(
      utf8Path, services, kWriterRetry, ResultsAccess::Write,
      [&](ResultsFile& file, uint32_t count, std::string&) {
        const double now = services.clock.Now();
        // The time of day is stored in whole seconds, as the clock shows it.
        record.runDate = std::floor(now);
        record.runTime = WholeSecondTimeOfDay(now);
        unsigned char bytes[kResultRecordSize];
        EncodeResultRecord(record, bytes);
        FileStatus s = file.WriteAt(ResultRecordOffset(count + 1), bytes, kResultRecordSize);
        if (s == FileStatus::Ok) {
          s = file.Sync();
        }
        return NoSecondWrite(s);
      });
  if (done.status == FileStatus::Ok) {
    return true;
  }
  error = WriteFailureText(done.status, done.errorText, utf8Path);
  return false;
}

std::string UnstoredRunMessage(int pupil, int level, int32_t seconds, double moment,
                               const std::string& cause) {
  return "成績を記録できませんでした。\n" + cause + "\n\n番号 " + std::to_string(pupil) + "　ﾚﾍﾞﾙ" +
         std::to_string(level) + "　" + FormatSecondsForMessage(seconds) + "　（" +
         FormatShortDate(moment) + " " + FormatTimeOfDay(moment) +
         "）\n\nこの成績を先生に伝えてください。";
}

bool AppendRunRecord(const InstallationSettings& installation, Services& services, int16_t pupil,
                     int16_t level, int32_t seconds) {
  ResultRecord record;
  record.pupilNumber = pupil;
  record.level = level;
  record.seconds = seconds;
  record.schoolCode = MakeTextField(installation.schoolCode);
  std::string error;
  if (AppendRecordToFile(ResultsFilePath(installation), services, record, error)) {
    return true;
  }
  services.host.ShowMessage("注意",
                            UnstoredRunMessage(pupil, level, seconds, services.clock.Now(), error));
  return false;
}

bool AppendResultRecord(const InstallationSettings& installation, const Session& session,
                        const DrillRunState& run, Services& services) {
  return AppendRunRecord(installation, services, session.currentPupil, session.currentLevel,
                         run.recordedTime);
}

NewestRecords ReadNewestRecords(const std::string& utf8Path, Services& services,
                                const RetryPolicy& policy, uint32_t maxRecords,
                                std::vector<unsigned char>& buffer) {
  NewestRecords read;
  const ResultsOutcome done =
      RetryOnResultsFile(utf8Path, services, policy, ResultsAccess::Read,
                         [&](ResultsFile& file, uint32_t count, std::string&) {
                           read.records = std::min(count, maxRecords);
                           read.firstRecord = count - read.records + 1;
                           buffer.resize(static_cast<size_t>(read.records) * kResultRecordSize);
                           const FileStatus s = file.ReadAt(ResultRecordOffset(read.firstRecord),
                                                            buffer.data(), buffer.size());
                           // Shortened while being read (another copy deleted a record): read it
                           // again.
                           if (s == FileStatus::Failed && file.lastError() == kErrorShortFile) {
                             return FileStatus::Conflict;
                           }
                           return s;
                         });
  read.status = done.status;
  read.failedStep = done.failedStep;
  if (done.status != FileStatus::Ok) {
    read.errorNumber = done.errorNumber;
    read.errorText = done.errorText;
  }
  return read;
}

bool ReadAllResultRecords(const InstallationSettings& installation, Services& services,
                          std::vector<ResultRecord>& records, std::string& error) {
  records.clear();
  std::vector<unsigned char> bytes;
  const NewestRecords read =
      ReadNewestRecords(ResultsFilePath(installation), services, kReaderRetry,
                        std::numeric_limits<uint32_t>::max(), bytes);
  if (read.status != FileStatus::Ok) {
    error = ReadFailureText(read.errorText, ResultsFilePath(installation));
    return false;
  }
  records.reserve(read.records);
  for (size_t i = 0; i < read.records; ++i) {
    records.push_back(DecodeResultRecord(bytes.data() + i * kResultRecordSize));
  }
  return true;
}

bool ReadResultRecord(const InstallationSettings& installation, Services& services, uint32_t n,
                      ResultRecord& record, std::string& error) {
  bool missing = false;
  const ResultsOutcome done =
      RetryOnResultsFile(ResultsFilePath(installation), services, kReaderRetry, ResultsAccess::Read,
                         [&](ResultsFile& file, uint32_t count, std::string&) {
                           if (n < 1 || n > count) {
                             missing = true;
                             return FileStatus::Failed;
                           }
                           return ReadRecordAt(file, n, record);
                         });
  if (done.status == FileStatus::Ok) {
    return true;
  }
  error = missing ? MissingRecordText(n)
                  : ReadFailureText(done.errorText, ResultsFilePath(installation));
  return false;
}

bool RewriteResultRecord(const InstallationSettings& installation, Services& services, uint32_t n,
                         const ResultRecord& record, std::string& error,
                         const ResultRecord* expected, bool* stale) {
  bool missing = false;
  bool changed = false;
  const ResultsOutcome done = RetryOnResultsFile(
      ResultsFilePath(installation), services, kWriterRetry, ResultsAccess::Write,
      [&](ResultsFile& file, uint32_t count, std::string&) {
        if (n < 1 || n > count) {
          missing = true;
          return FileStatus::Failed;
        }
        if (expected != nullptr) {
          unsigned char current[kResultRecordSize];
          const FileStatus s = file.ReadAt(ResultRecordOffset(n), current, kResultRecordSize);
          if (s != FileStatus::Ok) {
            return NoSecondWrite(s);
          }
          if (!HoldsRecord(current, *expected)) {
            changed = true;
            return FileStatus::Failed;
          }
        }
        unsigned char bytes[kResultRecordSize];
        EncodeResultRecord(record, bytes);
        FileStatus s = file.WriteAt(ResultRecordOffset(n), bytes, kResultRecordSize);
        if (s == FileStatus::Ok) {
          s = file.Sync();
        }
        return NoSecondWrite(s);
      });
  if (done.status == FileStatus::Ok) {
    return true;
  }
  if (stale != nullptr) {
    *stale = changed || (missing && expected != nullptr);
  }
  if (changed) {
    error = ChangedRecordText(n);
  } else if (missing) {
    error = MissingRecordText(n);
  } else {
    error = WriteFailureText(done.status, done.errorText, ResultsFilePath(installation));
  }
  return false;
}

std::string MissingRecordText(uint32_t n) {
  return "記録 " + std::to_string(n) + " はありません";
}

std::string ChangedRecordText(uint32_t n) {
  return "記録 " + std::to_string(n) +
         " は、表示した時の内容と違っています（ほかのコンピュータで記録が変更または消去されまし"
         "た）。何も書き換えていません";
}

}  // namespace numora
