#pragma once

// The correction log: one line for every change and deletion made through the results browser or
// numora-data, appended to a text file in the data folder, so that a mistaken correction can be
// seen and the run entered again.

#include <cstdint>
#include <string>

#include "core/installation/installation_settings.h"
#include "core/records/results_file.h"

namespace numora {

inline constexpr const char* kCorrectionLogFileName = "成績修正記録.txt";

// dataFolder + "成績修正記録.txt".
std::string CorrectionLogPath(const InstallationSettings& installation);

// A record as the log writes it: "2026/12/09 10:11:12 ﾚﾍﾞﾙ2 番号 3 46秒 学校 12345".
std::string RecordSummary(const ResultRecord& record);

// "<moment>　変更　記録 12　前 <record before>　後 <record after>"
std::string ChangeLogLine(double moment, uint32_t n, const ResultRecord& before,
                          const ResultRecord& after);
// "<moment>　消去　記録 12　<the deleted record>"
std::string DeletionLogLine(double moment, uint32_t n, const ResultRecord& deleted);

// Appends one line (UTF-8, without its line end) to the log as CP932 with CR LF, creating the file
// when there is none. False with a Japanese error text naming the file when it cannot be written.
bool AppendCorrectionLog(const InstallationSettings& installation, const std::string& line,
                         std::string& error);

// The whole log as UTF-8 with "\n" line ends. exists turns false (and true is returned) when
// there is no log yet; false with an error text when it cannot be read.
bool ReadCorrectionLog(const InstallationSettings& installation, std::string& text, bool& exists,
                       std::string& error);

}  // namespace numora
