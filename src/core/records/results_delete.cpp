#include "core/records/results_delete.h"

#include "core/platform/file_replace.h"
#include "core/platform/system_error.h"
#include "core/records/results_store.h"

namespace numora {

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// Every byte of a file, read without a lock; empty when it cannot be read.
std::string WholeFile(const std::string& path) {
  ResultsFile file;
  int64_t length = 0;
  std::string bytes;
  if (file.OpenForReading(path) == FileStatus::Ok && file.Length(length) == FileStatus::Ok) {
    bytes.resize(static_cast<size_t>(length));
    if (file.ReadAt(0, bytes.data(), bytes.size()) != FileStatus::Ok) {
      bytes.clear();
    }
  }
  return bytes;
}

}  // namespace

std::string ResultsNewFilePath(const InstallationSettings& installation) {
  return installation.dataFolder + "成績累積データnew.dat";
}

bool DeleteResultRecord(const InstallationSettings& installation, Services& services, uint32_t n,
                        std::string& error, const DeleteStepHook& afterStep,
                        const ResultRecord* expected, bool* stale) {
  const std::string path = ResultsFilePath(installation);
  const std::string copyPath = ResultsSafetyCopyPath(installation);
  const std::string newPath = ResultsNewFilePath(installation);
  const std::string folder = FolderOf(path);
  auto proceed = [&](DeleteStep step) { return !afterStep || afterStep(step); };

  enum class Outcome { Done, Stopped, Missing, Changed, LeftOver, Error };
  Outcome outcome = Outcome::Error;
  uint32_t firstCopySeenMs = 0;
  bool copySeen = false;

  const ResultsOutcome done = RetryOnResultsFile(
      path, services, kWriterRetry, ResultsAccess::Write,
      [&](ResultsFile& file, uint32_t /*records*/, std::string& failure) {
        if (PathExists(copyPath)) {
          // Another copy of the program may be finishing its own deletion: give it a few seconds
          // before treating the safety copy as left over.
          const uint32_t now = services.clock.TickCount();
          if (!copySeen) {
            copySeen = true;
            firstCopySeenMs = now;
          }
          if (now - firstCopySeenMs < 3000) {
            return FileStatus::Conflict;
          }
          outcome = Outcome::LeftOver;
          return FileStatus::Failed;
        }
        if (!proceed(DeleteStep::Locked)) {
          outcome = Outcome::Stopped;
          return FileStatus::Failed;
        }

        // Every byte of the file, a partial record at its end included.
        int64_t length = 0;
        FileStatus s = file.Length(length);
        std::string bytes;
        if (s == FileStatus::Ok) {
          bytes.resize(static_cast<size_t>(length));
          s = file.ReadAt(0, bytes.data(), bytes.size());
        }
        if (s != FileStatus::Ok) {
          return s == FileStatus::Conflict ? FileStatus::Failed : s;
        }
        const uint64_t count = bytes.size() / kResultRecordSize;
        if (n < 1 || n > count) {
          outcome = Outcome::Missing;
          return FileStatus::Failed;
        }
        const auto* records = reinterpret_cast<const unsigned char*>(bytes.data());
        if (expected != nullptr &&
            !HoldsRecord(records + static_cast<size_t>(ResultRecordOffset(n)), *expected)) {
          outcome = Outcome::Changed;
          return FileStatus::Failed;
        }

        // The safety copy: every byte of the file as it is.
        bool stopped = false;
        if (!WriteNewFile(
                copyPath, bytes, true, [&]() { return proceed(DeleteStep::CopyPartWritten); },
                failure, stopped)) {
          outcome = stopped ? Outcome::Stopped : Outcome::Error;
          return FileStatus::Failed;
        }
        SyncFolder(folder);
        if (!proceed(DeleteStep::CopyWritten)) {
          outcome = Outcome::Stopped;
          return FileStatus::Failed;
        }

        // The new file: every complete record but record n.
        const auto before = static_cast<size_t>(ResultRecordOffset(n));
        std::string kept;
        kept.reserve(static_cast<size_t>(count - 1) * kResultRecordSize);
        kept.append(bytes, 0, before);
        kept.append(bytes, before + kResultRecordSize,
                    static_cast<size_t>(count - n) * kResultRecordSize);
        if (!WriteNewFile(
                newPath, kept, false, [&]() { return proceed(DeleteStep::NewPartWritten); },
                failure, stopped)) {
          outcome = stopped ? Outcome::Stopped : Outcome::Error;
          if (!stopped) {
            RemoveFile(newPath);
            RemoveFile(copyPath);  // the results file was not touched: the copy is not needed
          }
          return FileStatus::Failed;
        }
        if (!proceed(DeleteStep::NewWritten)) {
          outcome = Outcome::Stopped;
          return FileStatus::Failed;
        }

        // One step from the old file to the new one, although it is open here and maybe
        // elsewhere.
        int replaceError = 0;
        bool busy = false;
        if (!ReplaceOpenFile(newPath, path, replaceError, busy)) {
          failure = "置き換えられません（" + SystemErrorText(replaceError) + "）";
          RemoveFile(newPath);
          RemoveFile(copyPath);
          if (busy) {
            return FileStatus::Conflict;  // the results file is untouched: all over again
          }
          outcome = Outcome::Error;
          return FileStatus::Failed;
        }
        SyncFolder(folder);
        if (!proceed(DeleteStep::Replaced)) {
          outcome = Outcome::Stopped;
          return FileStatus::Failed;
        }

        // The safety copy is no longer needed.
        RemoveFile(copyPath);
        SyncFolder(folder);
        if (!proceed(DeleteStep::CopyRemoved)) {
          outcome = Outcome::Stopped;
          return FileStatus::Failed;
        }
        outcome = Outcome::Done;
        return FileStatus::Ok;
      });

  if (done.status == FileStatus::Ok) {
    return true;
  }
  if (stale != nullptr) {
    *stale = outcome == Outcome::Changed || (outcome == Outcome::Missing && expected != nullptr);
  }
  switch (outcome) {
    case Outcome::Stopped:
      error = "消去を途中で止めました";
      break;
    case Outcome::Missing:
      error = MissingRecordText(n);
      break;
    case Outcome::Changed:
      error = ChangedRecordText(n);
      break;
    case Outcome::LeftOver:
      error = DetectInterruptedDelete(installation);
      break;
    default:
      error = done.status == FileStatus::Conflict
                  ? "成績ファイルが他のコンピュータで使用中のため、消去できませんでした（" +
                        done.errorText + "）"
                  : "記録を消去できませんでした（" + done.errorText + "）。記録は消去前のままです";
      break;
  }
  return false;
}

std::string DetectInterruptedDelete(const InstallationSettings& installation) {
  const std::string copyPath = ResultsSafetyCopyPath(installation);
  if (!PathExists(copyPath)) {
    return {};
  }
  const std::string copy = WholeFile(copyPath);
  const std::string current = WholeFile(ResultsFilePath(installation));
  const size_t copyRecords = copy.size() / kResultRecordSize;
  const size_t copyBytes = copyRecords * kResultRecordSize;
  const size_t currentRecords = current.size() / kResultRecordSize;

  std::string what;
  if (current.size() >= copyBytes && current.compare(0, copyBytes, copy, 0, copyBytes) == 0) {
    what =
        "消去は行われていません。成績累積データ.dat には消去前のすべての記録（と、その後の記録）"
        "が残っています。";
  } else {
    // Find the one record the copy has and the results file lacks.
    size_t i = 0;
    while (i < copyRecords && i < currentRecords &&
           current.compare(i * kResultRecordSize, kResultRecordSize, copy, i * kResultRecordSize,
                           kResultRecordSize) == 0) {
      ++i;
    }
    const size_t restBytes = copyBytes - (i + 1) * kResultRecordSize;
    const bool oneRemoved = i < copyRecords && current.size() >= copyBytes - kResultRecordSize &&
                            current.compare(i * kResultRecordSize, restBytes, copy,
                                            (i + 1) * kResultRecordSize, restBytes) == 0;
    if (oneRemoved) {
      what = "記録 " + std::to_string(i + 1) +
             " の消去は終わっています。成績累積データ.dat には、そのほかのすべての記録（と、"
             "その後の記録）が残っています。";
    } else {
      return "前回、成績の記録の消去が途中で止まりました。\n"
             "消去前のすべての記録が「成績累積データtemp.dat」に残っていますが、"
             "成績累積データ.dat とは食い違いがあります。\n"
             "どちらのファイルも消さずに保管し、管理者に相談してください。\n（場所: " +
             copyPath + "）";
    }
  }
  return "前回、成績の記録の消去が途中で止まりました。\n" + what +
         "\n「成績累積データtemp.dat」は消去前の控えで、もう必要ありません。"
         "中身を確かめてから削除するか、別の名前に変えて保管してください。"
         "このファイルがある間は、記録を消去できません。\n（場所: " +
         copyPath + "）";
}

}  // namespace numora
