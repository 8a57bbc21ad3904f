#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"

namespace numora {

// The level standards file "タイム回数データ.txt" in the program's data folder: a header line and
// one line of twelve comma-separated fields per level, CP932 with CR LF.

// dataFolder followed by "タイム回数データ.txt".
std::string LevelStandardsPath(const InstallationSettings& installation);

// What a load found besides the values themselves.
struct StandardsLoadResult {
  bool ok = false;                   // false: the file could not be read; the table is unchanged
  std::string error;                 // Japanese text naming the file and its full path
  int entriesRead = 0;               // entries filled, the header's entry 0 included
  bool incompleteLastEntry = false;  // the file ended inside a group of twelve fields
  bool tooManyLevels = false;        // more than 35 level lines; the rest was not loaded
};

// Reads the file as a stream of fields, twelve per entry, into the catalogue's standards from entry
// 0 (the header line) on. A line with fewer or more fields shifts the following fields into the
// next entry. Entries after the last one read keep their values. Numeric columns take the numeric
// value of their text (0 when it is not numeric); the general columns keep numbers, texts or
// nothing. Only entries 0 to 35 exist: fields beyond them are not loaded.
StandardsLoadResult LoadLevelStandards(LevelCatalogue& catalogue, const std::string& path);

// A level of the catalogue that cannot run as a timed level: the file has no line for it, or its
// target or minimum time is not positive. Such a level runs without a time limit and its runs
// earn no points.
struct StandardsGap {
  int level = 0;
  bool noLine = false;  // else the target or minimum time is not positive
};

// The gaps among levels 1 to levels, for a table loaded with the given result.
std::vector<StandardsGap> FindStandardsGaps(const LevelCatalogue& catalogue,
                                            const StandardsLoadResult& loaded, int levels);

// numora-data check's line for one gap, naming the file and its full path.
std::string StandardsGapLine(const StandardsGap& gap, const std::string& path);

// The start-up's word on the gaps (empty when there are none): the same findings as the check's
// lines, in one text.
std::string StandardsGapsNotice(const std::vector<StandardsGap>& gaps, const std::string& path);

// The start-up's word on level lines past the 35th, which are not loaded.
std::string TooManyLevelsNotice(const std::string& path);

// One line of the file as cell texts, columns 1 to 12.
using StandardsRow = std::array<std::string, 12>;

// The header row as the editor writes it: nine column heads and three empty cells.
StandardsRow StandardsHeaderRow();

}  // namespace numora
