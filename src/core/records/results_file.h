#pragma once

// The results file: a plain sequence of 44-byte little-endian records in the program's data
// folder, shared by every program copy that uses the folder. Appends, in-place rewrites and
// deletions hold an exclusive operating-system lock on the whole file; readers take no lock and
// count only complete records (length ÷ 44), so a record that is still being written is never
// seen as a full one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/installation/shared_state.h"
#include "core/platform/services.h"
#include "core/records/sentinels.h"

namespace numora {

inline constexpr size_t kResultRecordSize = 44;
// The newest records the scan reads (and so the most entries it can keep).
inline constexpr uint32_t kScanWindowRecords = 20000;

// One record of the results file, field by field as stored.
struct ResultRecord {
  double runDate = 0;  // whole days since 30 December 1899
  double runTime = 0;  // fraction of the day
  int16_t pupilNumber = 0;
  int16_t level = 0;
  int32_t seconds = 0;
  std::array<char, 5> schoolCode{' ', ' ', ' ', ' ', ' '};
  std::array<char, 5> spareText{' ', ' ', ' ', ' ', ' '};
  std::array<char, 5> pointsText{' ', '0', ' ', ' ', ' '};
  std::array<char, 5> reservedText{0, 0, 0, 0, 0};

  friend bool operator==(const ResultRecord&, const ResultRecord&) = default;
};

// The 44 bytes of a record, little-endian, fields packed without padding.
void EncodeResultRecord(const ResultRecord& record, unsigned char* out44);
ResultRecord DecodeResultRecord(const unsigned char* in44);
// Only the kept fields (date, time of day, pupil, level, seconds).
ResultEntry DecodeResultEntry(const unsigned char* in44);

// A 5-byte text field: the CP932 bytes of the text, left-aligned and padded with spaces. A longer
// text is cut to 5 bytes, never inside a double-byte character (the space is padded instead).
std::array<char, 5> MakeTextField(std::string_view utf8);
// The text of a 5-byte field as UTF-8, trailing spaces and zero bytes removed.
std::string TextFieldToUtf8(const std::array<char, 5>& field);

// dataFolder + "成績累積データ.dat", and the safety copy a deletion keeps beside it.
std::string ResultsFilePath(const SharedState& state);
std::string ResultsSafetyCopyPath(const SharedState& state);

// The outcome of one file operation.
enum class FileStatus {
  Ok,
  Conflict,  // another user holds the file or its lock: worth retrying
  Failed,    // any other error
};

// The results file opened for record access. Every reader and writer of the file goes through
// this class. The file is closed (and any lock released) when the object is destroyed.
class ResultsFile {
 public:
  ResultsFile() = default;
  ~ResultsFile();
  ResultsFile(const ResultsFile&) = delete;
  ResultsFile& operator=(const ResultsFile&) = delete;
  ResultsFile(ResultsFile&& other) noexcept;
  ResultsFile& operator=(ResultsFile&& other) noexcept;

  // Opens the file for reading and writing, creating an empty file when there is none.
  FileStatus Open(const std::string& utf8Path);
  // Opens an existing file for reading only.
  FileStatus OpenForReading(const std::string& utf8Path);
  bool IsOpen() const;
  void Close();

  FileStatus Length(int64_t& bytes);
  // Complete records: the length ÷ 44, rounded down.
  FileStatus RecordCount(uint32_t& count);
  // Reads or writes exactly n bytes at the offset.
  FileStatus ReadAt(int64_t offset, void* buffer, size_t n);
  FileStatus WriteAt(int64_t offset, const void* buffer, size_t n);
  FileStatus Truncate(int64_t bytes);
  FileStatus Sync();

  // Takes an exclusive lock on the whole file without waiting (Conflict when another process
  // holds it). The lock belongs to this open file, not to the process, so two ResultsFile objects
  // of one process exclude each other too.
  FileStatus TryLock();
  void Unlock();

  // True when the path still names the file this object has open (a deletion replaces the file;
  // a writer that opened the old one must open it again).
  bool StillAtPath() const;

  // The operating-system error of the last failure, and a Japanese description of it.
  int lastError() const { return lastError_; }
  std::string lastErrorText() const;

 private:
  FileStatus Fail();
  FileStatus RefuseUnlessDiskFile();
  std::string path_;
  int lastError_ = 0;
  bool locked_ = false;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
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

// --- Operations of the program ------------------------------------------------------------------

// Opens the results file of the installation (creating it when missing).
FileStatus OpenResultsFile(const SharedState& state, ResultsFile& file);

// Writes one record at the end of the file under the lock: just after the last complete record,
// so a partial record left by an interrupted write is overwritten. runDate and runTime of the
// record are taken from services.clock once the lock is held. Sharing conflicts are retried
// (kWriterRetry). False with a Japanese error text when the record could not be stored.
bool AppendRecordToFile(const std::string& utf8Path, Services& services, ResultRecord record,
                        std::string& error);

// Appends the run that has just ended (currentPupil, currentLevel, recordedTime, schoolCode).
// When it cannot be stored, the user is shown a message with the run's pupil, level, time and
// moment so that a teacher can enter it again; false then.
bool AppendResultRecord(SharedState& state, Services& services);
// The same for the given pupil, level and seconds (schoolCode from the state).
bool AppendRunRecord(SharedState& state, Services& services, int16_t pupil, int16_t level,
                     int32_t seconds);

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
bool ReadAllResultRecords(const SharedState& state, Services& services,
                          std::vector<ResultRecord>& records, std::string& error);

// Reads record n (1-based); false with an error text when it does not exist or cannot be read.
bool ReadResultRecord(const SharedState& state, Services& services, uint32_t n,
                      ResultRecord& record, std::string& error);

// Writes record n (1-based, an existing record) in place under the lock; no other record is
// touched. False with a Japanese error text when it could not be written. When expected is given,
// record n must still hold exactly its 44 bytes once the lock is held (the record the user saw):
// when it does not, or when there is no record n any more, nothing is written and *stale (when
// given) is set.
bool RewriteResultRecord(const SharedState& state, Services& services, uint32_t n,
                         const ResultRecord& record, std::string& error,
                         const ResultRecord* expected = nullptr, bool* stale = nullptr);

// The steps of a deletion, in order, for tests that stop or kill it between two steps.
enum class DeleteStep {
  Locked = 1,           // the results file is open and locked
  CopyPartWritten = 2,  // half of the safety copy is written
  CopyWritten = 3,      // the safety copy is complete and on disk
  NewPartWritten = 4,   // half of the new file is written
  NewWritten = 5,       // the new file is complete and on disk
  Replaced = 6,         // the new file has replaced the results file
  CopyRemoved = 7,      // the safety copy is removed; only the unlock is left
};

// Called after each step of a deletion; returning false stops the deletion there as if the
// program had been killed (files stay as they are, the lock is released). Tests only.
using DeleteStepHook = std::function<bool(DeleteStep)>;

// Deletes record n (1-based); the records after it move up by one. While the results file stays
// locked, a safety copy of the whole file is written as "成績累積データtemp.dat", the file without
// record n is written beside it as "成績累積データnew.dat" and replaces the results file in one
// step, and only then is the safety copy removed. Killed at any moment, no other record is lost:
// the results file is always either the old one or the new one, and other program copies that
// append meanwhile write into the file that stays. A safety copy left by an interrupted deletion
// stops the deletion, with the explanation of DetectInterruptedDelete in error. expected and stale
// work as for RewriteResultRecord: a record that is no longer the one the user saw is not deleted.
bool DeleteResultRecord(const SharedState& state, Services& services, uint32_t n,
                        std::string& error, const DeleteStepHook& afterStep = {},
                        const ResultRecord* expected = nullptr, bool* stale = nullptr);

// dataFolder + "成績累積データnew.dat": the file a deletion writes before it replaces the results
// file with it.
std::string ResultsNewFilePath(const SharedState& state);

// When a safety copy of an interrupted deletion is lying in the data folder: a Japanese
// explanation of what happened and what the user should do with it. Empty when there is none.
std::string DetectInterruptedDelete(const SharedState& state);

}  // namespace numora
