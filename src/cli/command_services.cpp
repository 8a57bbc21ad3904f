#include "cli/command_services.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/platform/dates.h"
#include "core/platform/system_clock.h"
#include "core/platform/system_error.h"
#include "core/roster/roster.h"

namespace numora {

bool CommandServices::NoSound::PlayWait(const std::string& /*path*/, std::string& errorText) {
  errorText = "音は出しません";
  return false;
}

void CommandServices::ConsoleHost::ShowMessage(const std::string& title, const std::string& text) {
  err_ << title << ": " << text << "\n";
}

bool CommandServices::ConsoleHost::AskYesNo(const std::string& title, const std::string& text) {
  err_ << title << ": " << text << "\n";
  return false;
}

void CommandServices::ConsoleHost::WaitResponsive(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

namespace {

// The digits of text at [from, from + n) as a number; false unless all n are ASCII digits (no
// signs, no blanks).
bool Digits(const std::string& text, size_t from, size_t n, int& value) {
  value = 0;
  for (size_t i = from; i < from + n; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return false;
    }
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

bool ParseDayOption(const std::string& text, double& date) {
  int y = 0;
  int m = 0;
  int d = 0;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !Digits(text, 0, 4, y) ||
      !Digits(text, 5, 2, m) || !Digits(text, 8, 2, d)) {
    return false;
  }
  if (y < 1900 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) {
    return false;
  }
  date = MakeDate(y, m, d);
  // A day that does not exist in its month (2 月 30 日) comes back as another date.
  const CivilDate back = ToCivil(date);
  return back.year == y && back.month == m && back.day == d;
}

bool ParseTimeOfDayOption(const std::string& text, double& fraction) {
  int h = 0;
  int mi = 0;
  int s = 0;
  if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !Digits(text, 0, 2, h) ||
      !Digits(text, 3, 2, mi) || !Digits(text, 6, 2, s)) {
    return false;
  }
  if (h > 23 || mi > 59 || s > 59) {
    return false;
  }
  fraction = (h * 3600.0 + mi * 60.0 + s) / 86400.0;
  return true;
}

bool ParseMomentOption(const std::string& text, double& moment) {
  const size_t blank = text.find(' ');
  if (blank != 10) {
    return false;
  }
  double day = 0;
  double fraction = 0;
  if (!ParseDayOption(text.substr(0, blank), day) ||
      !ParseTimeOfDayOption(text.substr(blank + 1), fraction)) {
    return false;
  }
  moment = day + fraction;
  return true;
}

bool ParseWholeNumberOption(const std::string& text, long long low, long long high,
                            long long& value) {
  if (text.empty() || text.size() > 12) {
    return false;
  }
  const size_t first = text[0] == '-' ? 1 : 0;
  if (first == text.size() ||
      !std::all_of(text.begin() + static_cast<std::ptrdiff_t>(first), text.end(),
                   [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  value = std::stoll(text);
  return value >= low && value <= high;
}

const std::string* OptionValue(const std::map<std::string, std::string>& options,
                               const char* name) {
  const auto it = options.find(name);
  return it == options.end() ? nullptr : &it->second;
}

bool ParsePupilOption(const std::string& text, long long& pupil, std::ostream& err) {
  if (ParseWholeNumberOption(text, 1, kPupilSlots - 1, pupil)) {
    return true;
  }
  err << "--pupil には 1 から 5000 までの生徒番号を指定してください: " << Quoted(text) << "\n";
  return false;
}

bool ParseNowOption(const std::map<std::string, std::string>& options, double& now,
                    std::ostream& err) {
  const std::string* text = OptionValue(options, "now");
  if (text == nullptr) {
    now = SystemClock().Now();
    return true;
  }
  if (ParseMomentOption(*text, now)) {
    return true;
  }
  err << "--now は \"YYYY-MM-DD HH:MM:SS\" の形の正しい日時で指定してください: " << Quoted(*text)
      << "\n";
  return false;
}

bool ParseGradeFilterOption(const std::map<std::string, std::string>& options, std::string& filter,
                            std::ostream& err) {
  filter = kAllGrades;
  const auto it = options.find("filter");
  if (it == options.end()) {
    return true;
  }
  filter = it->second;
  if (std::find(kGradeFilterTexts.begin(), kGradeFilterTexts.end(), filter) !=
      kGradeFilterTexts.end()) {
    return true;
  }
  err << "--filter の学年がちがいます: " << Quoted(filter) << "\n使える学年:";
  for (const char* t : kGradeFilterTexts) {
    err << " " << t;
  }
  err << "\n";
  return false;
}

}  // namespace numora
