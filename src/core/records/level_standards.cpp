#include "core/records/level_standards.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <utility>

#include "core/platform/field_reader.h"
#include "core/platform/system_error.h"
#include "core/platform/value.h"

namespace numora {

namespace {

constexpr const char* kFileName = "タイム回数データ.txt";

// A whole-number column: the field's numeric value rounded half to even, as a conversion to an
// integer type rounds, held within the column's range.
template <class Int>
Int ToColumn(const std::string& field) {
  const double v = std::nearbyint(NumericValue(field));
  constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<Int>::max());
  if (!(v >= lo)) {
    return std::isnan(v) ? Int{0} : std::numeric_limits<Int>::min();
  }
  if (v > hi) {
    return std::numeric_limits<Int>::max();
  }
  return static_cast<Int>(v);
}

float ToSingle(const std::string& field) {
  const double v = NumericValue(field);
  constexpr double hi = static_cast<double>(std::numeric_limits<float>::max());
  if (v > hi) {
    return std::numeric_limits<float>::max();
  }
  if (v < -hi) {
    return -std::numeric_limits<float>::max();
  }
  return static_cast<float>(v);
}

void StoreColumn(LevelStandard& e, int column, const std::string& field) {
  switch (column) {
    case 1:
      e.targetTime = ToColumn<int32_t>(field);
      break;
    case 2:
      e.minimumTime = ToColumn<int32_t>(field);
      break;
    case 3:
      e.clearPoints = ToColumn<int32_t>(field);
      break;
    case 4:
      e.clearCount = ToColumn<int16_t>(field);
      break;
    case 5:
      e.pointMultiplier = ToSingle(field);
      break;
    case 6:
      e.overPracticeCount = Value::FromField(field);
      break;
    case 7:
      e.overPracticePoints = Value::FromField(field);
      break;
    case 8:
      e.passPeriodDays = Value::FromField(field);
      break;
    case 9:
      e.overPracticePeriodDays = Value::FromField(field);
      break;
    default:
      break;  // columns 10 to 12 are read past: nothing uses them
  }
}

}  // namespace

std::string LevelStandardsPath(const InstallationSettings& installation) {
  return installation.dataFolder + kFileName;
}

StandardsLoadResult LoadLevelStandards(LevelCatalogue& catalogue, const std::string& path) {
  StandardsLoadResult result;
  std::string bytes;
  int errorNumber = 0;
  if (!ReadWholeFile(path, bytes, errorNumber)) {
    result.error = std::string("基準データファイル「") + kFileName +
                   "」が見つからないか読めません（" + SystemErrorText(errorNumber) +
                   "）。ファイルの場所と読み取りの権限を確かめてください。\n" + ShownPath(path);
    return result;
  }
  result.ok = true;
  FieldReader in = FieldReader::FromBytes(bytes);
  int n = -1;
  while (!in.AtEnd()) {
    ++n;
    if (n >= kLevelSlots) {
      // Levels are limited to 35 per file; the rest is left unread rather than written out of
      // the table's bounds.
      result.tooManyLevels = true;
      break;
    }
    LevelStandard& entry = catalogue.standards[static_cast<size_t>(n)];
    for (int column = 1; column <= 12; ++column) {
      if (in.AtEnd()) {
        // The file ends inside this group: the remaining columns read as empty fields would.
        result.incompleteLastEntry = true;
      }
      StoreColumn(entry, column, in.NextText());
    }
    result.entriesRead = n + 1;
  }
  return result;
}

std::vector<StandardsGap> FindStandardsGaps(const LevelCatalogue& catalogue,
                                            const StandardsLoadResult& loaded, int levels) {
  std::vector<StandardsGap> gaps;
  for (int level = 1; level <= levels && level < kLevelSlots; ++level) {
    const LevelStandard& s = catalogue.standards[static_cast<size_t>(level)];
    if (level >= loaded.entriesRead) {
      gaps.push_back({level, true});
    } else if (s.targetTime <= 0 || s.minimumTime <= 0) {
      gaps.push_back({level, false});
    }
  }
  return gaps;
}

std::string StandardsGapLine(const StandardsGap& gap, const std::string& path) {
  const std::string level = std::to_string(gap.level);
  return gap.noLine ? std::string("基準データファイル「") + kFileName + "」にレベル" + level +
                          "の行がありません: " + path
                    : std::string("基準データファイル「") + kFileName + "」のレベル" + level +
                          "の目標Timeまたは最低Timeが正の数ではありません: " + path;
}

std::string StandardsGapsNotice(const std::vector<StandardsGap>& gaps, const std::string& path) {
  if (gaps.empty()) {
    return {};
  }
  std::string text =
      std::string("基準データファイル「") + kFileName + "」に足りないところがあります。\n";
  for (const StandardsGap& gap : gaps) {
    const std::string level = std::to_string(gap.level);
    text += gap.noLine ? "・レベル" + level + "の行がありません。\n"
                       : "・レベル" + level + "の目標Timeまたは最低Timeが正の数ではありません。\n";
  }
  text +=
      "このままでは、これらのレベルは時間制限なしで動き、成績は0点で記録されます。"
      "先生に知らせてください。\n" +
      ShownPath(path);
  return text;
}

std::string TooManyLevelsNotice(const std::string& path) {
  return std::string("基準データファイル「") + kFileName +
         "」に35を超えるレベルの行があります。36番目からのレベルの行は読みません。\n" +
         ShownPath(path);
}

StandardsRow StandardsHeaderRow() {
  return {"目標Time", "最低Time", "ｸﾘｱﾎﾟｲﾝﾄ", "ｸﾘｱ回数", "ﾎﾟｲﾝﾄ倍率", "禁回",
          "禁点",     "判期間",   "禁期間",   "",        "",          ""};
}

}  // namespace numora
