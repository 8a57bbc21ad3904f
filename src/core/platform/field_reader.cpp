#include "core/platform/field_reader.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core/platform/cp932.h"

namespace numora {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsLineBreak(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

bool ReadWholeFile(const std::string& utf8Path, std::string& bytes) {
  std::ifstream in(std::filesystem::u8path(utf8Path), std::ios::binary);
  if (!in) {
    return false;
  }
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) {
    return false;
  }
  bytes = buf.str();
  return true;
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
  if (!ReadWholeFile(utf8Path, bytes)) {
    error_ = "ファイルを読めません: " + utf8Path;
    return;
  }
  utf8_ = Cp932ToUtf8(bytes);
  ok_ = true;
}

FieldReader FieldReader::FromBytes(const std::string& cp932Bytes) {
  FieldReader r;
  r.utf8_ = Cp932ToUtf8(cp932Bytes);
  r.ok_ = true;
  return r;
}

bool FieldReader::AtEnd() const {
  // A comma always has a field after it, even an empty one at the end of a line or file.
  if (afterComma_) {
    return false;
  }
  // Blanks, line breaks and an end-of-file mark after the last field do not make another field.
  for (size_t i = pos_; i < utf8_.size(); ++i) {
    char c = utf8_[i];
    if (!IsBlank(c) && !IsLineBreak(c) && c != '\x1A') {
      return false;
    }
  }
  return true;
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
  return PathText(std::filesystem::u8path(utf8Path).lexically_normal());
}

}  // namespace numora
