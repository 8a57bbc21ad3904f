#pragma once

// A file opened for access at byte offsets, shared by program copies on other computers, with an
// exclusive lock on the whole file that is tried without waiting. POSIX: open-file-description
// locks (fcntl F_OFD_SETLK, else F_SETLK); Windows: LockFileEx on every byte, the file opened by
// its UTF-16 name and shared for reading, writing and deletion (so that a deletion may replace
// it while it is open here). The halves live in locked_file_posix.cpp and locked_file_win.cpp.

#include <cstddef>
#include <cstdint>
#include <string>

namespace numora {

// The outcome of one file operation.
enum class FileStatus {
  Ok,
  Conflict,  // another user holds the file or its lock: worth retrying
  Failed,    // any other error
};

class LockedFile {
 public:
  LockedFile() = default;
  ~LockedFile();
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  LockedFile(LockedFile&& other) noexcept;
  LockedFile& operator=(LockedFile&& other) noexcept;

  // Opens the file for reading and writing, creating an empty file when there is none. Only a
  // file on a disk is opened: a folder, pipe or device under the name is refused
  // (kErrorNotRegularFile), and the open never waits on one. While another copy replaces the file
  // the slow way (ReplacingNameOf), a missing file is a conflict, not a file to create.
  FileStatus Open(const std::string& utf8Path);
  // Opens an existing file for reading only.
  FileStatus OpenForReading(const std::string& utf8Path);
  bool IsOpen() const;
  void Close();

  FileStatus Length(int64_t& bytes);
  // Reads or writes exactly n bytes at the offset. A read that meets the end of the file fails
  // with kErrorShortFile.
  FileStatus ReadAt(int64_t offset, void* buffer, size_t n);
  FileStatus WriteAt(int64_t offset, const void* buffer, size_t n);
  FileStatus Truncate(int64_t bytes);
  FileStatus Sync();

  // Takes an exclusive lock on the whole file without waiting (Conflict when another process
  // holds it). The lock belongs to this open file, not to the process, so two LockedFile objects
  // of one process exclude each other too.
  FileStatus TryLock();
  void Unlock();

  // True when the path still names the file this object has open (another copy may have
  // replaced the file; a writer that opened the old one must open it again).
  bool StillAtPath() const;

  // The operating-system error of the last failure, and a Japanese description of it.
  int lastError() const { return lastError_; }
  std::string lastErrorText() const;

 private:
  // The platform half of an open: sets native_, or lastError_ and the outcome.
  FileStatus OpenNative(bool forWriting);
  // The platform half of a transfer: the bytes read or written at the offset (at most n, 0 at the
  // end of the file), or -1 with the error left for Fail().
  int64_t ReadSome(int64_t offset, void* buffer, size_t n);
  int64_t WriteSome(int64_t offset, const void* buffer, size_t n);
  // The platform half of the lock: 0 when taken, else the system's error.
  int LockNative();
  void UnlockNative();
  FileStatus Fail();
  FileStatus RefuseUnlessDiskFile();
  std::string path_;
  int lastError_ = 0;
  bool locked_ = false;
  // The open file: a HANDLE on Windows, a file descriptor elsewhere.
  intptr_t native_ = kClosed;
  static constexpr intptr_t kClosed = -1;
};

}  // namespace numora
