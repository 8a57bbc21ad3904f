#include "core/platform/paths.h"

namespace numora {

namespace {

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Length of the root at the start of a path (0 when there is none).
size_t RootLength(const std::string& path, PathStyle style) {
  if (style == PathStyle::Posix) {
    return !path.empty() && path[0] == '/' ? 1 : 0;
  }
  auto sep = [&](size_t i) { return i < path.size() && IsFolderSeparator(path[i], style); };
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':') {
    return sep(2) ? 3 : 2;  // "C:\" or a drive-relative "C:"
  }
  if (sep(0) && sep(1)) {
    // "\\server\share\": up to and including the separator after the share.
    size_t i = 2;
    for (int part = 0; part < 2; ++part) {
      while (i < path.size() && !sep(i)) {
        ++i;
      }
      if (part == 0) {
        ++i;
      }
    }
    return sep(i) ? i + 1 : path.size();
  }
  return sep(0) ? 1 : 0;
}

}  // namespace

bool IsFolderSeparator(char c, PathStyle style) {
  return c == '/' || (style == PathStyle::Windows && c == '\\');
}

char FolderSeparator(PathStyle style) {
  return style == PathStyle::Windows ? '\\' : '/';
}

std::string WithClosingSeparator(std::string folder, PathStyle style) {
  if (folder.empty() || !IsFolderSeparator(folder.back(), style)) {
    folder += FolderSeparator(style);
  }
  return folder;
}

std::string WithoutClosingSeparator(std::string folder, PathStyle style) {
  const size_t root = RootLength(folder, style);
  while (folder.size() > root && folder.size() > 1 && IsFolderSeparator(folder.back(), style)) {
    folder.pop_back();
  }
  return folder;
}

std::string LastComponent(const std::string& folder, PathStyle style) {
  const std::string path = WithoutClosingSeparator(folder, style);
  size_t i = path.size();
  while (i > 0 && !IsFolderSeparator(path[i - 1], style)) {
    --i;
  }
  return path.substr(i);
}

std::string RootOf(const std::string& path, PathStyle style) {
  const size_t root = RootLength(path, style);
  if (root > 0) {
    return WithClosingSeparator(path.substr(0, root), style);
  }
  // No root: everything up to and including the first separator.
  size_t i = 0;
  while (i < path.size() && !IsFolderSeparator(path[i], style)) {
    ++i;
  }
  return i < path.size() ? path.substr(0, i + 1) : std::string(1, FolderSeparator(style));
}

std::string FolderOfExecutablePath(std::string path, PathStyle style) {
  if (style == PathStyle::Windows) {
    if (path.rfind("\\\\?\\UNC\\", 0) == 0) {
      path = "\\\\" + path.substr(8);
    } else if (path.rfind("\\\\?\\", 0) == 0) {
      path = path.substr(4);
    }
  }
  size_t i = path.size();
  while (i > 0 && !IsFolderSeparator(path[i - 1], style)) {
    --i;
  }
  if (i == 0) {
    return std::string(".") + FolderSeparator(style);
  }
  return path.substr(0, i);
}

}  // namespace numora
