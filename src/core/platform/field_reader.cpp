#include "core/platform/field_reader.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "core/platform/cp932.h"
#include "core/platform/file_replace.h"
#include "core/platform/native_api.h"
#include "core/platform/system_error.h"

namespace numora {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsLineBreak(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

#ifdef _WIN32

int RegularFileProblem(const std::string& utf8Path) {
  std::error_code ec;
  const auto st = std::filesystem::status(std::filesystem::u8path(utf8Path), ec);
  if (ec) {
    return ec.value();
  }
  if (!std::filesystem::exists(st)) {
    return ERROR_FILE_NOT_FOUND;
  }
  return std::filesystem::is_regular_file(st) ? 0 : kErrorNotRegularFile;
}

namespace {

bool ReadWholeFileOnce(const std::string& utf8Path, std::string& bytes, int& error,
                       size_t maxBytes) {
  error = RegularFileProblem(utf8Path);
  if (error != 0) {
    return false;
  }
  // Opened with every sharing right, deletion included, so that another program copy may replace
  // the file while it is read here (the reading goes on in the old file).
  HANDLE h = CreateFileW(std::filesystem::u8path(utf8Path).wstring().c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = static_cast<int>(GetLastError());
    return false;
  }
  LARGE_INTEGER size{};
  if (GetFileType(h) != FILE_TYPE_DISK) {
    error = kErrorNotRegularFile;
  } else if (!GetFileSizeEx(h, &size)) {
    error = static_cast<int>(GetLastError());
  } else if (static_cast<uint64_t>(size.QuadPart) > maxBytes) {
    error = kErrorFileTooLarge;
  }
  std::string data;
  if (error == 0) {
    data.reserve(static_cast<size_t>(size.QuadPart));
    char chunk[65536];
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(h, chunk, sizeof chunk, &got, nullptr)) {
        error = static_cast<int>(GetLastError());
        break;
      }
      if (got == 0) {
        break;
      }
      if (data.size() + got > maxBytes) {
        error = kErrorFileTooLarge;
        break;
      }
      data.append(chunk, got);
    }
  }
  CloseHandle(h);
  if (error != 0) {
    return false;
  }
  bytes = std::move(data);
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& utf8Path, std::string& bytes, int& error, size_t maxBytes) {
  // Where a replacement cannot rename over the open file in one step, the name is empty for a
  // moment while the old file stands aside (see ReplaceOpenFile): that is waited for briefly.
  constexpr int kTries = 100;
  for (int attempt = 1;; ++attempt) {
    if (ReadWholeFileOnce(utf8Path, bytes, error, maxBytes)) {
      return true;
    }
    const bool replacing =
        (error == ERROR_FILE_NOT_FOUND) &&
        GetFileAttributesW(std::filesystem::u8path(ReplacingNameOf(utf8Path)).wstring().c_str()) !=
            INVALID_FILE_ATTRIBUTES;
    if (!replacing || attempt == kTries) {
      return false;
    }
    Sleep(5);
  }
}

#else

int RegularFileProblem(const std::string& utf8Path) {
  struct stat st {};
  if (::stat(utf8Path.c_str(), &st) != 0) {
    return errno;
  }
  return S_ISREG(st.st_mode) ? 0 : kErrorNotRegularFile;
}

bool ReadWholeFile(const std::string& utf8Path, std::string& bytes, int& error, size_t maxBytes) {
  // The type is checked before opening, and the open does not wait: a pipe put in place of the
  // file between the two steps is still refused at once.
  error = RegularFileProblem(utf8Path);
  if (error != 0) {
    return false;
  }
  int fd = -1;
  do {
    fd = ::open(utf8Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    error = errno;
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = S_ISREG(st.st_mode) ? errno : kErrorNotRegularFile;
    ::close(fd);
    return false;
  }
  if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    error = kErrorFileTooLarge;
    ::close(fd);
    return false;
  }
  std::string data;
  data.reserve(static_cast<size_t>(st.st_size));
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      error = errno;
      ::close(fd);
      return false;
    }
    if (got == 0) {
      break;
    }
    if (data.size() + static_cast<size_t>(got) > maxBytes) {
      error = kErrorFileTooLarge;  // grew while being read
      ::close(fd);
      return false;
    }
    data.append(chunk, static_cast<size_t>(got));
  }
  ::close(fd);
  bytes = std::move(data);
  error = 0;
  return true;
}

#endif

bool ReadWholeFile(const std::string& utf8Path, std::string& bytes) {
  int error = 0;
  return ReadWholeFile(utf8Path, bytes, error);
}

bool WriteWholeFile(const std::string& utf8Path, std::string_view bytes) {
  std::ofstream out(std::filesystem::u8path(utf8Path), std::ios::binary | std::ios::trunc);
  if (!out) {
    return false;
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

FieldReader::FieldReader(const std::string& utf8Path) {
  std::string bytes;
  if (!ReadWholeFile(utf8Path, bytes, errorNumber_)) {
    error_ =
        "ファイルを読めません（" + SystemErrorText(errorNumber_) + "）: " + ShownPath(utf8Path);
    return;
  }
  Load(bytes);
}

FieldReader FieldReader::FromBytes(std::string_view bytes) {
  FieldReader r;
  r.Load(bytes);
  return r;
}

void FieldReader::Load(std::string_view bytes) {
  DecodedText text = DecodeTextFile(bytes);
  utf8_ = std::move(text.utf8);
  encoding_ = text.encoding;
  invalidLines_ = std::move(text.invalidLines);
  fieldsEnd_ = utf8_.size();
  while (fieldsEnd_ > 0) {
    const char c = utf8_[fieldsEnd_ - 1];
    if (!IsBlank(c) && !IsLineBreak(c) && c != '\x1A') {
      break;
    }
    --fieldsEnd_;
  }
  ok_ = true;
}

bool FieldReader::AtEnd() const {
  // A comma always has a field after it, even an empty one at the end of a line or file.
  // Blanks and line breaks after the last field do not make another field.
  return !afterComma_ && pos_ >= fieldsEnd_;
}

void FieldReader::SkipBlanks() {
  while (pos_ < utf8_.size() && IsBlank(utf8_[pos_])) {
    ++pos_;
  }
}

std::string FieldReader::NextText() {
  if (AtEnd()) {
    pastEnd_ = true;
    pos_ = utf8_.size();
    return {};
  }
  SkipBlanks();
  std::string field;
  const size_t n = utf8_.size();
  if (pos_ < n && utf8_[pos_] == '"') {
    ++pos_;
    size_t close = utf8_.find('"', pos_);
    if (close == std::string::npos) {
      close = n;
    }
    field = utf8_.substr(pos_, close - pos_);
    pos_ = close < n ? close + 1 : n;
    // Whatever follows the closing quote up to the end of the field is ignored.
    while (pos_ < n && utf8_[pos_] != ',' && !IsLineBreak(utf8_[pos_])) {
      ++pos_;
    }
  } else {
    size_t start = pos_;
    while (pos_ < n && utf8_[pos_] != ',' && !IsLineBreak(utf8_[pos_])) {
      ++pos_;
    }
    size_t end = pos_;
    while (end > start && IsBlank(utf8_[end - 1])) {
      --end;
    }
    field = utf8_.substr(start, end - start);
  }
  // Consume the field's terminator: a comma, or one line break (CR LF, CR or LF).
  afterComma_ = false;
  if (pos_ < n) {
    if (utf8_[pos_] == ',') {
      ++pos_;
      afterComma_ = true;
    } else if (utf8_[pos_] == '\r') {
      ++pos_;
      if (pos_ < n && utf8_[pos_] == '\n') {
        ++pos_;
      }
    } else if (utf8_[pos_] == '\n') {
      ++pos_;
    }
  }
  return field;
}

Value FieldReader::NextValue() {
  return Value::FromField(NextText());
}

double FieldReader::NextNumber() {
  return NumericValue(NextText());
}

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

std::string ShownPath(const std::string& utf8Path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(std::filesystem::u8path(utf8Path), ec);
  if (ec) {
    full = std::filesystem::u8path(utf8Path);
  }
  return Quoted(PathText(full.lexically_normal()));
}

}  // namespace numora
