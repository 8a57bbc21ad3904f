#include "core/platform/locked_file.h"

#include <utility>

#include "core/platform/system_error.h"

namespace numora {

LockedFile::~LockedFile() {
  Close();
}

LockedFile::LockedFile(LockedFile&& other) noexcept {
  *this = std::move(other);
}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
  if (this != &other) {
    Close();
    path_ = std::move(other.path_);
    lastError_ = other.lastError_;
    locked_ = std::exchange(other.locked_, false);
    native_ = std::exchange(other.native_, kClosed);
  }
  return *this;
}

FileStatus LockedFile::Open(const std::string& utf8Path) {
  Close();
  path_ = utf8Path;
  const FileStatus st = OpenNative(true);
  return st == FileStatus::Ok ? RefuseUnlessDiskFile() : st;
}

FileStatus LockedFile::OpenForReading(const std::string& utf8Path) {
  Close();
  path_ = utf8Path;
  const FileStatus st = OpenNative(false);
  return st == FileStatus::Ok ? RefuseUnlessDiskFile() : st;
}

FileStatus LockedFile::ReadAt(int64_t offset, void* buffer, size_t n) {
  auto* p = static_cast<unsigned char*>(buffer);
  while (n > 0) {
    const int64_t got = ReadSome(offset, p, n);
    if (got < 0) {
      return Fail();
    }
    if (got == 0) {
      lastError_ = kErrorShortFile;
      return FileStatus::Failed;
    }
    p += got;
    offset += got;
    n -= static_cast<size_t>(got);
  }
  return FileStatus::Ok;
}

FileStatus LockedFile::WriteAt(int64_t offset, const void* buffer, size_t n) {
  const auto* p = static_cast<const unsigned char*>(buffer);
  while (n > 0) {
    const int64_t put = WriteSome(offset, p, n);
    if (put < 0) {
      return Fail();
    }
    p += put;
    offset += put;
    n -= static_cast<size_t>(put);
  }
  return FileStatus::Ok;
}

FileStatus LockedFile::TryLock() {
  const int error = LockNative();
  if (error != 0) {
    lastError_ = error;
    return IsSharingConflict(error, true) ? FileStatus::Conflict : FileStatus::Failed;
  }
  locked_ = true;
  return FileStatus::Ok;
}

void LockedFile::Unlock() {
  if (!locked_) {
    return;
  }
  UnlockNative();
  locked_ = false;
}

bool LockedFile::IsOpen() const {
  return native_ != kClosed;
}

std::string LockedFile::lastErrorText() const {
  return SystemErrorText(lastError_);
}

}  // namespace numora
