#include "startup/command_services.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/dates.h"

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

bool ParseDayOption(const std::string& text, double& date) {
  int y = 0;
  int m = 0;
  int d = 0;
  char tail = 0;
  if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) {
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
  char tail = 0;
  if (text.size() != 8 || std::sscanf(text.c_str(), "%2d:%2d:%2d%c", &h, &mi, &s, &tail) != 3) {
    return false;
  }
  if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59) {
    return false;
  }
  fraction = (h * 3600.0 + mi * 60.0 + s) / 86400.0;
  return true;
}

}  // namespace numora
