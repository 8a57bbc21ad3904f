#pragma once

// Folder paths as the program keeps them: UTF-8 text, each folder value ending with a separator.
// The rules of both platforms are here as plain text functions so that either set can be tested
// anywhere; the program uses the native one (kNativePathStyle).
//
// Windows: "\" and "/" both separate; a folder's root is its drive ("C:\") or, on a network
// folder, its server and share ("\\server\share\"); the extended-length prefixes "\\?\" and
// "\\?\UNC\" that the system may put in front of the executable's path are removed.
// POSIX: "/" separates and the root is "/".

#include <string>
#include <string_view>

namespace numora {

enum class PathStyle { Posix, Windows };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// What the name of an executable file ends with.
inline constexpr const char* kExecutableSuffix =
    kNativePathStyle == PathStyle::Windows ? ".exe" : "";

bool IsFolderSeparator(char c, PathStyle style = kNativePathStyle);
// The separator the program writes at the end of each folder.
char FolderSeparator(PathStyle style = kNativePathStyle);

// The folder followed by one separator (unchanged when it already ends with one).
std::string WithClosingSeparator(std::string folder, PathStyle style = kNativePathStyle);
// The folder without its closing separators; a root ("C:\", "\\server\share\", "/") keeps its own.
std::string WithoutClosingSeparator(std::string folder, PathStyle style = kNativePathStyle);
// The last component of a folder path ("D:\Root\Apps\Divisors\" gives "Divisors").
std::string LastComponent(const std::string& folder, PathStyle style = kNativePathStyle);
// The root of a path, ending with a separator: "C:\", "\\server\share\", "/". A relative path
// gives its first component with a separator, as far as it goes.
std::string RootOf(const std::string& path, PathStyle style = kNativePathStyle);
// The folder of an executable's full path, ending with a separator; on Windows without the
// extended-length prefix ("\\?\C:\A\b.exe" gives "C:\A\", "\\?\UNC\srv\sh\b.exe" "\\srv\sh\").
std::string FolderOfExecutablePath(std::string path, PathStyle style = kNativePathStyle);

}  // namespace numora
