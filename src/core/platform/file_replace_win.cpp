#include <windows.h>

#include <cstring>
#include <vector>

#include "core/platform/file_replace.h"
#include "core/platform/system_error.h"
#include "core/platform/wide_text_win.h"

namespace numora {

namespace {

// FileRenameInfoEx of FILE_INFO_BY_HANDLE_CLASS (Windows 10 1709 and later); the toolchain's
// header offers the name only under a version test that never holds.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);

// Another program holding the file for now is worth waiting for; access denied is not.
bool IsBusyError(DWORD e) {
  return IsSharingConflict(static_cast<int>(e), false);
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) {
    return path;
  }
  std::wstring full(n, L'\0');
  const DWORD got = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  full.resize(got < n ? got : 0);
  return full.empty() ? path : full;
}

// The new file renamed over the old one with POSIX semantics: the old file may stay open.
bool RenameWithPosixSemantics(const std::wstring& from, const std::wstring& to, DWORD& error) {
  HANDLE h = CreateFileW(from.c_str(), DELETE | SYNCHRONIZE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return false;
  }
  const std::wstring target = FullPath(to);
  const size_t nameBytes = target.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(info->FileName, target.data(), nameBytes);
  const bool ok = SetFileInformationByHandle(h, kFileRenameInfoEx, info,
                                             static_cast<DWORD>(buffer.size())) != 0;
  error = ok ? 0 : GetLastError();
  CloseHandle(h);
  return ok;
}

}  // namespace

bool ReplaceOpenFile(const std::string& fromPath, const std::string& toPath, int& systemError,
                     bool& busy) {
  busy = false;
  systemError = 0;
  const std::wstring from = WideFromUtf8(fromPath);
  const std::wstring to = WideFromUtf8(toPath);
  DWORD error = 0;
  // Only a file is replaced: a folder under its name stays as it is.
  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    systemError = kErrorNotRegularFile;
    return false;
  }
  if (RenameWithPosixSemantics(from, to, error)) {
    return true;
  }
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Nothing to replace yet: a plain rename puts the new file in place.
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
      systemError = static_cast<int>(error);
      busy = IsBusyError(error);
      return false;
    }
    // Another program copy put its file there meanwhile: replace that one as below.
  }
  // Not offered here (older systems, many network shares): the old file steps aside first.
  const std::wstring aside = WideFromUtf8(ReplacingNameOf(toPath));
  if (!MoveFileExW(to.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
    systemError = static_cast<int>(error);
    // Gone for a moment: another copy is replacing it the same way.
    busy = IsBusyError(error) || error == ERROR_FILE_NOT_FOUND;
    return false;
  }
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
    MoveFileExW(aside.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH);  // the old file back
    systemError = static_cast<int>(error);
    busy = IsBusyError(error);
    return false;
  }
  DeleteFileW(aside.c_str());
  return true;
}

std::string ReplacingNameOf(const std::string& path) {
  return path + ".replacing";
}

}  // namespace numora
