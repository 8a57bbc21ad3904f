#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/cp932.h"
#include "core/platform/value.h"

namespace numora {

// The largest text file the program reads; installation text files are a few kilobytes.
inline constexpr size_t kMaxTextFileBytes = size_t{64} << 20;

// Reads a text file as a stream of fields, the rules shared by every text file of the program:
// a comma or a line break (CR LF, LF or CR) ends a field, leading blanks are skipped, trailing
// blanks of an unquoted field are dropped, and a field in double quotes may contain commas (the
// quotes are not part of the value; what follows the closing quote up to the next comma or line
// break is ignored). The file is CP932, or UTF-8 when saved so by an editor (DecodeTextFile); a
// DOS end-of-file mark ends it. Fields come back as UTF-8. Reading is linear in the file's size
// whatever its shape.
class FieldReader {
 public:
  // Reads the whole file. ok() is false (and error() and errorNumber() say why) when it cannot be
  // read: missing, unreadable, not a regular file, or larger than kMaxTextFileBytes.
  explicit FieldReader(const std::string& utf8Path);
  // Reads from file bytes already in memory.
  static FieldReader FromBytes(std::string_view bytes);

  bool ok() const { return ok_; }
  const std::string& error() const { return error_; }
  int errorNumber() const { return errorNumber_; }
  // How the file was saved and the lines holding invalid bytes.
  TextEncoding encoding() const { return encoding_; }
  const std::vector<int>& invalidLines() const { return invalidLines_; }

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
  void Load(std::string_view bytes);
  void SkipBlanks();
  std::string utf8_;
  size_t pos_ = 0;
  // Just past the last character that can start a field: only blanks, line breaks and end
  // marks follow it, and they make no further field.
  size_t fieldsEnd_ = 0;
  bool ok_ = false;
  bool pastEnd_ = false;
  bool afterComma_ = false;
  std::string error_;
  int errorNumber_ = 0;
  TextEncoding encoding_ = TextEncoding::Cp932;
  std::vector<int> invalidLines_;
};

// Reads a whole file into bytes; false when it cannot be opened or read. Only a regular file (or
// a link to one) is read: a folder, device, pipe or link loop in its place is refused without
// being read, so nothing ever waits on it. error receives the system error number or
// kErrorNotRegularFile / kErrorFileTooLarge (system_error.h).
bool ReadWholeFile(const std::string& utf8Path, std::string& bytes, int& error,
                   size_t maxBytes = kMaxTextFileBytes);
bool ReadWholeFile(const std::string& utf8Path, std::string& bytes);
// What stands at a path, following links, without opening it: 0 for a regular file, else the
// error number (ENOENT, ELOOP, kErrorNotRegularFile, …).
int RegularFileProblem(const std::string& utf8Path);
// Writes bytes to a file, replacing it; false when it cannot be written.
bool WriteWholeFile(const std::string& utf8Path, std::string_view bytes);
// A path as UTF-8 text.
std::string PathText(const std::filesystem::path& path);
// A path as shown in messages: the full path as UTF-8 with "." and ".." steps resolved, at most
// 200 characters.
std::string ShownPath(const std::string& utf8Path);

}  // namespace numora
