#include <algorithm>
#include <bit>

#include "core/platform/file_replace.h"
#include "core/platform/locked_file.h"
#include "core/platform/native_api.h"
#include "core/platform/system_error.h"
#include "core/platform/wide_text_win.h"

namespace numora {

namespace {

HANDLE Handle(intptr_t native) {
  return std::bit_cast<HANDLE>(native);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenShared(const std::string& utf8Path, DWORD access, DWORD disposition) {
  return CreateFileW(WideFromUtf8(utf8Path).c_str(), access, kShareAll, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool IsFolder(const std::string& utf8Path) {
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(utf8Path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The whole file, however long it grows.
OVERLAPPED AtStart() {
  return OVERLAPPED{};
}

OVERLAPPED AtOffset(int64_t offset) {
  OVERLAPPED ov{};
  ov.Offset = static_cast<DWORD>(offset);
  ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return ov;
}

// One transfer is at most 1 GiB (a DWORD counts its bytes).
DWORD Chunk(size_t n) {
  return static_cast<DWORD>(std::min<size_t>(n, size_t{1} << 30));
}

}  // namespace

FileStatus LockedFile::Fail() {
  lastError_ = static_cast<int>(GetLastError());
  return IsSharingConflict(lastError_, false) ? FileStatus::Conflict : FileStatus::Failed;
}

// Only a file on a disk is opened: a device or pipe under its name is refused.
FileStatus LockedFile::RefuseUnlessDiskFile() {
  if (GetFileType(Handle(native_)) == FILE_TYPE_DISK) {
    return FileStatus::Ok;
  }
  Close();
  lastError_ = kErrorNotRegularFile;
  return FileStatus::Failed;
}

FileStatus LockedFile::OpenNative(bool forWriting) {
  if (!forWriting) {
    HANDLE h = OpenShared(path_, GENERIC_READ, OPEN_EXISTING);
    if (h == INVALID_HANDLE_VALUE) {
      return Fail();
    }
    native_ = std::bit_cast<intptr_t>(h);
    return FileStatus::Ok;
  }
  HANDLE h = OpenShared(path_, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
    // Missing while another copy puts a new file in its place: busy, not to be created anew.
    if (GetFileAttributesW(WideFromUtf8(ReplacingNameOf(path_)).c_str()) !=
        INVALID_FILE_ATTRIBUTES) {
      lastError_ = ERROR_SHARING_VIOLATION;
      return FileStatus::Conflict;
    }
    h = OpenShared(path_, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
  }
  if (h == INVALID_HANDLE_VALUE) {
    // A folder under the file's name is refused as what it is, not as "access denied".
    const DWORD error = GetLastError();
    if (IsFolder(path_)) {
      lastError_ = kErrorNotRegularFile;
      return FileStatus::Failed;
    }
    SetLastError(error);
    return Fail();
  }
  native_ = std::bit_cast<intptr_t>(h);
  return FileStatus::Ok;
}

void LockedFile::Close() {
  if (native_ == kClosed) {
    return;
  }
  Unlock();
  CloseHandle(Handle(native_));
  native_ = kClosed;
}

FileStatus LockedFile::Length(int64_t& bytes) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(Handle(native_), &size)) {
    return Fail();
  }
  bytes = size.QuadPart;
  return FileStatus::Ok;
}

int64_t LockedFile::ReadSome(int64_t offset, void* buffer, size_t n) {
  OVERLAPPED ov = AtOffset(offset);
  DWORD got = 0;
  if (!ReadFile(Handle(native_), buffer, Chunk(n), &got, &ov)) {
    // Reading at or past the end of the file is no error: nothing more is there.
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  }
  return got;
}

int64_t LockedFile::WriteSome(int64_t offset, const void* buffer, size_t n) {
  OVERLAPPED ov = AtOffset(offset);
  DWORD put = 0;
  if (!WriteFile(Handle(native_), buffer, Chunk(n), &put, &ov)) {
    return -1;
  }
  return put;
}

FileStatus LockedFile::Truncate(int64_t bytes) {
  FILE_END_OF_FILE_INFO info{};
  info.EndOfFile.QuadPart = bytes;
  if (!SetFileInformationByHandle(Handle(native_), FileEndOfFileInfo, &info, sizeof info)) {
    return Fail();
  }
  return FileStatus::Ok;
}

FileStatus LockedFile::Sync() {
  if (!FlushFileBuffers(Handle(native_))) {
    return Fail();
  }
  return FileStatus::Ok;
}

int LockedFile::LockNative() {
  OVERLAPPED ov = AtStart();
  if (!LockFileEx(Handle(native_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                  MAXDWORD, &ov)) {
    return static_cast<int>(GetLastError());
  }
  return 0;
}

void LockedFile::UnlockNative() {
  OVERLAPPED ov = AtStart();
  UnlockFileEx(Handle(native_), 0, MAXDWORD, MAXDWORD, &ov);
}

bool LockedFile::StillAtPath() const {
  BY_HANDLE_FILE_INFORMATION mine{};
  if (!GetFileInformationByHandle(Handle(native_), &mine)) {
    return false;
  }
  HANDLE other = OpenShared(path_, 0, OPEN_EXISTING);
  if (other == INVALID_HANDLE_VALUE) {
    return false;
  }
  BY_HANDLE_FILE_INFORMATION theirs{};
  const bool got = GetFileInformationByHandle(other, &theirs) != 0;
  CloseHandle(other);
  return got && mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
         mine.nFileIndexHigh == theirs.nFileIndexHigh && mine.nFileIndexLow == theirs.nFileIndexLow;
}

}  // namespace numora
