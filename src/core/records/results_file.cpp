#include "core/records/results_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/file_replace.h"
#include "core/platform/system_error.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace numora {

namespace {

constexpr int kShortTransfer = kErrorShortFile;

uint64_t Le64(const unsigned char* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) {
    v = (v << 8) | p[i];
  }
  return v;
}
uint32_t Le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Le16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
void Put64(unsigned char* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) {
    p[i] = static_cast<unsigned char>(v >> (8 * i));
  }
}
void Put32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    p[i] = static_cast<unsigned char>(v >> (8 * i));
  }
}
void Put16(unsigned char* p, uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::string DataFolderText(const SharedState& state) {
  return state.dataFolder.Text();
}

}  // namespace

// --- Record layout ----------------------------------------------------------------------------

void EncodeResultRecord(const ResultRecord& r, unsigned char* out) {
  Put64(out + 0, std::bit_cast<uint64_t>(r.runDate));
  Put64(out + 8, std::bit_cast<uint64_t>(r.runTime));
  Put16(out + 16, static_cast<uint16_t>(r.pupilNumber));
  Put16(out + 18, static_cast<uint16_t>(r.level));
  Put32(out + 20, static_cast<uint32_t>(r.seconds));
  std::memcpy(out + 24, r.schoolCode.data(), 5);
  std::memcpy(out + 29, r.spareText.data(), 5);
  std::memcpy(out + 34, r.pointsText.data(), 5);
  std::memcpy(out + 39, r.reservedText.data(), 5);
}

ResultRecord DecodeResultRecord(const unsigned char* in) {
  ResultRecord r;
  r.runDate = std::bit_cast<double>(Le64(in + 0));
  r.runTime = std::bit_cast<double>(Le64(in + 8));
  r.pupilNumber = static_cast<int16_t>(Le16(in + 16));
  r.level = static_cast<int16_t>(Le16(in + 18));
  r.seconds = static_cast<int32_t>(Le32(in + 20));
  std::memcpy(r.schoolCode.data(), in + 24, 5);
  std::memcpy(r.spareText.data(), in + 29, 5);
  std::memcpy(r.pointsText.data(), in + 34, 5);
  std::memcpy(r.reservedText.data(), in + 39, 5);
  return r;
}

ResultEntry DecodeResultEntry(const unsigned char* in) {
  ResultEntry e;
  e.runDate = std::bit_cast<double>(Le64(in + 0));
  e.runTime = std::bit_cast<double>(Le64(in + 8));
  e.pupilNumber = static_cast<int16_t>(Le16(in + 16));
  e.level = static_cast<int16_t>(Le16(in + 18));
  e.seconds = static_cast<int32_t>(Le32(in + 20));
  return e;
}

std::array<char, 5> MakeTextField(std::string_view utf8) {
  std::array<char, 5> field{' ', ' ', ' ', ' ', ' '};
  const std::string bytes = Utf8ToCp932(utf8);
  size_t used = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t width =
        IsCp932LeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
    if (used + width > field.size()) {
      break;
    }
    for (size_t k = 0; k < width; ++k) {
      field[used++] = bytes[i + k];
    }
    i += width;
  }
  return field;
}

std::string TextFieldToUtf8(const std::array<char, 5>& field) {
  size_t end = field.size();
  while (end > 0 && (field[end - 1] == ' ' || field[end - 1] == '\0')) {
    --end;
  }
  return Cp932ToUtf8(std::string_view(field.data(), end));
}

std::string ResultsFilePath(const SharedState& state) {
  return DataFolderText(state) + "成績累積データ.dat";
}

std::string ResultsSafetyCopyPath(const SharedState& state) {
  return DataFolderText(state) + "成績累積データtemp.dat";
}

std::string ResultsNewFilePath(const SharedState& state) {
  return DataFolderText(state) + "成績累積データnew.dat";
}

// --- The open file ----------------------------------------------------------------------------

ResultsFile::~ResultsFile() {
  Close();
}

ResultsFile::ResultsFile(ResultsFile&& other) noexcept {
  *this = std::move(other);
}

ResultsFile& ResultsFile::operator=(ResultsFile&& other) noexcept {
  if (this != &other) {
    Close();
    path_ = std::move(other.path_);
    lastError_ = other.lastError_;
    locked_ = other.locked_;
#ifdef _WIN32
    handle_ = other.handle_;
    other.handle_ = nullptr;
#else
    fd_ = other.fd_;
    other.fd_ = -1;
#endif
    other.locked_ = false;
  }
  return *this;
}

std::string ResultsFile::lastErrorText() const {
  return SystemErrorText(lastError_);
}

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

}  // namespace

FileStatus ResultsFile::Fail() {
  lastError_ = static_cast<int>(GetLastError());
  return IsSharingConflict(lastError_, false) ? FileStatus::Conflict : FileStatus::Failed;
}

// Only a file on a disk is the results file: a device or pipe under its name is refused.
FileStatus ResultsFile::RefuseUnlessDiskFile() {
  if (GetFileType(static_cast<HANDLE>(handle_)) == FILE_TYPE_DISK) return FileStatus::Ok;
  Close();
  lastError_ = kErrorNotRegularFile;
  return FileStatus::Failed;
}

FileStatus ResultsFile::Open(const std::string& utf8Path) {
  Close();
  path_ = utf8Path;
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE h = CreateFileW(Wide(utf8Path).c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
    // Missing while a deletion puts the new file in its place: busy, not to be created anew.
    if (GetFileAttributesW(Wide(ReplacingNameOf(utf8Path)).c_str()) != INVALID_FILE_ATTRIBUTES) {
      lastError_ = ERROR_SHARING_VIOLATION;
      return FileStatus::Conflict;
    }
    h = CreateFileW(Wide(utf8Path).c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (h == INVALID_HANDLE_VALUE) {
    // A folder under the file's name is refused as what it is, not as "access denied".
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(Wide(utf8Path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      lastError_ = kErrorNotRegularFile;
      return FileStatus::Failed;
    }
    SetLastError(error);
    return Fail();
  }
  handle_ = h;
  return RefuseUnlessDiskFile();
}

FileStatus ResultsFile::OpenForReading(const std::string& utf8Path) {
  Close();
  path_ = utf8Path;
  HANDLE h = CreateFileW(Wide(utf8Path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail();
  handle_ = h;
  return RefuseUnlessDiskFile();
}

bool ResultsFile::IsOpen() const {
  return handle_ != nullptr;
}

void ResultsFile::Close() {
  if (handle_ == nullptr) return;
  Unlock();
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

FileStatus ResultsFile::Length(int64_t& bytes) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(static_cast<HANDLE>(handle_), &size)) return Fail();
  bytes = size.QuadPart;
  return FileStatus::Ok;
}

FileStatus ResultsFile::ReadAt(int64_t offset, void* buffer, size_t n) {
  auto* p = static_cast<unsigned char*>(buffer);
  while (n > 0) {
    OVERLAPPED ov{};
    ov.Offset = static_cast<DWORD>(offset);
    ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(n, 1u << 30));
    if (!ReadFile(static_cast<HANDLE>(handle_), p, want, &got, &ov)) return Fail();
    if (got == 0) {
      lastError_ = kShortTransfer;
      return FileStatus::Failed;
    }
    p += got;
    offset += got;
    n -= got;
  }
  return FileStatus::Ok;
}

FileStatus ResultsFile::WriteAt(int64_t offset, const void* buffer, size_t n) {
  const auto* p = static_cast<const unsigned char*>(buffer);
  while (n > 0) {
    OVERLAPPED ov{};
    ov.Offset = static_cast<DWORD>(offset);
    ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(n, 1u << 30));
    if (!WriteFile(static_cast<HANDLE>(handle_), p, want, &put, &ov)) return Fail();
    p += put;
    offset += put;
    n -= put;
  }
  return FileStatus::Ok;
}

FileStatus ResultsFile::Truncate(int64_t bytes) {
  FILE_END_OF_FILE_INFO info{};
  info.EndOfFile.QuadPart = bytes;
  if (!SetFileInformationByHandle(static_cast<HANDLE>(handle_), FileEndOfFileInfo, &info,
                                  sizeof info)) {
    return Fail();
  }
  return FileStatus::Ok;
}

FileStatus ResultsFile::Sync() {
  if (!FlushFileBuffers(static_cast<HANDLE>(handle_))) return Fail();
  return FileStatus::Ok;
}

FileStatus ResultsFile::TryLock() {
  OVERLAPPED ov{};
  if (!LockFileEx(static_cast<HANDLE>(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                  0, MAXDWORD, MAXDWORD, &ov)) {
    lastError_ = static_cast<int>(GetLastError());
    return IsSharingConflict(lastError_, true) ? FileStatus::Conflict : FileStatus::Failed;
  }
  locked_ = true;
  return FileStatus::Ok;
}

void ResultsFile::Unlock() {
  if (!locked_) return;
  OVERLAPPED ov{};
  UnlockFileEx(static_cast<HANDLE>(handle_), 0, MAXDWORD, MAXDWORD, &ov);
  locked_ = false;
}

bool ResultsFile::StillAtPath() const {
  BY_HANDLE_FILE_INFORMATION mine{};
  if (!GetFileInformationByHandle(static_cast<HANDLE>(handle_), &mine)) return false;
  HANDLE other =
      CreateFileW(Wide(path_).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (other == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION theirs{};
  const bool got = GetFileInformationByHandle(other, &theirs) != 0;
  CloseHandle(other);
  return got && mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
         mine.nFileIndexHigh == theirs.nFileIndexHigh && mine.nFileIndexLow == theirs.nFileIndexLow;
}

#else  // POSIX

FileStatus ResultsFile::Fail() {
  lastError_ = errno;
  return IsSharingConflict(lastError_, false) ? FileStatus::Conflict : FileStatus::Failed;
}

// Only a regular file is the results file. The open does not wait (O_NONBLOCK), so a pipe or
// device under its name is refused here instead of blocking the first read.
FileStatus ResultsFile::RefuseUnlessDiskFile() {
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
    return FileStatus::Ok;
  }
  Close();
  lastError_ = kErrorNotRegularFile;
  return FileStatus::Failed;
}

FileStatus ResultsFile::Open(const std::string& utf8Path) {
  Close();
  path_ = utf8Path;
  int fd = -1;
  do {
    fd = ::open(utf8Path.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    return Fail();
  }
  fd_ = fd;
  return RefuseUnlessDiskFile();
}

FileStatus ResultsFile::OpenForReading(const std::string& utf8Path) {
  Close();
  path_ = utf8Path;
  int fd = -1;
  do {
    fd = ::open(utf8Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    return Fail();
  }
  fd_ = fd;
  return RefuseUnlessDiskFile();
}

bool ResultsFile::IsOpen() const {
  return fd_ >= 0;
}

void ResultsFile::Close() {
  if (fd_ < 0) {
    return;
  }
  Unlock();
  ::close(fd_);
  fd_ = -1;
}

FileStatus ResultsFile::Length(int64_t& bytes) {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    return Fail();
  }
  bytes = static_cast<int64_t>(st.st_size);
  return FileStatus::Ok;
}

FileStatus ResultsFile::ReadAt(int64_t offset, void* buffer, size_t n) {
  auto* p = static_cast<unsigned char*>(buffer);
  while (n > 0) {
    const ssize_t got = ::pread(fd_, p, n, static_cast<off_t>(offset));
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Fail();
    }
    if (got == 0) {
      lastError_ = kShortTransfer;
      return FileStatus::Failed;
    }
    p += got;
    offset += got;
    n -= static_cast<size_t>(got);
  }
  return FileStatus::Ok;
}

FileStatus ResultsFile::WriteAt(int64_t offset, const void* buffer, size_t n) {
  const auto* p = static_cast<const unsigned char*>(buffer);
  while (n > 0) {
    const ssize_t put = ::pwrite(fd_, p, n, static_cast<off_t>(offset));
    if (put < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Fail();
    }
    p += put;
    offset += put;
    n -= static_cast<size_t>(put);
  }
  return FileStatus::Ok;
}

FileStatus ResultsFile::Truncate(int64_t bytes) {
  if (::ftruncate(fd_, static_cast<off_t>(bytes)) != 0) {
    return Fail();
  }
  return FileStatus::Ok;
}

FileStatus ResultsFile::Sync() {
  if (::fsync(fd_) != 0) {
    return Fail();
  }
  return FileStatus::Ok;
}

FileStatus ResultsFile::TryLock() {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;  // the whole file, however long it grows
#ifdef F_OFD_SETLK
  // Open-file-description locks: owned by this open file, so they are not dropped when another
  // descriptor of the same file is closed and they exclude other opens in the same process.
  const int command = F_OFD_SETLK;
#else
  const int command = F_SETLK;
#endif
  int rc = 0;
  do {
    rc = ::fcntl(fd_, command, &lock);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    lastError_ = errno;
    return IsSharingConflict(lastError_, true) ? FileStatus::Conflict : FileStatus::Failed;
  }
  locked_ = true;
  return FileStatus::Ok;
}

void ResultsFile::Unlock() {
  if (!locked_) {
    return;
  }
  struct flock lock {};
  lock.l_type = F_UNLCK;
  lock.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
  ::fcntl(fd_, F_OFD_SETLK, &lock);
#else
  ::fcntl(fd_, F_SETLK, &lock);
#endif
  locked_ = false;
}

bool ResultsFile::StillAtPath() const {
  struct stat mine {};
  struct stat theirs {};
  if (::fstat(fd_, &mine) != 0 || ::stat(path_.c_str(), &theirs) != 0) {
    return false;
  }
  return mine.st_dev == theirs.st_dev && mine.st_ino == theirs.st_ino;
}

#endif

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
  const FileStatus st =
      file.ReadAt(static_cast<int64_t>(n - 1) * static_cast<int64_t>(kResultRecordSize), bytes,
                  kResultRecordSize);
  if (st == FileStatus::Ok) {
    record = DecodeResultRecord(bytes);
  }
  return st;
}

// --- Retrying ---------------------------------------------------------------------------------

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

// --- Platform helpers for whole files ----------------------------------------------------------

namespace {

#ifdef _WIN32
bool PathExists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
bool RemoveFile(const std::string& path) {
  return DeleteFileW(Wide(path).c_str()) != 0;
}
void SyncFolder(const std::string& /*folder*/) {}
#else
bool PathExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}
bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}
// Makes a creation, rename or removal in the folder durable.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return;
  }
  ::fsync(fd);
  ::close(fd);
}
#endif

// Writes bytes as a new file and makes it durable. exclusive: fail when the file exists.
// atHalf is called when half the bytes are written; returning false stops there and leaves the
// file as it is (stopped is set). A file that could not be written completely is removed.
bool WriteNewFile(const std::string& path, const std::string& bytes, bool exclusive,
                  const std::function<bool()>& atHalf, std::string& error, bool& stopped) {
  stopped = false;
#ifdef _WIN32
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                         exclusive ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error =
        Quoted(path) + " を作れません（" + SystemErrorText(static_cast<int>(GetLastError())) + "）";
    return false;
  }
  const size_t half = bytes.size() / 2;
  bool ok = true;
  auto put = [&](size_t from, size_t to) {
    DWORD done = 0;
    while (ok && from < to) {
      if (!WriteFile(h, bytes.data() + from, static_cast<DWORD>(to - from), &done, nullptr)) {
        ok = false;
      }
      from += done;
    }
  };
  put(0, half);
  if (ok && atHalf && !atHalf()) {
    CloseHandle(h);
    stopped = true;
    return false;
  }
  put(half, bytes.size());
  if (ok) ok = FlushFileBuffers(h) != 0;
  CloseHandle(h);
  if (!ok) {
    error = path + " に書き込めません";
    DeleteFileW(Wide(path).c_str());
  }
  return ok;
#else
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    error = Quoted(path) + " を作れません（" + SystemErrorText(errno) + "）";
    return false;
  }
  const size_t half = bytes.size() / 2;
  bool ok = true;
  auto put = [&](size_t from, size_t to) {
    while (ok && from < to) {
      const ssize_t n = ::write(fd, bytes.data() + from, to - from);
      if (n < 0) {
        if (errno == EINTR) {
          continue;
        }
        ok = false;
        break;
      }
      from += static_cast<size_t>(n);
    }
  };
  put(0, half);
  if (ok && atHalf && !atHalf()) {
    ::close(fd);
    stopped = true;
    return false;
  }
  put(half, bytes.size());
  if (ok) {
    ok = ::fsync(fd) == 0;
  }
  if (!ok) {
    error = Quoted(path) + " に書き込めません（" + SystemErrorText(errno) + "）";
  }
  ::close(fd);
  if (!ok) {
    ::unlink(path.c_str());  // an unfinished file of our own is of no use to anyone
  }
  return ok;
#endif
}

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

// Whether the 44 bytes at in44 are exactly the given record (compared as bytes, so that a date
// that is not a number still compares equal to itself).
bool HoldsRecord(const unsigned char* in44, const ResultRecord& record) {
  unsigned char bytes[kResultRecordSize];
  EncodeResultRecord(record, bytes);
  return std::memcmp(in44, bytes, kResultRecordSize) == 0;
}

std::string ChangedRecordText(uint32_t n) {
  return "記録 " + std::to_string(n) +
         " は、表示した時の内容と違っています（ほかのコンピュータで記録が変更または消去されまし"
         "た）。何も書き換えていません";
}

// Opens the results file at utf8Path and takes its writing lock. A deletion may have replaced the
// file between the open and the lock: that counts as a conflict, so the caller retries on the file
// that is there now.
FileStatus OpenLockedForWriting(const std::string& utf8Path, ResultsFile& file) {
  FileStatus s = file.Open(utf8Path);
  if (s == FileStatus::Ok) {
    s = file.TryLock();
  }
  if (s == FileStatus::Ok && !file.StillAtPath()) {
    s = FileStatus::Conflict;
  }
  return s;
}

}  // namespace

// --- Operations -------------------------------------------------------------------------------

FileStatus OpenResultsFile(const SharedState& state, ResultsFile& file) {
  return file.Open(ResultsFilePath(state));
}

bool AppendRecordToFile(const std::string& utf8Path, Services& services, ResultRecord record,
                        std::string& error) {
  std::string failure;
  const FileStatus st = RetryOnConflict(services, kWriterRetry, [&]() {
    ResultsFile file;
    FileStatus s = OpenLockedForWriting(utf8Path, file);
    uint32_t count = 0;
    if (s == FileStatus::Ok) {
      s = file.RecordCount(count);
    }
    if (s == FileStatus::Ok) {
      const double now = services.clock.Now();
      // The time of day is stored in whole seconds, as the clock shows it.
      record.runDate = std::floor(now);
      record.runTime = WholeSecondTimeOfDay(now);
      unsigned char bytes[kResultRecordSize];
      EncodeResultRecord(record, bytes);
      s = file.WriteAt(static_cast<int64_t>(count) * static_cast<int64_t>(kResultRecordSize), bytes,
                       kResultRecordSize);
      if (s == FileStatus::Ok) {
        s = file.Sync();
      }
      if (s == FileStatus::Conflict) {
        s = FileStatus::Failed;  // never write a record twice
      }
    }
    if (s != FileStatus::Ok) {
      failure = file.lastErrorText();
    }
    return s;
  });
  if (st == FileStatus::Ok) {
    return true;
  }
  error = WriteFailureText(st, failure, utf8Path);
  return false;
}

std::string UnstoredRunMessage(int pupil, int level, int32_t seconds, double moment,
                               const std::string& cause) {
  return "成績を記録できませんでした。\n" + cause + "\n\n番号 " + std::to_string(pupil) + "　ﾚﾍﾞﾙ" +
         std::to_string(level) + "　" + FormatSecondsForMessage(seconds) + "　（" +
         FormatShortDate(moment) + " " + FormatTimeOfDay(moment) +
         "）\n\nこの成績を先生に伝えてください。";
}

bool AppendRunRecord(SharedState& state, Services& services, int16_t pupil, int16_t level,
                     int32_t seconds) {
  ResultRecord record;
  record.pupilNumber = pupil;
  record.level = level;
  record.seconds = seconds;
  record.schoolCode = MakeTextField(state.schoolCode.Text());
  std::string error;
  if (AppendRecordToFile(ResultsFilePath(state), services, record, error)) {
    return true;
  }
  services.host.ShowMessage("注意",
                            UnstoredRunMessage(pupil, level, seconds, services.clock.Now(), error));
  return false;
}

bool AppendResultRecord(SharedState& state, Services& services) {
  return AppendRunRecord(state, services, state.currentPupil, state.currentLevel,
                         state.run.recordedTime);
}

NewestRecords ReadNewestRecords(const std::string& utf8Path, Services& services,
                                const RetryPolicy& policy, uint32_t maxRecords,
                                std::vector<unsigned char>& buffer) {
  NewestRecords read;
  read.status = RetryOnConflict(services, policy, [&]() {
    ResultsFile file;
    read.failedStep = 3;
    FileStatus s = file.Open(utf8Path);
    // A folder that only allows reading still lets the results be shown.
    if (s != FileStatus::Ok && file.OpenForReading(utf8Path) == FileStatus::Ok) {
      s = FileStatus::Ok;
    }
    uint32_t count = 0;
    if (s == FileStatus::Ok) {
      read.failedStep = 4;
      s = file.RecordCount(count);
    }
    if (s == FileStatus::Ok) {
      read.records = std::min(count, maxRecords);
      read.firstRecord = count - read.records + 1;
      buffer.resize(static_cast<size_t>(read.records) * kResultRecordSize);
      read.failedStep = 5;
      s = file.ReadAt(
          static_cast<int64_t>(read.firstRecord - 1) * static_cast<int64_t>(kResultRecordSize),
          buffer.data(), buffer.size());
      // Shortened while being read (another copy deleted a record): read it again.
      if (s == FileStatus::Failed && file.lastError() == -1) {
        s = FileStatus::Conflict;
      }
    }
    if (s != FileStatus::Ok) {
      read.errorNumber = file.lastError();
      read.errorText = file.lastErrorText();
    }
    return s;
  });
  return read;
}

bool ReadAllResultRecords(const SharedState& state, Services& services,
                          std::vector<ResultRecord>& records, std::string& error) {
  records.clear();
  std::vector<unsigned char> bytes;
  const NewestRecords read = ReadNewestRecords(ResultsFilePath(state), services, kReaderRetry,
                                               std::numeric_limits<uint32_t>::max(), bytes);
  if (read.status != FileStatus::Ok) {
    error = ReadFailureText(read.errorText, ResultsFilePath(state));
    return false;
  }
  records.reserve(read.records);
  for (size_t i = 0; i < read.records; ++i) {
    records.push_back(DecodeResultRecord(bytes.data() + i * kResultRecordSize));
  }
  return true;
}

bool ReadResultRecord(const SharedState& state, Services& services, uint32_t n,
                      ResultRecord& record, std::string& error) {
  std::string failure;
  bool missing = false;
  const FileStatus st = RetryOnConflict(services, kReaderRetry, [&]() {
    ResultsFile file;
    FileStatus s = OpenResultsFile(state, file);
    uint32_t count = 0;
    if (s == FileStatus::Ok) {
      s = file.RecordCount(count);
    }
    if (s == FileStatus::Ok && (n < 1 || n > count)) {
      missing = true;
      return FileStatus::Failed;
    }
    if (s == FileStatus::Ok) {
      s = ReadRecordAt(file, n, record);
    }
    if (s != FileStatus::Ok) {
      failure = file.lastErrorText();
    }
    return s;
  });
  if (st == FileStatus::Ok) {
    return true;
  }
  error = missing ? "記録 " + std::to_string(n) + " はありません"
                  : ReadFailureText(failure, ResultsFilePath(state));
  return false;
}

bool RewriteResultRecord(const SharedState& state, Services& services, uint32_t n,
                         const ResultRecord& record, std::string& error,
                         const ResultRecord* expected, bool* stale) {
  std::string failure;
  bool missing = false;
  bool changed = false;
  const FileStatus st = RetryOnConflict(services, kWriterRetry, [&]() {
    ResultsFile file;
    FileStatus s = OpenLockedForWriting(ResultsFilePath(state), file);
    uint32_t count = 0;
    if (s == FileStatus::Ok) {
      s = file.RecordCount(count);
    }
    if (s == FileStatus::Ok && (n < 1 || n > count)) {
      missing = true;
      return FileStatus::Failed;
    }
    if (s == FileStatus::Ok && expected != nullptr) {
      unsigned char current[kResultRecordSize];
      s = file.ReadAt(static_cast<int64_t>(n - 1) * static_cast<int64_t>(kResultRecordSize),
                      current, kResultRecordSize);
      if (s == FileStatus::Ok && !HoldsRecord(current, *expected)) {
        changed = true;
        return FileStatus::Failed;
      }
      if (s == FileStatus::Conflict) {
        s = FileStatus::Failed;
      }
    }
    if (s == FileStatus::Ok) {
      unsigned char bytes[kResultRecordSize];
      EncodeResultRecord(record, bytes);
      s = file.WriteAt(static_cast<int64_t>(n - 1) * static_cast<int64_t>(kResultRecordSize), bytes,
                       kResultRecordSize);
      if (s == FileStatus::Ok) {
        s = file.Sync();
      }
      if (s == FileStatus::Conflict) {
        s = FileStatus::Failed;
      }
    }
    if (s != FileStatus::Ok) {
      failure = file.lastErrorText();
    }
    return s;
  });
  if (st == FileStatus::Ok) {
    return true;
  }
  if (stale != nullptr) {
    *stale = changed || (missing && expected != nullptr);
  }
  if (changed) {
    error = ChangedRecordText(n);
  } else if (missing) {
    error = "記録 " + std::to_string(n) + " はありません";
  } else {
    error = WriteFailureText(st, failure, ResultsFilePath(state));
  }
  return false;
}

bool DeleteResultRecord(const SharedState& state, Services& services, uint32_t n,
                        std::string& error, const DeleteStepHook& afterStep,
                        const ResultRecord* expected, bool* stale) {
  const std::string path = ResultsFilePath(state);
  const std::string copyPath = ResultsSafetyCopyPath(state);
  const std::string newPath = ResultsNewFilePath(state);
  const std::string folder = FolderOf(path);
  auto proceed = [&](DeleteStep step) { return !afterStep || afterStep(step); };

  enum class Outcome { Done, Stopped, Missing, Changed, LeftOver, Error };
  Outcome outcome = Outcome::Error;
  std::string failure;
  uint32_t firstCopySeenMs = 0;
  bool copySeen = false;

  const FileStatus st = RetryOnConflict(services, kWriterRetry, [&]() {
    ResultsFile file;
    FileStatus s = OpenLockedForWriting(ResultsFilePath(state), file);
    if (s != FileStatus::Ok) {
      failure = file.lastErrorText();
      return s;
    }
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

    int64_t length = 0;
    s = file.Length(length);
    std::string bytes;
    if (s == FileStatus::Ok) {
      bytes.resize(static_cast<size_t>(length));
      s = file.ReadAt(0, bytes.data(), bytes.size());
    }
    if (s != FileStatus::Ok) {
      failure = file.lastErrorText();
      return s == FileStatus::Conflict ? FileStatus::Failed : s;
    }
    const uint64_t count = bytes.size() / kResultRecordSize;
    if (n < 1 || n > count) {
      outcome = Outcome::Missing;
      return FileStatus::Failed;
    }
    if (expected != nullptr && !HoldsRecord(reinterpret_cast<const unsigned char*>(bytes.data()) +
                                                static_cast<size_t>(n - 1) * kResultRecordSize,
                                            *expected)) {
      outcome = Outcome::Changed;
      return FileStatus::Failed;
    }

    // The safety copy: every byte of the file as it is.
    bool stopped = false;
    if (!WriteNewFile(
            copyPath, bytes, true, [&]() { return proceed(DeleteStep::CopyPartWritten); }, failure,
            stopped)) {
      outcome = stopped ? Outcome::Stopped : Outcome::Error;
      return FileStatus::Failed;
    }
    SyncFolder(folder);
    if (!proceed(DeleteStep::CopyWritten)) {
      outcome = Outcome::Stopped;
      return FileStatus::Failed;
    }

    // The new file: every complete record but record n.
    std::string kept;
    kept.reserve(static_cast<size_t>(count - 1) * kResultRecordSize);
    kept.append(bytes, 0, static_cast<size_t>(n - 1) * kResultRecordSize);
    kept.append(bytes, static_cast<size_t>(n) * kResultRecordSize,
                static_cast<size_t>(count - n) * kResultRecordSize);
    if (!WriteNewFile(
            newPath, kept, false, [&]() { return proceed(DeleteStep::NewPartWritten); }, failure,
            stopped)) {
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

    // One step from the old file to the new one, although it is open here and maybe elsewhere.
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

  if (st == FileStatus::Ok) {
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
      error = "記録 " + std::to_string(n) + " はありません";
      break;
    case Outcome::Changed:
      error = ChangedRecordText(n);
      break;
    case Outcome::LeftOver:
      error = DetectInterruptedDelete(state);
      break;
    default:
      error = st == FileStatus::Conflict
                  ? "成績ファイルが他のコンピュータで使用中のため、消去できませんでした（" +
                        failure + "）"
                  : "記録を消去できませんでした（" + failure + "）。記録は消去前のままです";
      break;
  }
  return false;
}

std::string DetectInterruptedDelete(const SharedState& state) {
  const std::string copyPath = ResultsSafetyCopyPath(state);
  if (!PathExists(copyPath)) {
    return {};
  }
  std::string copy;
  std::string current;
  {
    ResultsFile f;
    int64_t length = 0;
    if (f.OpenForReading(copyPath) == FileStatus::Ok && f.Length(length) == FileStatus::Ok) {
      copy.resize(static_cast<size_t>(length));
      if (f.ReadAt(0, copy.data(), copy.size()) != FileStatus::Ok) {
        copy.clear();
      }
    }
  }
  {
    ResultsFile f;
    int64_t length = 0;
    if (f.OpenForReading(ResultsFilePath(state)) == FileStatus::Ok &&
        f.Length(length) == FileStatus::Ok) {
      current.resize(static_cast<size_t>(length));
      if (f.ReadAt(0, current.data(), current.size()) != FileStatus::Ok) {
        current.clear();
      }
    }
  }
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
