#include "core/installation/installation_check.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "core/installation/installation.h"
#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "core/platform/system_error.h"
#include "core/platform/value.h"
#include "core/records/level_standards.h"
#include "core/roster/roster.h"

namespace numora {

namespace {

struct TextFile {
  const char* label;  // 「パスデータ.txt」 etc.
  std::string path;
};

std::string LineList(const std::vector<int>& lines, size_t total) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    text += (i == 0 ? "" : "、") + std::to_string(lines[i]);
  }
  text += "行目";
  if (total > lines.size()) {
    text += "ほか" + std::to_string(total - lines.size()) + "行";
  }
  return text;
}

// A whole number within [lo, hi].
bool WholeWithin(double v, double lo, double hi) {
  return std::isfinite(v) && v == std::floor(v) && v >= lo && v <= hi;
}

}  // namespace

int CheckInstallationTexts(const InstallationSettings& installation, std::ostream& report) {
  int problems = 0;
  const std::string root = installation.dataRootFolder;
  const TextFile files[] = {
      {"パスデータ.txt", installation.programFolder + ".." + kFolderSeparator + "パスデータ.txt"},
      {"共通データ.txt", root + "共通データ.txt"},
      {"新名簿.txt", root + kRosterFileName},
      {"新音ファイル.txt", installation.soundFolder + "新音ファイル.txt"},
      {"タイム回数データ.txt", LevelStandardsPath(installation)},
  };
  for (const TextFile& f : files) {
    std::string bytes;
    if (!ReadWholeFile(f.path, bytes)) {
      continue;  // a file that cannot be read is reported where it is read
    }
    const DecodedText text = DecodeTextFile(bytes);
    const std::string where = ShownPath(f.path);
    if (text.encoding != TextEncoding::Cp932) {
      ++problems;
      report << "✗ 「" << f.label << "」は UTF-8"
             << (text.encoding == TextEncoding::Utf8WithBom ? "（BOM 付き）" : "")
             << " で保存されています。このプログラムは正しく読みますが、古い版のプログラムは"
                "読めません。メモ帳の「名前を付けて保存」で文字コードを ANSI にして保存し直して"
                "ください: "
             << where << "\n";
    }
    if (text.invalidLineCount > 0) {
      ++problems;
      report << "✗ 「" << f.label << "」の " << LineList(text.invalidLines, text.invalidLineCount)
             << "に、" << (text.encoding == TextEncoding::Cp932 ? "Shift-JIS（CP932）" : "UTF-8")
             << " として正しくない文字があります（「\uFFFD」として読みます）。その行を書き直して"
                "ください: "
             << where << "\n";
    }
  }
  const Value& month = installation.schoolYearStartMonth;
  if (!month.IsNumber() || !WholeWithin(month.Number(), 1, 12)) {
    ++problems;
    report << "✗ 「共通データ.txt」の1番目の項目（学年の始まる月）「" << Quoted(month.Text())
           << "」が 1～12 の数ではありません。学年が正しく計算されません: "
           << ShownPath(root + "共通データ.txt") << "\n";
  }
  return problems;
}

int CheckStandardsValues(const InstallationSettings& installation, const LevelCatalogue& catalogue,
                         int lastLevel, std::ostream& report) {
  int problems = 0;
  const std::string where = ShownPath(LevelStandardsPath(installation));
  auto check = [&](int level, const char* column, double v, double lo, double hi,
                   const std::string& text) {
    if (std::isfinite(v) && v >= lo && v <= hi) {
      return;
    }
    ++problems;
    std::ostringstream bounds;
    bounds << FormatNumber(lo) << "～" << FormatNumber(hi);
    report << "✗ 基準データファイル「タイム回数データ.txt」のレベル" << level << "の「" << column
           << "」「" << Quoted(text) << "」が範囲（" << bounds.str()
           << "）を外れています。基準を直してください: " << where << "\n";
  };
  auto general = [&](int level, const char* column, const Value& v, double lo, double hi) {
    if (v.IsEmpty()) {
      return;
    }
    check(level, column, v.IsNumber() ? v.Number() : NAN, lo, hi, v.Text());
  };
  for (int level = 1; level <= lastLevel && level < kLevelSlots; ++level) {
    const LevelStandard& s = catalogue.standards[static_cast<size_t>(level)];
    check(level, "目標Time", s.targetTime, 1, 99998, std::to_string(s.targetTime));
    check(level, "最低Time", s.minimumTime, 1, 99998, std::to_string(s.minimumTime));
    check(level, "ｸﾘｱﾎﾟｲﾝﾄ", s.clearPoints, 0, 9999999, std::to_string(s.clearPoints));
    check(level, "ｸﾘｱ回数", s.clearCount, 0, 9999, std::to_string(s.clearCount));
    check(level, "ﾎﾟｲﾝﾄ倍率", s.pointMultiplier, 0, 100, FormatSingle(s.pointMultiplier));
    general(level, "禁回", s.overPracticeCount, 0, 9999999);
    general(level, "禁点", s.overPracticePoints, 0, 9999999);
    general(level, "判期間", s.passPeriodDays, 0, 36500);
    general(level, "禁期間", s.overPracticePeriodDays, 0, 36500);
  }
  return problems;
}

}  // namespace numora
