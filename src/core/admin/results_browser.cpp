#include "core/admin/results_browser.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>

#include "core/admin/correction_log.h"
#include "core/installation/installation_settings.h"
#include "core/installation/table_sizes.h"
#include "core/platform/cp932.h"
#include "core/platform/csv.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/platform/utf8_text.h"
#include "core/roster/roster.h"
#include "core/roster/roster_tables.h"

namespace numora {

namespace {

constexpr std::string_view kOtherSchool = "他塾";
constexpr std::string_view kLevelWord = "ﾚﾍﾞﾙ";
constexpr std::string_view kSecondsWord = "秒 ";

// The dates a record can sensibly hold (years 100 to 9999); anything else is shown as such rather
// than computed into a nonsense calendar day.
bool IsShowableDate(double date) {
  return std::isfinite(date) && date >= -657434.0 && date < 2958466.0;
}

std::string DateText(double date) {
  return IsShowableDate(date) ? FormatShortDate(date) : std::string("不正な日付");
}

std::string TimeOfDayText(double time) {
  return IsShowableDate(time) ? FormatTimeOfDay(time) : std::string("--:--:--");
}

bool ValidPupil(int pupil) {
  return pupil >= 0 && pupil < kPupilSlots;
}

const std::string& RosterNameOf(const RosterTables& roster, int pupil) {
  static const std::string kNone;
  return ValidPupil(pupil) ? roster.names[static_cast<size_t>(pupil)] : kNone;
}

const std::string& RosterGradeOf(const RosterTables& roster, int pupil) {
  static const std::string kNone;
  return ValidPupil(pupil) ? roster.grades[static_cast<size_t>(pupil)] : kNone;
}

// The name piece: the roster name followed by five ideographic spaces, cut to 6 characters.
std::string NamePiece(const std::string& rosterName) {
  std::string s = rosterName;
  for (int i = 0; i < 5; ++i) {
    s += kWideSpace;
  }
  return LeftChars(s, 6);
}

// The installation's school code as the results file stores it is compared byte for byte with
// the five bytes of each record: an installation without a code stores five blanks and compares
// them with an empty code, so its records all count as another school's.
bool SameSchool(const std::string& installationCode, const ResultRecord& record) {
  return installationCode.size() == record.schoolCode.size() &&
         std::memcmp(installationCode.data(), record.schoolCode.data(), installationCode.size()) ==
             0;
}

// Builds the lines of many records, remembering the pieces that repeat: a pupil's name and grade,
// and the date of the previous record (records come in date order).
class LineBuilder {
 public:
  LineBuilder(const InstallationSettings& installation, const RosterTables& roster,
              uint32_t recordCount)
      : installation_(installation),
        roster_(roster),
        width_(RecordNumberWidth(recordCount)),
        code_(Utf8ToCp932(installation.schoolCode)),
        pupilEnds_(kPupilSlots) {}

  // Appends the line of record n to the text.
  void AppendLine(std::string& line, uint32_t n, const ResultRecord& r) {
    AppendRightAligned(line, n, width_);
    line += ' ';
    line += Date(r.runDate);
    line += kWideSpace;
    AppendTimeOfDay(line, r.runTime);
    line += kLevelWord;
    AppendRightAligned(line, r.level, 0);
    line += kWideSpace;
    AppendRightAligned(line, r.seconds, 5);
    line += kSecondsWord;
    line += kWideSpace;
    AppendRightAligned(line, r.pupilNumber, 4);
    line += ' ';
    line += PupilEnd(r.pupilNumber);
    line += "++";
    line += SameSchool(code_, r) ? installation_.schoolName : otherSchool_;
  }

 private:
  // Compared bit for bit, so that a stored date that is not a number is remembered too.
  const std::string& Date(double date) {
    const auto bits = std::bit_cast<uint64_t>(date);
    if (!haveDate_ || bits != lastDate_) {
      lastDate_ = bits;
      lastDateText_ = DateText(date);
      haveDate_ = true;
    }
    return lastDateText_;
  }
  // Name piece, " ", grade label.
  const std::string& PupilEnd(int pupil) {
    if (!ValidPupil(pupil)) {
      return noPupilEnd_;
    }
    auto& slot = pupilEnds_[static_cast<size_t>(pupil)];
    if (!slot) {
      slot = NamePiece(RosterNameOf(roster_, pupil)) + " " + RosterGradeOf(roster_, pupil);
    }
    return *slot;
  }

  // The decimal text of the number right-aligned in width characters (its last width characters
  // when longer); width 0 writes it as it is.
  static void AppendRightAligned(std::string& line, int64_t value, int width) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<int>(end - digits);
    if (width == 0) {
      line.append(digits, end);
    } else if (length >= width) {
      line.append(end - width, end);
    } else {
      line.append(static_cast<size_t>(width - length), ' ');
      line.append(digits, end);
    }
  }

  // The time of day right-aligned in 9 characters: a blank and "HH:MM:SS".
  static void AppendTimeOfDay(std::string& line, double time) {
    if (!IsShowableDate(time)) {
      line += " --:--:--";
      return;
    }
    long long s = std::llround(TimeOfDaySeconds(time));
    s = std::clamp(s, 0LL, 86399LL);
    const char text[] = {
        ' ', static_cast<char>('0' + s / 36000),     static_cast<char>('0' + (s / 3600) % 10),
        ':', static_cast<char>('0' + (s / 600) % 6), static_cast<char>('0' + (s / 60) % 10),
        ':', static_cast<char>('0' + (s % 60) / 10), static_cast<char>('0' + s % 10)};
    line.append(text, sizeof text);
  }

  const InstallationSettings& installation_;
  const RosterTables& roster_;
  int width_;
  std::string code_;
  std::vector<std::optional<std::string>> pupilEnds_;
  std::string noPupilEnd_ = NamePiece("") + " ";
  std::string otherSchool_{kOtherSchool};
  bool haveDate_ = false;
  uint64_t lastDate_ = 0;
  std::string lastDateText_;
};

// Full-width digits, point, signs and blanks as typed with a Japanese input method, made ASCII.
std::string AsciiNumberText(std::string_view text) {
  static const std::pair<const char*, char> kWide[] = {
      {"０", '0'}, {"１", '1'}, {"２", '2'}, {"３", '3'}, {"４", '4'}, {"５", '5'}, {"６", '6'},
      {"７", '7'}, {"８", '8'}, {"９", '9'}, {"．", '.'}, {"－", '-'}, {"＋", '+'}, {"　", ' '}};
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    bool replaced = false;
    for (const auto& [wide, ascii] : kWide) {
      const size_t len = std::strlen(wide);
      if (text.compare(i, len, wide) == 0) {
        out += ascii;
        i += len;
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      out += text[i++];
    }
  }
  return out;
}

// A decimal number (an optional sign, digits, an optional fraction) and nothing else but blanks.
std::optional<double> DecimalNumber(std::string_view text) {
  const std::string s = TrimWideBlanks(AsciiNumberText(text));
  if (s.empty()) {
    return std::nullopt;
  }
  size_t start = s[0] == '+' ? 1 : 0;
  if (start == s.size()) {
    return std::nullopt;
  }
  double value = 0;
  const char* first = s.data() + start;
  const char* last = s.data() + s.size();
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (ec != std::errc() || end != last || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string StaleText(uint32_t n) {
  return "記録 " + std::to_string(n) +
         " は、一覧を作った後で変わりました（ほかのコンピュータで成績が変更または消去されまし"
         "た）。何も書き換えていません。";
}

bool FileExists(const std::string& utf8Path) {
  std::error_code ec;
  return std::filesystem::exists(
      std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())), ec);
}

// Appends the line to the log; the warning when it could not be written.
std::string LogOrWarn(const InstallationSettings& installation, const std::string& line,
                      const std::string& done) {
  std::string error;
  if (AppendCorrectionLog(installation, line, error)) {
    return {};
  }
  return done + "が、修正記録に書き込めませんでした。\n" + error +
         "\n修正の内容を書き留めておいてください：\n" + line;
}

}  // namespace

int RecordNumberWidth(uint32_t recordCount) {
  return std::max<int>(4, static_cast<int>(std::to_string(recordCount).size()));
}

std::string BrowserLineText(const InstallationSettings& installation, const RosterTables& roster,
                            uint32_t n, uint32_t recordCount, const ResultRecord& record) {
  LineBuilder builder(installation, roster, recordCount);
  std::string line;
  builder.AppendLine(line, n, record);
  return line;
}

void BuildBrowserLines(const InstallationSettings& installation, const RosterTables& roster,
                       const unsigned char* bytes, uint32_t records, BrowserList& list) {
  list.recordNumbers.clear();
  list.records.clear();
  list.lines.clear();
  list.recordNumbers.reserve(records);
  list.records.reserve(records);
  list.lines.reserve(records,
                     static_cast<size_t>(records) * (100 + installation.schoolName.size()));
  LineBuilder builder(installation, roster, records);
  for (uint32_t i = 0; i < records; ++i) {
    const ResultRecord r = DecodeResultRecord(bytes + static_cast<size_t>(i) * kResultRecordSize);
    if (r.level == 0) {
      continue;
    }
    list.recordNumbers.push_back(i + 1);
    list.records.push_back(r);
    builder.AppendLine(list.lines.buffer(), i + 1, r);
    list.lines.EndLine();
  }
}

std::vector<std::string> LineTexts::ToStrings() const {
  std::vector<std::string> lines;
  lines.reserve(size());
  for (size_t i = 0; i < size(); ++i) {
    lines.emplace_back((*this)[i]);
  }
  return lines;
}

size_t BrowserList::LineOfRecord(uint32_t n) const {
  const auto at = std::lower_bound(recordNumbers.begin(), recordNumbers.end(), n);
  if (at == recordNumbers.end() || *at != n) {
    return std::string::npos;
  }
  return static_cast<size_t>(at - recordNumbers.begin());
}

size_t BrowserList::LineAfterDeletion(uint32_t n) const {
  if (recordNumbers.empty()) {
    return std::string::npos;
  }
  const auto at = std::lower_bound(recordNumbers.begin(), recordNumbers.end(), n);
  if (at == recordNumbers.end()) {
    return recordNumbers.size() - 1;
  }
  return static_cast<size_t>(at - recordNumbers.begin());
}

std::string PupilChooserText(const RosterTables& roster, int pupil) {
  return std::to_string(pupil) + " /  " + RosterNameOf(roster, pupil);
}

BrowserList BuildBrowserList(const InstallationSettings& installation, RosterTables& roster,
                             Services& services) {
  BrowserList list;
  const RosterReading reading = ReadRoster(installation, roster, services.clock.Today());
  std::vector<char> seen(kPupilSlots, 0);
  for (const int64_t p : reading.entryPupils) {
    if (p >= 1 && p < kPupilSlots && seen[static_cast<size_t>(p)] == 0) {
      seen[static_cast<size_t>(p)] = 1;
      list.chooserItems.push_back(PupilChooserText(roster, static_cast<int>(p)));
    }
  }
  std::vector<std::string> notices;
  if (!reading.fileRead) {
    notices.push_back(RosterNotice(reading));
  }

  const std::string path = ResultsFilePath(installation);
  if (!FileExists(path)) {
    notices.push_back("成績のファイルがまだありません。一覧は空です。\n（" + path + "）");
  } else {
    std::vector<unsigned char> bytes;
    const NewestRecords read = ReadNewestRecords(path, services, kReaderRetry,
                                                 std::numeric_limits<uint32_t>::max(), bytes);
    if (read.status == FileStatus::Ok) {
      BuildBrowserLines(installation, roster, bytes.data(), read.records, list);
    } else {
      notices.push_back(
          "成績のファイルを読めません（" + read.errorText +
          "）。一覧は空です。ほかのコンピュータで使用中でないか確かめてください。\n（" + path +
          "）");
    }
  }
  const std::string interrupted = DetectInterruptedDelete(installation);
  if (!interrupted.empty()) {
    notices.push_back(interrupted);
  }
  for (const std::string& n : notices) {
    if (!list.notice.empty()) {
      list.notice += "\n\n";
    }
    list.notice += n;
  }
  return list;
}

EditPanelFigures DescribeForEdit(const RosterTables& roster, uint32_t n,
                                 const ResultRecord& record) {
  EditPanelFigures f;
  f.recordNumber = std::to_string(n);
  f.levelText = "ﾚﾍﾞﾙ" + std::to_string(record.level);
  f.dateText = DateText(record.runDate);
  f.gradeText = TrimWideBlanks(RosterGradeOf(roster, record.pupilNumber));
  f.chooserText = PupilChooserText(roster, record.pupilNumber);
  f.timeText = std::to_string(record.seconds);
  f.scrollValue = std::clamp<int32_t>(record.seconds, kBrowserScrollMin, kBrowserScrollMax);
  return f;
}

std::string GradeOfChooserText(const RosterTables& roster, std::string_view chooserText) {
  const size_t slash = chooserText.find('/');
  if (slash == std::string_view::npos) {
    return {};
  }
  const std::optional<double> number = DecimalNumber(chooserText.substr(0, slash));
  if (!number || *number != std::floor(*number) || *number < 1 || *number >= kPupilSlots) {
    return {};
  }
  return TrimWideBlanks(RosterGradeOf(roster, static_cast<int>(*number)));
}

BrowserResult OpenBrowserRecord(const InstallationSettings& installation, Services& services,
                                const BrowserList& list, size_t line, uint32_t& recordNumber,
                                ResultRecord& buffer) {
  if (line >= list.size()) {
    return {BrowserOutcome::kInvalid, {}};
  }
  recordNumber = list.recordNumbers[line];
  std::string error;
  if (!ReadResultRecord(installation, services, recordNumber, buffer, error)) {
    // A record that is gone was deleted meanwhile by another computer.
    ResultsFile probe;
    uint32_t count = 0;
    if (probe.OpenForReading(ResultsFilePath(installation)) == FileStatus::Ok &&
        probe.RecordCount(count) == FileStatus::Ok && recordNumber > count) {
      return {BrowserOutcome::kStale, StaleText(recordNumber)};
    }
    return {BrowserOutcome::kFailed, error};
  }
  if (!SameStoredBytes(buffer, list.records[line])) {
    return {BrowserOutcome::kStale, StaleText(recordNumber)};
  }
  return {BrowserOutcome::kDone, {}};
}

bool ParseCorrection(std::string_view chooserText, std::string_view timeText, int16_t& pupil,
                     int32_t& seconds, std::string& message) {
  const size_t slash = chooserText.find('/');
  if (slash == std::string_view::npos) {
    message =
        "名前の欄は「番号 /  名前」の形にしてください（一覧から選ぶか、番号の後に「/」を"
        "入れてください）。何も書き換えていません。";
    return false;
  }
  const std::optional<double> number = DecimalNumber(chooserText.substr(0, slash));
  if (!number || *number != std::floor(*number) || *number < 1 || *number >= kPupilSlots) {
    message = "名前の欄の「/」の前には 1 から 5000 までの番号を入れてください（いまは「" +
              std::string(chooserText.substr(0, slash)) + "」）。何も書き換えていません。";
    return false;
  }
  const std::optional<double> time = DecimalNumber(timeText);
  const double rounded = time ? std::round(*time) : -1;
  if (!time || rounded < 0 || rounded > kTimeOutSeconds) {
    message =
        "時間の欄には 0 から 99999 までの秒数を数字で入れてください（99999 は時間切れ。いまは「" +
        std::string(timeText) + "」）。何も書き換えていません。";
    return false;
  }
  pupil = static_cast<int16_t>(*number);
  seconds = static_cast<int32_t>(rounded);
  return true;
}

BrowserResult ChangeBrowserRecord(const InstallationSettings& installation, Services& services,
                                  uint32_t n, const ResultRecord& shown, int16_t pupil,
                                  int32_t seconds) {
  ResultRecord changed = shown;
  changed.pupilNumber = pupil;
  changed.seconds = seconds;
  std::string error;
  bool stale = false;
  if (!RewriteResultRecord(installation, services, n, changed, error, &shown, &stale)) {
    if (stale) {
      return {BrowserOutcome::kStale, StaleText(n)};
    }
    return {BrowserOutcome::kFailed,
            error + "\n記録は変更していません。\n（" + ResultsFilePath(installation) + "）"};
  }
  const std::string line = ChangeLogLine(services.clock.Now(), n, shown, changed);
  return {BrowserOutcome::kDone,
          LogOrWarn(installation, line, "記録 " + std::to_string(n) + " を変更しました")};
}

BrowserResult DeleteBrowserRecord(const InstallationSettings& installation, Services& services,
                                  uint32_t n, const ResultRecord& shown) {
  std::string error;
  bool stale = false;
  if (!DeleteResultRecord(installation, services, n, error, {}, &shown, &stale)) {
    if (stale) {
      return {BrowserOutcome::kStale, StaleText(n)};
    }
    return {BrowserOutcome::kFailed, error + "\n（" + ResultsFilePath(installation) + "）"};
  }
  const std::string line = DeletionLogLine(services.clock.Now(), n, shown);
  return {BrowserOutcome::kDone,
          LogOrWarn(installation, line, "記録 " + std::to_string(n) + " を消去しました")};
}

std::string BrowserCsv(const InstallationSettings& installation, const RosterTables& roster,
                       const BrowserList& list) {
  const std::string code = Utf8ToCp932(installation.schoolCode);
  std::string csv = "\xEF\xBB\xBF記録番号,日付,時刻,レベル,秒,番号,名前,学年,学校\r\n";
  for (size_t i = 0; i < list.size(); ++i) {
    const ResultRecord& r = list.records[i];
    csv += std::to_string(list.recordNumbers[i]) + "," + DateText(r.runDate) + "," +
           TimeOfDayText(r.runTime) + "," + std::to_string(r.level) + "," +
           std::to_string(r.seconds) + "," + std::to_string(r.pupilNumber) + "," +
           CsvField(TrimWideBlanks(RosterNameOf(roster, r.pupilNumber))) + "," +
           CsvField(TrimWideBlanks(RosterGradeOf(roster, r.pupilNumber))) + "," +
           CsvField(SameSchool(code, r) ? installation.schoolName : std::string(kOtherSchool)) +
           "\r\n";
  }
  return csv;
}

bool SaveBrowserCsv(const std::string& utf8Path, const std::string& csv, std::string& error) {
  if (WriteWholeFile(utf8Path, csv)) {
    return true;
  }
  error =
      "ファイルに書き出せませんでした。書き込めるフォルダーか、ほかのプログラムで開いていないか"
      "確かめてください。\n（" +
      utf8Path + "）";
  return false;
}

std::string BrowserPrintText(const BrowserList& list) {
  std::string text;
  for (size_t i = 0; i < list.size(); ++i) {
    if (i > 0) {
      text += '\n';
    }
    text += list.lines[i];
  }
  return text;
}

}  // namespace numora
