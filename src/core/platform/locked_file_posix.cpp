#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/platform/locked_file.h"
#include "core/platform/system_error.h"

namespace numora {

namespace {

int Fd(intptr_t native) {
  return static_cast<int>(native);
}

// Opens with the flags, again when a signal interrupted the call; -1 with errno on failure.
int OpenRetryingInterrupts(const std::string& path, int flags) {
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

#ifdef F_OFD_SETLK
// Open-file-description locks: owned by this open file, so they are not dropped when another
// descriptor of the same file is closed and they exclude other opens in the same process.
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

}  // namespace

FileStatus LockedFile::Fail() {
  lastError_ = errno;
  return IsSharingConflict(lastError_, false) ? FileStatus::Conflict : FileStatus::Failed;
}

// Only a regular file is opened. The open does not wait (O_NONBLOCK), so a pipe or device under
// its name is refused here instead of blocking the first read.
FileStatus LockedFile::RefuseUnlessDiskFile() {
  struct stat st {};
  if (::fstat(Fd(native_), &st) == 0 && S_ISREG(st.st_mode)) {
    return FileStatus::Ok;
  }
  Close();
  lastError_ = kErrorNotRegularFile;
  return FileStatus::Failed;
}

FileStatus LockedFile::OpenNative(bool forWriting) {
  const int flags = (forWriting ? O_RDWR | O_CREAT : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  const int fd = OpenRetryingInterrupts(path_, flags);
  if (fd < 0) {
    return Fail();
  }
  native_ = fd;
  return FileStatus::Ok;
}

void LockedFile::Close() {
  if (native_ == kClosed) {
    return;
  }
  Unlock();
  ::close(Fd(native_));
  native_ = kClosed;
}

FileStatus LockedFile::Length(int64_t& bytes) {
  struct stat st {};
  if (::fstat(Fd(native_), &st) != 0) {
    return Fail();
  }
  bytes = static_cast<int64_t>(st.st_size);
  return FileStatus::Ok;
}

int64_t LockedFile::ReadSome(int64_t offset, void* buffer, size_t n) {
  ssize_t got = 0;
  do {
    got = ::pread(Fd(native_), buffer, n, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  return got;
}

int64_t LockedFile::WriteSome(int64_t offset, const void* buffer, size_t n) {
  ssize_t put = 0;
  do {
    put = ::pwrite(Fd(native_), buffer, n, static_cast<off_t>(offset));
  } while (put < 0 && errno == EINTR);
  return put;
}

FileStatus LockedFile::Truncate(int64_t bytes) {
  if (::ftruncate(Fd(native_), static_cast<off_t>(bytes)) != 0) {
    return Fail();
  }
  return FileStatus::Ok;
}

FileStatus LockedFile::Sync() {
  if (::fsync(Fd(native_)) != 0) {
    return Fail();
  }
  return FileStatus::Ok;
}

int LockedFile::LockNative() {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;  // the whole file, however long it grows
  int rc = 0;
  do {
    rc = ::fcntl(Fd(native_), kSetLock, &lock);
  } while (rc != 0 && errno == EINTR);
  return rc == 0 ? 0 : errno;
}

void LockedFile::UnlockNative() {
  struct flock lock {};
  lock.l_type = F_UNLCK;
  lock.l_whence = SEEK_SET;
  ::fcntl(Fd(native_), kSetLock, &lock);
}

bool LockedFile::StillAtPath() const {
  struct stat mine {};
  struct stat theirs {};
  if (::fstat(Fd(native_), &mine) != 0 || ::stat(path_.c_str(), &theirs) != 0) {
    return false;
  }
  return mine.st_dev == theirs.st_dev && mine.st_ino == theirs.st_ino;
}

}  // namespace numora
