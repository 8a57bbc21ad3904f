#pragma once

#include <string>
#include <string_view>

namespace numora {

// Problems the program finds itself before the operating system is asked, given numbers that no
// system error uses so that they travel with the system's own error numbers.
inline constexpr int kErrorNotRegularFile = -1001;  // a folder, device, pipe … where a file belongs
inline constexpr int kErrorFileTooLarge = -1002;    // larger than the program reads into memory
inline constexpr int kErrorShortFile = -1;          // a read met the end of the file

// Japanese text for an operating-system error number (errno on POSIX, GetLastError() on Windows)
// or one of the numbers above, in plain words: "アクセスが拒否されました（読み書きの権限が
// ありません）". Uncommon numbers give a general text with the number. The system's own (English)
// descriptions never reach the user.
std::string SystemErrorText(int error);

// True when the error means that another user holds the file or its lock, so that waiting and
// trying again can help. Access denied, a missing file or folder, a read-only drive and a full disk
// are not conflicts: waiting does not mend them.
bool IsSharingConflict(int error, bool whileLocking);

// True when the error says that no file has the name (ENOENT; ERROR_FILE_NOT_FOUND on Windows).
bool IsMissingFileError(int error);

// A path or field as messages quote it: at most 200 characters; a longer text keeps its first
// 199 characters followed by "…".
std::string Quoted(std::string_view utf8);

}  // namespace numora
