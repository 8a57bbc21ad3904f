#pragma once

// The roster file 新名簿.txt and the grade rules derived from it: the school year, grade numbers,
// grade labels and marks, and the grade filter of the selection screen and the hub.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/installation/installation_settings.h"
#include "core/installation/table_sizes.h"
#include "core/platform/utf8_text.h"
#include "core/roster/roster_tables.h"

namespace numora {

inline constexpr const char* kRosterFileName = "新名簿.txt";
inline constexpr int kRosterTextChars = 20;  // names and texts are stored cut or padded to this
inline constexpr int kMaxListedPupils = kPupilSlots - 1;

// The grade filter texts in the order the selection screen and the hub offer them.
inline constexpr std::array<const char*, 12> kGradeFilterTexts = {
    "全学年", "中学生全体", "小学生全体", "中３", "中２", "中１",
    "小６",   "小５",       "小４",       "小３", "小２", "小１"};
inline constexpr const char* kAllGrades = "全学年";

// One entry of the roster file, eight fields in file order.
struct RosterEntry {
  int16_t pupilNumber = 0;
  int16_t birthYear = 0;
  int16_t extraNumber1 = 0;
  int16_t extraNumber2 = 0;
  std::string name;  // exactly 20 characters, padded with spaces
  int16_t status = 0;
  std::string extraText1;  // 20 characters
  std::string extraText2;  // 20 characters
};

// An entry that could not be placed in the tables or in the name list.
struct RosterProblem {
  int entry = 0;            // 1-based position of the entry in the file (its line in a tidy file)
  int64_t pupilNumber = 0;  // as read
  std::string name;         // trimmed
  std::string reason;
};

// The outcome of one reading of the roster file.
struct RosterReading {
  bool fileRead = false;
  int readError = 0;                // why the file could not be read (system_error.h)
  std::string path;                 // full path of the roster file
  std::vector<RosterEntry> listed;  // listed pupils in file order
  std::vector<RosterProblem> leftOut;
  std::vector<int64_t> entryPupils;  // the pupil number of every entry, in file order
};

// The school year of a date: its calendar year, minus 1 when its month is below the start month.
int SchoolYearOf(double date, int startMonth);
// Sets state.roster.schoolYear for today from schoolYearStartMonth.
void ComputeSchoolYear(const InstallationSettings& installation, RosterTables& roster,
                       double today);

// schoolYear − birthYear − 6: 1–6 primary, 7–9 lower secondary, 10–12 upper secondary.
int GradeNumber(int schoolYear, int birthYear);
// "幼３" "小１" … "中３" "高１" for grade numbers 0–10, "" for any other.
std::string GradeLabel(int grade);
// "①"…"⑥" for 1–6, "Ⅰ" "Ⅱ" "Ⅲ" for 7–9, a full-width space otherwise.
std::string GradeMark(int grade);
// Whether a pupil of the given grade number passes the filter text; unknown texts pass nobody.
bool GradeFilterPasses(std::string_view filterText, int grade);

// A text cut to 20 characters or padded with spaces to 20 characters (TrimSpaces undoes the
// padding).
std::string RosterText(std::string_view text);

// A teacher's name contains "★" or "先生".
bool IsTeacher(std::string_view pupilName);

std::string RosterFilePath(const InstallationSettings& installation);

// Reads the roster anew: computes schoolYear, fills the roster's names, grades, birth
// years, order and count, and returns the listed pupils in file order. A missing file gives
// an empty list (fileRead false). Entries with a pupil number outside 1–5000, a birth year without
// four digits, or beyond the 5000th listed pupil are left out and named in leftOut.
RosterReading ReadRoster(const InstallationSettings& installation, RosterTables& roster,
                         double today);

// Japanese text telling the user what went wrong in a reading ("" when nothing did): the missing
// file, or the entries left out (at most ten named, then how many more).
std::string RosterNotice(const RosterReading& reading);

// True until the roster has been read once in this program run (schoolYear is set by the first
// reading and never goes back to 0), so that its problems are told once per run.
bool RosterNotReadYet(const RosterTables& roster);

}  // namespace numora
