#pragma once

// The results file as the program uses it: a plain sequence of 44-byte records (result_record.h)
// in the program's data folder, shared by every program copy that uses the folder. Appends,
// in-place rewrites and deletions hold the file's exclusive lock (locked_file.h); readers take no
// lock and count only complete records (length ÷ 44), so a record that is still being written is
// never seen as a full one. Every operation tries again while another copy holds the file, all
// through RetryOnResultsFile.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/drill/drill_run_state.h"
#include "core/installation/installation_settings.h"
#include "core/installation/session.h"
#include "core/platform/locked_file.h"
#include "core/platform/services.h"
#include "core/records/result_record.h"
#include "core/records/sentinels.h"

namespace numora {

// The newest records the scan reads (and so the most entries it can keep).
inline constexpr uint32_t kScanWindowRecords = 20000;

// dataFolder + "成績累積データ.dat", and the safety copy a deletion keeps beside it.
std::string ResultsFilePath(const InstallationSettings& installation);
std::string ResultsSafetyCopyPath(const InstallationSettings& installation);

// The results file opened for record access. Every reader and writer of the file goes through
// this class. The file is closed (and any lock released) when the object is destroyed.
class ResultsFile : public LockedFile {
 public:
  // Complete records: the length ÷ 44, rounded down.
  FileStatus RecordCount(uint32_t& count);
};

// Reads record n (1 ≤ n ≤ record count) without a lock.
FileStatus ReadRecordAt(ResultsFile& file, uint32_t n, ResultRecord& record);

// How an operation waits between attempts that met a sharing conflict: the first wait, the
// longest wait (each wait doubles up to it) and the total time after which it gives up.
struct RetryPolicy {
  double firstDelaySeconds = 1.0;
  double maxDelaySeconds = 1.0;
  double patienceSeconds = 30.0;
};
// Appends, rewrites and deletions: a lock is held for milliseconds only, so they try again
// after 5 ms, then ever less often up to every 50 ms, for 30 seconds in all. Short steps matter
// when many copies write at once: a lock that is free only for moments must be tried often.
inline constexpr RetryPolicy kWriterRetry{0.005, 0.05, 30.0};
// The scan: one second apart.
inline constexpr RetryPolicy kReaderRetry{1.0, 1.0, 30.0};

// Runs attempt until it gives something other than Conflict, waiting between attempts through
// services.host.WaitResponsive (windows stay responsive). Conflict when the patience ran out.
FileStatus RetryOnConflict(Services& services, const RetryPolicy& policy,
                           const std::function<FileStatus()>& attempt);

// How each attempt of an operation opens the results file.
enum class ResultsAccess {
  // For reading and writing (created when missing), or for reading only where the folder allows
  // no more; no lock.
  Read,
  // For writing, under the lock, and still the file at the path: a deletion may have replaced
  // the file between the open and the lock, which counts as a conflict, so the next attempt works
  // on the file that is there now.
  Write,
};

// What an operation on the results file ended with.
struct ResultsOutcome {
  FileStatus status = FileStatus::Failed;
  int failedStep = 3;  // where the last attempt stopped: 3 opening, 4 measuring, 5 the work
  int errorNumber = 0;
  std::string errorText;  // the failure in the system's words, or in the work's own
};

// The work of one attempt on the open file with its count of complete records. Conflict asks for
// another attempt; the work may describe a failure in its own words through failure.
using ResultsWork =
    std::function<FileStatus(ResultsFile& file, uint32_t records, std::string& failure)>;

// One operation on the results file at utf8Path: each attempt opens the file as access says,
// counts its records and runs work; attempts that meet a sharing conflict are repeated under the
// policy.
ResultsOutcome RetryOnResultsFile(const std::string& utf8Path, Services& services,
                                  const RetryPolicy& policy, ResultsAccess access,
                                  const ResultsWork& work);

// --- Operations of the program ------------------------------------------------------------------

// Opens the results file of the installation (creating it when missing).
FileStatus OpenResultsFile(const InstallationSettings& installation, ResultsFile& file);

// Writes one record at the end of the file under the lock: just after the last complete record,
// so a partial record left by an interrupted write is overwritten. runDate and runTime of the
// record are taken from services.clock once the lock is held. Sharing conflicts are retried
// (kWriterRetry). False with a Japanese error text when the record could not be stored.
bool AppendRecordToFile(const std::string& utf8Path, Services& services, ResultRecord record,
                        std::string& error);

// Appends the run that has just ended (currentPupil, currentLevel, recordedTime, schoolCode).
// When it cannot be stored, the user is shown a message with the run's pupil, level, time and
// moment so that a teacher can enter it again; false then.
bool AppendResultRecord(const InstallationSettings& installation, const Session& session,
                        const DrillRunState& run, Services& services);
// The same for the given pupil, level and seconds (schoolCode from the state).
bool AppendRunRecord(const InstallationSettings& installation, Services& services, int16_t pupil,
                     int16_t level, int32_t seconds);

// The text of the message shown when a run could not be stored.
std::string UnstoredRunMessage(int pupil, int level, int32_t seconds, double moment,
                               const std::string& cause);

// What a read of the newest records of a results file found.
struct NewestRecords {
  FileStatus status = FileStatus::Failed;
  uint32_t firstRecord = 1;  // record number (1-based) of the first record read
  uint32_t records = 0;      // complete records read into the buffer
  int failedStep = 3;        // 3 opening, 4 measuring, 5 reading: where a failure happened
  int errorNumber = 0;
  std::string errorText;
};
// Reads the raw bytes of the newest complete records, at most maxRecords of them, into buffer
// (records × 44 bytes, oldest first). A folder that only allows reading still lets the records be
// read; a file shortened while being read (another copy deleted a record) is read again, as is a
// sharing conflict, under the given retry policy.
NewestRecords ReadNewestRecords(const std::string& utf8Path, Services& services,
                                const RetryPolicy& policy, uint32_t maxRecords,
                                std::vector<unsigned char>& buffer);

// Reads every complete record of the results file (oldest first). Sharing conflicts are retried
// once a second; false with a Japanese error text on any other failure.
bool ReadAllResultRecords(const InstallationSettings& installation, Services& services,
                          std::vector<ResultRecord>& records, std::string& error);

// Reads record n (1-based); false with an error text when it does not exist or cannot be read.
bool ReadResultRecord(const InstallationSettings& installation, Services& services, uint32_t n,
                      ResultRecord& record, std::string& error);

// Writes record n (1-based, an existing record) in place under the lock; no other record is
// touched. False with a Japanese error text when it could not be written. When expected is given,
// record n must still hold exactly its 44 bytes once the lock is held (the record the user saw):
// when it does not, or when there is no record n any more, nothing is written and *stale (when
// given) is set.
bool RewriteResultRecord(const InstallationSettings& installation, Services& services, uint32_t n,
                         const ResultRecord& record, std::string& error,
                         const ResultRecord* expected = nullptr, bool* stale = nullptr);

// Why record n was left alone: it is not there, or it is no longer the record the user saw.
std::string MissingRecordText(uint32_t n);
std::string ChangedRecordText(uint32_t n);

}  // namespace numora
