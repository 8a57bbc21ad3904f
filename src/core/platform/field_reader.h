#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/platform/value.h"

namespace numora {

// Reads a text file as a stream of fields, the rules shared by every text file of the program:
// a comma or a line break (CR LF, LF or CR) ends a field, leading blanks are skipped, trailing
// blanks of an unquoted field are dropped, and a field in double quotes may contain commas (the
// quotes are not part of the value; what follows the closing quote up to the next comma or line
// break is ignored). The file is CP932; fields come back as UTF-8.
class FieldReader {
 public:
  // Reads the whole file. ok() is false (and error() says why) when it cannot be read.
  explicit FieldReader(const std::string& utf8Path);
  // Reads from CP932 bytes already in memory.
  static FieldReader FromBytes(const std::string& cp932Bytes);

  bool ok() const { return ok_; }
  const std::string& error() const { return error_; }

  // True when no field is left.
  bool AtEnd() const;
  // The next field as text. Reading past the end returns "" and sets pastEnd().
  std::string NextText();
  // The next field as a general value (numbers for numeric text).
  Value NextValue();
  // The next field as a number: its numeric value, 0 when it is not numeric.
  double NextNumber();
  // True once a read was attempted with no field left (a file with too few fields).
  bool pastEnd() const { return pastEnd_; }

 private:
  FieldReader() = default;
  void SkipBlanks();
  std::string utf8_;
  size_t pos_ = 0;
  bool ok_ = false;
  bool pastEnd_ = false;
  bool afterComma_ = false;
  std::string error_;
};

// Reads a whole file into bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& utf8Path, std::string& bytes);
// Writes bytes to a file, replacing it; false when it cannot be written.
bool WriteWholeFile(const std::string& utf8Path, std::string_view bytes);
// A path as UTF-8 text.
std::string PathText(const std::filesystem::path& path);
// A path as shown in messages: UTF-8 with "." and ".." steps resolved.
std::string ShownPath(const std::string& utf8Path);

}  // namespace numora
