#include <atomic>
#include <cstring>
#include <vector>

#include "core/platform/file_replace.h"
#include "core/platform/native_api.h"
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

// Deletes the old file that stood aside. Another program may still have it open, and a file
// deleted while open keeps its name until it is closed, so it first takes a name of its own:
// the aside name is free at once for the next replacement.
void DiscardAside(const std::wstring& aside) {
  static std::atomic<unsigned> counter{0};
  const std::wstring discarded =
      aside + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(counter++);
  const bool renamed = MoveFileExW(aside.c_str(), discarded.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  DeleteFileW(renamed ? discarded.c_str() : aside.c_str());
}

// The old file steps aside, the new one takes its name, and the old one is discarded; or, when
// there is no file to replace, a plain rename. Only one copy at a time runs this (the guard).
bool ReplaceStepByStep(const std::wstring& from, const std::wstring& to, const std::wstring& aside,
                       int& systemError, bool& busy) {
  if (GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    systemError = static_cast<int>(error);
    // A file put there meanwhile is replaced on the next try.
    busy = IsBusyError(error) || error == ERROR_ALREADY_EXISTS;
    return false;
  }
  if (!MoveFileExW(to.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    systemError = static_cast<int>(error);
    // An old file left aside that is still open elsewhere, or the file held without shared
    // deletion: worth another try.
    busy = IsBusyError(error) || error == ERROR_ACCESS_DENIED;
    return false;
  }
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    MoveFileExW(aside.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH);  // the old file back
    systemError = static_cast<int>(error);
    busy = IsBusyError(error);
    return false;
  }
  DiscardAside(aside);
  return true;
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
  // Not offered here (older systems, many network shares, wine): one program copy at a time
  // replaces the file the slow way, as its name is empty for a moment. The guard is a file opened
  // without sharing; it goes when closed, also when the program dies.
  const std::wstring guardName = WideFromUtf8(ReplacingNameOf(toPath) + ".guard");
  HANDLE guard = CreateFileW(guardName.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (guard == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    systemError = static_cast<int>(error);
    // Held, or just being removed, by another copy.
    busy = IsBusyError(error) || error == ERROR_ACCESS_DENIED;
    return false;
  }
  const bool replaced =
      ReplaceStepByStep(from, to, WideFromUtf8(ReplacingNameOf(toPath)), systemError, busy);
  CloseHandle(guard);
  return replaced;
}

std::string ReplacingNameOf(const std::string& path) {
  return path + ".replacing";
}

bool WriteNewFile(const std::string& path, const std::string& bytes, bool exclusive,
                  const std::function<bool()>& atHalf, std::string& error, bool& stopped) {
  stopped = false;
  HANDLE h = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr,
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
  if (ok) {
    ok = FlushFileBuffers(h) != 0;
  }
  if (!ok) {
    error = Quoted(path) + " に書き込めません（" +
            SystemErrorText(static_cast<int>(GetLastError())) + "）";
  }
  CloseHandle(h);
  if (!ok) {
    DeleteFileW(WideFromUtf8(path).c_str());  // an unfinished file of our own is of no use
  }
  return ok;
}

void SyncFolder(const std::string& /*folder*/) {}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RemoveFile(const std::string& path) {
  return DeleteFileW(WideFromUtf8(path).c_str()) != 0;
}

}  // namespace numora
