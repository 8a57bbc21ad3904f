#include "core/admin/correction_log.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/platform/cp932.h"
#include "core/platform/dates.h"

namespace numora {

namespace {

std::filesystem::path NativePath(const std::string& utf8) {
  return {std::u8string(utf8.begin(), utf8.end())};
}

bool IsShowableDate(double date) {
  return std::isfinite(date) && date >= -657434.0 && date < 2958466.0;
}

std::string Moment(double moment) {
  return FormatShortDate(moment) + " " + FormatTimeOfDay(moment);
}

}  // namespace

std::string CorrectionLogPath(const InstallationSettings& installation) {
  return installation.dataFolder + kCorrectionLogFileName;
}

std::string RecordSummary(const ResultRecord& r) {
  std::string text = IsShowableDate(r.runDate) ? FormatShortDate(r.runDate) : "不正な日付";
  text += " ";
  text += IsShowableDate(r.runTime) ? FormatTimeOfDay(r.runTime) : "--:--:--";
  const std::string code = TextFieldToUtf8(r.schoolCode);
  text += " ﾚﾍﾞﾙ" + std::to_string(r.level) + " 番号 " + std::to_string(r.pupilNumber) + " " +
          std::to_string(r.seconds) + "秒 学校 " + (code.empty() ? std::string("なし") : code);
  return text;
}

std::string ChangeLogLine(double moment, uint32_t n, const ResultRecord& before,
                          const ResultRecord& after) {
  return Moment(moment) + "　変更　記録 " + std::to_string(n) + "　前 " + RecordSummary(before) +
         "　後 " + RecordSummary(after);
}

std::string DeletionLogLine(double moment, uint32_t n, const ResultRecord& deleted) {
  return Moment(moment) + "　消去　記録 " + std::to_string(n) + "　" + RecordSummary(deleted);
}

bool AppendCorrectionLog(const InstallationSettings& installation, const std::string& line,
                         std::string& error) {
  const std::string path = CorrectionLogPath(installation);
  // One write of the whole line at the end of the file, so lines of several computers do not mix.
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::app);
  if (out) {
    const std::string bytes = Utf8ToCp932(line) + "\r\n";
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
  }
  if (!out) {
    error = "修正記録のファイルに書き込めません。フォルダーに書き込めるか確かめてください。\n（" +
            path + "）";
    return false;
  }
  return true;
}

bool ReadCorrectionLog(const InstallationSettings& installation, std::string& text, bool& exists,
                       std::string& error) {
  const std::string path = CorrectionLogPath(installation);
  std::error_code ec;
  exists = std::filesystem::exists(NativePath(path), ec);
  text.clear();
  if (!exists) {
    return true;
  }
  std::ifstream in(NativePath(path), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    error = "修正記録のファイルを読めません。\n（" + path + "）";
    return false;
  }
  const std::string utf8 = Cp932ToUtf8(bytes);
  text.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
      continue;
    }
    text += utf8[i];
  }
  return true;
}

}  // namespace numora
