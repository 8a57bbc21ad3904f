#pragma once

// The teachers' results browser: one line per stored run of the results file, the figures of the
// edit panel, and the two corrections (a run's pupil and time changed in place, a run deleted),
// each checked against the record the teacher was shown and written to the correction log. The
// window and the numora-data commands browse, edit and delete both go through these functions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/installation/installation_settings.h"
#include "core/platform/services.h"
#include "core/records/results_file.h"
#include "core/roster/roster_tables.h"

namespace numora {

// The scroll bar of the edit panel covers these times; a stored time outside them (a time-out's
// 99999) stays in the time box and puts the bar at the nearer end.
inline constexpr int kBrowserScrollMin = 0;
inline constexpr int kBrowserScrollMax = 6000;

// The texts of many lines kept end to end in one buffer: a list of 100000 lines costs two
// allocations, not 100000.
class LineTexts {
 public:
  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(begin, ends_[i] - begin);
  }
  void clear() {
    text_.clear();
    ends_.clear();
  }
  void reserve(size_t lines, size_t bytes) {
    ends_.reserve(lines);
    text_.reserve(bytes);
  }
  // The buffer to append the next line's text to; EndLine closes the line.
  std::string& buffer() { return text_; }
  void EndLine() { ends_.push_back(text_.size()); }
  // Every line as a string of its own.
  std::vector<std::string> ToStrings() const;

 private:
  std::string text_;
  std::vector<size_t> ends_;
};

// The list of the browser: every record whose level is not 0, in record order.
struct BrowserList {
  std::vector<uint32_t> recordNumbers;    // 1-based record number of each line
  std::vector<ResultRecord> records;      // the record each line was built from
  LineTexts lines;                        // the line texts
  std::vector<std::string> chooserItems;  // "番号 /  名前" for every pupil of the roster
  std::string notice;  // what the teacher should be told (missing file, unread roster, …)

  size_t size() const { return recordNumbers.size(); }
  // The line showing record n; npos when no line shows it.
  size_t LineOfRecord(uint32_t n) const;
  // The line to select after record n was deleted: the first record after it (which now carries
  // its number), or the last line when it was the last; npos for an empty list.
  size_t LineAfterDeletion(uint32_t n) const;
};

// Width of the record number at the head of each line: 4 characters, more when the file holds
// more than 9999 records, so that every line has the same width and text order is record order.
int RecordNumberWidth(uint32_t recordCount);

// One line of the list for record n of a file of recordCount records, with the names and grade
// labels of state.roster.names / state.roster.grades and the installation's school.
std::string BrowserLineText(const InstallationSettings& installation, const RosterTables& roster,
                            uint32_t n, uint32_t recordCount, const ResultRecord& record);

// Builds the lines of the given raw records (records × 44 bytes; record n at (n − 1) × 44).
void BuildBrowserLines(const InstallationSettings& installation, const RosterTables& roster,
                       const unsigned char* bytes, uint32_t records, BrowserList& list);

// "番号 /  名前" of the chooser, for pupil p (the name as the roster stores it).
std::string PupilChooserText(const RosterTables& roster, int pupil);

// Reads the roster into the state (names and grade labels) and the whole results file, and builds
// the list. A missing results file gives an empty list and a notice; so does an unreadable one.
BrowserList BuildBrowserList(const InstallationSettings& installation, RosterTables& roster,
                             Services& services);

// What the edit panel shows for record n.
struct EditPanelFigures {
  std::string recordNumber;  // Label1
  std::string levelText;     // "ﾚﾍﾞﾙ" and the level
  std::string dateText;      // the record's date
  std::string gradeText;     // trimmed grade label of the record's pupil
  std::string chooserText;   // "番号 /  名前"
  std::string timeText;      // the stored seconds
  int scrollValue = 0;       // the seconds within the scroll bar's range
};
EditPanelFigures DescribeForEdit(const RosterTables& roster, uint32_t n,
                                 const ResultRecord& record);

// The trimmed grade label of the pupil a chooser text names ("" when it names nobody).
std::string GradeOfChooserText(const RosterTables& roster, std::string_view chooserText);

// The outcome of opening or correcting a record.
enum class BrowserOutcome {
  kDone,     // done; message may still hold a warning (the log could not be written)
  kInvalid,  // the input was refused; nothing was written
  kStale,    // the record is no longer the one shown; nothing was written, rebuild the list
  kFailed,   // the file could not be read or written; nothing was written
};
struct BrowserResult {
  BrowserOutcome outcome = BrowserOutcome::kFailed;
  std::string message;  // Japanese, for a message box; empty when there is nothing to say
};

// Opening line i of the list: reads its record anew into buffer. When the file no longer holds
// that record at that number, kStale.
BrowserResult OpenBrowserRecord(const InstallationSettings& installation, Services& services,
                                const BrowserList& list, size_t line, uint32_t& recordNumber,
                                ResultRecord& buffer);

// The new pupil and time of "変更して記録" from the chooser's and the time box's texts: the pupil
// number before the first "/" (1–5000), the time rounded to whole seconds (0–99999; 45.6 → 46).
// Full-width digits are accepted. False with a Japanese message otherwise.
bool ParseCorrection(std::string_view chooserText, std::string_view timeText, int16_t& pupil,
                     int32_t& seconds, std::string& message);

// Writes record n with the pupil and time replaced and every other byte as in shown, under the
// results file's lock, provided record n still is shown. Logs the change.
BrowserResult ChangeBrowserRecord(const InstallationSettings& installation, Services& services,
                                  uint32_t n, const ResultRecord& shown, int16_t pupil,
                                  int32_t seconds);

// Deletes record n through the crash-safe deletion, provided record n still is shown. Logs the
// deleted record.
BrowserResult DeleteBrowserRecord(const InstallationSettings& installation, Services& services,
                                  uint32_t n, const ResultRecord& shown);

// The list as CSV for a spreadsheet: UTF-8 with a byte order mark, CR LF, one row per line with
// the fields apart.
std::string BrowserCsv(const InstallationSettings& installation, const RosterTables& roster,
                       const BrowserList& list);

// Writes the CSV text to the file; false with a Japanese error text naming the file.
bool SaveBrowserCsv(const std::string& utf8Path, const std::string& csv, std::string& error);

// The list's lines as one text, "\n" between lines, for printing.
std::string BrowserPrintText(const BrowserList& list);

}  // namespace numora
