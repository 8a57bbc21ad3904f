#include "core/roster/roster_check.h"

#include <map>
#include <string>
#include <vector>

#include "core/platform/field_reader.h"
#include "core/platform/system_error.h"
#include "core/roster/roster.h"

namespace numora {

namespace {

constexpr int kFieldsPerEntry = 8;

// The lines of a CP932 file (CR LF, LF or CR end a line); CP932 never uses those bytes inside a
// character, so the bytes can be split as they are.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        ++i;
      }
    } else {
      line += c;
    }
  }
  if (!line.empty()) {
    lines.push_back(line);
  }
  return lines;
}

int FieldCount(const std::string& lineBytes) {
  FieldReader r = FieldReader::FromBytes(lineBytes);
  int n = 0;
  while (!r.AtEnd()) {
    r.NextText();
    ++n;
  }
  return n;
}

}  // namespace

bool CheckRosterFile(const InstallationSettings& installation, RosterTables& roster, double today,
                     std::ostream& report) {
  const RosterReading reading = ReadRoster(installation, roster, today);
  const std::string head = std::string(kRosterFileName) + ": ";
  if (!reading.fileRead) {
    report << head << "ファイルが見つからないか読めません（" << SystemErrorText(reading.readError)
           << "）。ファイルの場所と読み取りの権限を確かめてください（" << ShownPath(reading.path)
           << "）\n";
    return false;
  }
  bool ok = true;
  if (reading.entryPupils.empty()) {
    report << head << "名簿に生徒が一人もいません。名前の一覧は空になります（"
           << ShownPath(reading.path) << "）\n";
    ok = false;
  } else if (reading.listed.empty()) {
    report << head << "名前の一覧に載る生徒が一人もいません（状態が 0 の生徒がいません）（"
           << ShownPath(reading.path) << "）\n";
    ok = false;
  }

  // Entries are read eight fields at a time whatever the lines say, so a line with another number
  // of fields (or an empty line between entries) shifts every entry after it.
  std::string bytes;
  ReadWholeFile(reading.path, bytes);
  const std::vector<std::string> lines = SplitLines(bytes);
  size_t last = lines.size();
  while (last > 0 && FieldCount(lines[last - 1]) == 0) {
    --last;
  }
  for (size_t i = 0; i < last; ++i) {
    const int n = FieldCount(lines[i]);
    if (n == kFieldsPerEntry) {
      continue;
    }
    ok = false;
    report << head << (i + 1) << "行目";
    if (n == 0) {
      report << "が空です（後の名前がずれて読まれます）\n";
    } else {
      report << "の項目が " << n << " 個です（1人 " << kFieldsPerEntry << " 項目です）\n";
    }
  }

  for (const RosterProblem& p : reading.leftOut) {
    ok = false;
    report << head << p.entry << "件目（番号 " << p.pupilNumber << "「" << p.name
           << "」）は一覧に載りません：" << p.reason << "\n";
  }

  // Results are kept by pupil number, so two entries with one number share their results.
  std::map<int64_t, std::vector<int>> seen;
  for (size_t i = 0; i < reading.entryPupils.size(); ++i) {
    const int64_t pupil = reading.entryPupils[i];
    if (pupil >= 1 && pupil <= kMaxListedPupils) {
      seen[pupil].push_back(static_cast<int>(i) + 1);
    }
  }
  for (const auto& [pupil, entries] : seen) {
    if (entries.size() < 2) {
      continue;
    }
    ok = false;
    report << head << "番号 " << pupil << " が " << entries.size() << " 件あります（";
    for (size_t i = 0; i < entries.size(); ++i) {
      report << (i == 0 ? "" : "、") << entries[i] << "件目";
    }
    report << "）\n";
  }
  return ok;
}

}  // namespace numora
