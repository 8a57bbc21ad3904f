#pragma once

// The level standards file as the standards editor reads and writes it: the cell texts of the
// level lines, and a save that either replaces the whole file or leaves it as it was.

#include <string>
#include <vector>

#include "core/records/level_standards.h"

namespace numora {

// Levels one standards file can carry: the program's table holds levels 1 to 35.
inline constexpr int kMaxStandardsLevels = 35;

// The level lines of the file as cell texts.
struct StandardsGridReading {
  bool ok = false;                 // false: the file could not be read (error says why)
  std::vector<StandardsRow> rows;  // level 1 first; the header line is not among them
  bool incompleteLastRow = false;  // the file ended inside a line: its missing cells are empty
  std::string error;               // Japanese text naming the file and its full path
  std::string notice;              // what the teacher should know about what was read
};

// Reads the file as a stream of fields twelve at a time, drops the header line's twelve and
// keeps every following group as one row. Each field is shown as read: numeric text as its number
// ("010" as "10", "1.50" as "1.5"), other text unchanged, an empty field empty. More than 35 level
// lines are all kept (and told in notice) so that nothing of the file is hidden.
StandardsGridReading ReadStandardsGrid(const std::string& utf8Path);

// Writes the rows (row 0 the header) as the program's standards file: each cell's text as it
// is, a comma after columns 1 to 11 and CR LF after column 12, in CP932. The text is written to a
// new file beside the old one, made durable and renamed over it, so the file is always either the
// old one or the new one, whole; when two copies save at once the last rename wins. False with a
// Japanese error naming the file and what to do, and the old file untouched, when there are more
// than 35 level rows, a cell holds a comma, a double quote or a line break (the file cannot carry
// them) or a character that CP932 cannot hold, or the file cannot be written.
bool SaveStandardsFile(const std::string& utf8Path, const std::vector<StandardsRow>& rows,
                       std::string& error);

}  // namespace numora
