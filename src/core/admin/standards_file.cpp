#include "core/admin/standards_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <utility>

#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "core/platform/file_replace.h"
#include "core/platform/system_error.h"
#include "core/platform/value.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace numora {

namespace {

constexpr const char* kFileName = "タイム回数データ.txt";

std::string FileLabel() {
  return std::string("基準データファイル「") + kFileName + "」";
}

// A name for the new file that no other program copy (on this or another computer sharing the
// folder) chooses at the same time.
std::string NewFileName(const std::string& path) {
  std::random_device device;
  const uint64_t token = (static_cast<uint64_t>(device()) << 32) ^ device();
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(token));
  return path + ".new-" + hex;
}

#ifdef _WIN32
std::wstring Wide(const std::string& utf8) {
  const std::u8string u(utf8.begin(), utf8.end());
  return std::filesystem::path(u).wstring();
}

bool WriteDurably(const std::string& path, const std::string& bytes, std::string& reason) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    reason =
        "新しいファイルを作れません（" + SystemErrorText(static_cast<int>(GetLastError())) + "）";
    return false;
  }
  DWORD done = 0;
  bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) != 0 &&
            done == bytes.size() && FlushFileBuffers(h) != 0;
  if (!ok) {
    reason = "書き込めません（" + SystemErrorText(static_cast<int>(GetLastError())) + "）";
  }
  CloseHandle(h);
  return ok;
}

// Windows refuses a plain rename over a file that is open (a reader, another program copy's
// save), so the replacement goes through ReplaceOpenFile. A file held for a moment without
// sharing its deletion is waited for briefly.
bool RenameOver(const std::string& from, const std::string& to, std::string& reason) {
  constexpr int kTries = 20;
  constexpr DWORD kPauseMs = 50;
  int systemError = 0;
  for (int attempt = 1;; ++attempt) {
    bool busy = false;
    if (ReplaceOpenFile(from, to, systemError, busy)) {
      return true;
    }
    if (!busy || attempt == kTries) {
      break;
    }
    Sleep(kPauseMs);
  }
  reason = "ファイルを置き換えられません（" + SystemErrorText(systemError) + "）";
  return false;
}

void RemoveQuietly(const std::string& path) {
  DeleteFileW(Wide(path).c_str());
}
#else
bool WriteDurably(const std::string& path, const std::string& bytes, std::string& reason) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    reason = std::string("新しいファイルを作れません（") + SystemErrorText(errno) + "）";
    return false;
  }
  size_t from = 0;
  bool ok = true;
  while (ok && from < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + from, bytes.size() - from);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      ok = false;
    } else {
      from += static_cast<size_t>(n);
    }
  }
  ok = ok && ::fsync(fd) == 0;
  if (!ok) {
    reason = std::string("書き込めません（") + SystemErrorText(errno) + "）";
  }
  ::close(fd);
  return ok;
}

bool RenameOver(const std::string& from, const std::string& to, std::string& reason) {
  if (::rename(from.c_str(), to.c_str()) == 0) {
    // Make the rename itself durable.
    const std::string folder = PathText(std::filesystem::u8path(to).parent_path());
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
      ::fsync(fd);
      ::close(fd);
    }
    return true;
  }
  reason = std::string("ファイルを置き換えられません（") + SystemErrorText(errno) + "）";
  return false;
}

void RemoveQuietly(const std::string& path) {
  ::unlink(path.c_str());
}
#endif

// A cell holding a comma, a double quote or a line break, which the file cannot carry.
std::string UnwritableCellMessage(int level, const std::string& head, int column,
                                  const std::string& cell) {
  const std::string name = head.empty() ? std::to_string(column) + "列目" : head;
  return "レベル" + std::to_string(level) + "の「" + name + "」の「" + cell +
         "」には , や \" は使えません（ファイルに書けない文字です）。直してから記録してください。";
}

}  // namespace

StandardsGridReading ReadStandardsGrid(const std::string& utf8Path) {
  StandardsGridReading reading;
  std::string bytes;
  if (!ReadWholeFile(utf8Path, bytes)) {
    reading.error = FileLabel() + "が見つからないか読めません。表は空のまま開きます。" +
                    "このファイルは上書きしません。\n" + ShownPath(utf8Path);
    return reading;
  }
  reading.ok = true;
  FieldReader in = FieldReader::FromBytes(bytes);
  int line = -1;
  while (!in.AtEnd()) {
    ++line;
    StandardsRow row;
    for (std::string& cell : row) {
      if (in.AtEnd()) {
        reading.incompleteLastRow = true;
      }
      cell = Value::FromField(in.NextText()).Text();
    }
    if (line > 0) {
      reading.rows.push_back(std::move(row));
    }
  }
  if (reading.incompleteLastRow) {
    reading.notice = FileLabel() + "の最後の行は途中で終わっています（レベル" +
                     std::to_string(reading.rows.size()) + "）。足りない欄は空で表示します。\n" +
                     ShownPath(utf8Path);
  }
  if (reading.rows.size() > static_cast<size_t>(kMaxStandardsLevels)) {
    if (!reading.notice.empty()) {
      reading.notice += "\n";
    }
    reading.notice += FileLabel() + "にはレベルが" + std::to_string(reading.rows.size()) +
                      "行あります。プログラムが使うのはレベル35までです。このままでは記録" +
                      "できません。ファイルからレベル36以降の行を消してください。\n" +
                      ShownPath(utf8Path);
  }
  return reading;
}

bool SaveStandardsFile(const std::string& utf8Path, const std::vector<StandardsRow>& rows,
                       std::string& error) {
  const std::string notSaved = "記録しませんでした（ファイルは元のままです）。";
  if (rows.size() > static_cast<size_t>(kMaxStandardsLevels) + 1) {
    error = "レベルの行が" + std::to_string(rows.size() - 1) +
            "行あります。プログラムが使えるのはレベル35までなので、" + notSaved +
            "ファイルからレベル36以降の行を消してから「元に戻す」を押してください。\n" +
            ShownPath(utf8Path);
    return false;
  }
  const StandardsRow header = StandardsHeaderRow();
  std::string text;
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      const std::string& cell = rows[r][c];
      if (cell.find_first_of(",\"\r\n") != std::string::npos) {
        error =
            UnwritableCellMessage(static_cast<int>(r), header[c], static_cast<int>(c) + 1, cell) +
            notSaved;
        return false;
      }
      text += cell;
      text += c + 1 < rows[r].size() ? "," : "\r\n";
    }
  }
  bool convertible = true;
  const std::string bytes = Utf8ToCp932(text, &convertible);
  if (!convertible) {
    error = "Shift-JIS で書けない文字が入っています。直してから記録してください。" + notSaved;
    return false;
  }
  const std::string fresh = NewFileName(utf8Path);
  std::string reason;
  if (!WriteDurably(fresh, bytes, reason) || !RenameOver(fresh, utf8Path, reason)) {
    RemoveQuietly(fresh);
    error = FileLabel() + "に書き込めません（" + reason + "）。" + notSaved +
            "フォルダーに書き込めるか、ディスクに空きがあるかを確かめてください。\n" +
            ShownPath(utf8Path);
    return false;
  }
  return true;
}

}  // namespace numora
