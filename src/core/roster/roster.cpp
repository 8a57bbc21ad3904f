#include "core/roster/roster.h"

#include <cmath>

#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/saturate.h"
#include "core/platform/system_error.h"
#include "core/platform/utf8_text.h"
#include "core/platform/value.h"

namespace numora {

namespace {

constexpr int kMaxNamedProblems = 10;

// A numeric field as the 16-bit integer it is read into: rounded to the nearest integer, ties to
// even. Values beyond the 16-bit range are kept as they are so that range checks see them.
int64_t IntegerField(double value) {
  if (!std::isfinite(value)) {
    return 0;
  }
  return SaturatingCast<int64_t>(std::nearbyint(value));
}

int16_t Narrow(int64_t value) {
  if (value < INT16_MIN || value > INT16_MAX) {
    return 0;
  }
  return static_cast<int16_t>(value);
}

}  // namespace

int SchoolYearOf(double date, int startMonth) {
  const CivilDate d = ToCivil(date);
  return d.month < startMonth ? d.year - 1 : d.year;
}

void ComputeSchoolYear(const InstallationSettings& installation, RosterTables& roster,
                       double today) {
  const auto startMonth =
      static_cast<int>(IntegerField(installation.schoolYearStartMonth.Number()));
  roster.schoolYear = SchoolYearOf(today, startMonth);
}

int GradeNumber(int schoolYear, int birthYear) {
  return schoolYear - birthYear - 6;
}

std::string GradeLabel(int grade) {
  static const char* const kLabels[] = {"幼３", "小１", "小２", "小３", "小４", "小５",
                                        "小６", "中１", "中２", "中３", "高１"};
  if (grade < 0 || grade > 10) {
    return {};
  }
  return kLabels[grade];
}

std::string GradeMark(int grade) {
  static const char* const kMarks[] = {"①", "②", "③", "④", "⑤", "⑥", "Ⅰ", "Ⅱ", "Ⅲ"};
  if (grade >= 1 && grade <= 9) {
    return kMarks[grade - 1];
  }
  return "　";
}

bool GradeFilterPasses(std::string_view filterText, int grade) {
  if (filterText == "全学年") {
    return true;
  }
  if (filterText == "小学生全体") {
    return grade >= 1 && grade <= 6;
  }
  if (filterText == "中学生全体") {
    return grade >= 7 && grade <= 9;
  }
  static const char* const kSingle[] = {"小１", "小２", "小３", "小４", "小５",
                                        "小６", "中１", "中２", "中３"};
  for (int g = 1; g <= 9; ++g) {
    if (filterText == kSingle[g - 1]) {
      return grade == g;
    }
  }
  return false;
}

std::string RosterText(std::string_view text) {
  return FitChars(text, kRosterTextChars);
}

bool IsTeacher(std::string_view pupilName) {
  return pupilName.find("★") != std::string_view::npos ||
         pupilName.find("先生") != std::string_view::npos;
}

std::string RosterFilePath(const InstallationSettings& installation) {
  return installation.dataRootFolder + kRosterFileName;
}

RosterReading ReadRoster(const InstallationSettings& installation, RosterTables& roster,
                         double today) {
  RosterReading reading;
  // The school year of today.
  ComputeSchoolYear(installation, roster, today);
  // The file.
  reading.path = RosterFilePath(installation);
  FieldReader in(reading.path);
  int k = 0;
  if (!in.ok()) {
    roster.count = 0;
    reading.readError = in.errorNumber();
    return reading;
  }
  reading.fileRead = true;
  const bool statusTwoListed = installation.rosterStatusTwoActive;
  int entryNumber = 0;
  // Eight fields an entry until the end of the file.
  while (!in.AtEnd()) {
    ++entryNumber;
    ++k;
    const int64_t pupil = IntegerField(in.NextNumber());
    const int64_t birthYear = IntegerField(in.NextNumber());
    RosterEntry e;
    e.extraNumber1 = Narrow(IntegerField(in.NextNumber()));
    e.extraNumber2 = Narrow(IntegerField(in.NextNumber()));
    e.name = RosterText(in.NextText());
    const int64_t status = IntegerField(in.NextNumber());
    e.extraText1 = RosterText(in.NextText());
    e.extraText2 = RosterText(in.NextText());
    reading.entryPupils.push_back(pupil);
    e.pupilNumber = Narrow(pupil);
    e.birthYear = Narrow(birthYear);
    e.status = Narrow(status);
    bool listed = status == 0 || (status == 2 && statusTwoListed);
    if (listed) {
      e.status = 0;
    }

    auto leaveOut = [&](const char* reason) {
      reading.leftOut.push_back({entryNumber, pupil, TrimSpaces(e.name), reason});
    };

    // A pupil number outside the tables cannot be placed anywhere.
    if (pupil < 1 || pupil > kMaxListedPupils) {
      leaveOut("番号が 1～5000 の範囲にありません");
      --k;
      continue;
    }
    const auto p = static_cast<size_t>(pupil);
    roster.names[p] = e.name;
    roster.birthYears[p] = e.birthYear;
    if (k <= kMaxListedPupils) {
      roster.order[static_cast<size_t>(k)] = e.pupilNumber;
    }
    const std::string label = GradeLabel(GradeNumber(roster.schoolYear, e.birthYear));
    if (!label.empty()) {
      roster.grades[p] = label;
    }

    if (listed && (birthYear < 1000 || birthYear > 9999)) {
      leaveOut("生まれ年が４けたの数字ではありません");
      listed = false;
    }
    if (listed && k > kMaxListedPupils) {
      leaveOut("載せられる人数（5000人）を超えています");
      listed = false;
    }
    if (!listed) {
      --k;
      continue;
    }
    reading.listed.push_back(std::move(e));
  }
  // The number of listed pupils.
  roster.count = static_cast<int>(k);
  return reading;
}

std::string RosterNotice(const RosterReading& reading) {
  if (!reading.fileRead) {
    return std::string("名簿ファイル「") + kRosterFileName + "」が見つからないか読めません（" +
           SystemErrorText(reading.readError) +
           "）。名前の一覧は空になります。ファイルの場所と読み取りの権限を確かめてください。\n" +
           ShownPath(reading.path);
  }
  if (reading.leftOut.empty()) {
    return {};
  }
  std::string text = std::string("名簿ファイル「") + kRosterFileName + "」の次の" +
                     std::to_string(reading.leftOut.size()) +
                     "件は名前の一覧に載せていません。名簿を直してください。\n" +
                     ShownPath(reading.path);
  int shown = 0;
  for (const RosterProblem& p : reading.leftOut) {
    if (shown == kMaxNamedProblems) {
      text += "\n…ほか" + std::to_string(reading.leftOut.size() - kMaxNamedProblems) + "件";
      break;
    }
    text += "\n" + std::to_string(p.entry) + "件目（番号 " + std::to_string(p.pupilNumber) + "「" +
            Quoted(p.name) + "」）：" + p.reason;
    ++shown;
  }
  return text;
}

bool RosterNotReadYet(const RosterTables& roster) {
  return roster.schoolYear == 0;
}

}  // namespace numora
