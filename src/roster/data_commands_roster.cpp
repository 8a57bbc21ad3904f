// numora-data namelist: the visible lines of the selection screen's name list.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/dates.h"
#include "platform/services.h"
#include "platform/system_services.h"
#include "roster/name_list.h"
#include "roster/roster.h"
#include "startup/data_commands.h"
#include "startup/installation.h"

namespace numora {

namespace {

// A clock standing still at noon of one day.
class FixedClock : public Clock {
 public:
  explicit FixedClock(double now) : now_(now) {}
  double Now() const override { return now_; }
  uint32_t TickCount() const override { return 0; }

 private:
  double now_;
};

class NoRandom : public Random {
 public:
  void Seed(double /*seed*/) override {}
  double Next() override { return 0; }
};

class NoSound : public SoundOutput {
 public:
  bool PlayWait(const std::string& /*path*/, std::string& errorText) override {
    errorText = "音は出しません";
    return false;
  }
};

// Messages go to the error stream; nothing waits and nothing is started.
class ConsoleHost : public Host {
 public:
  explicit ConsoleHost(std::ostream& err) : err_(err) {}
  void ProcessEvents() override {}
  void ShowMessage(const std::string& title, const std::string& text) override {
    err_ << title << ": " << text << "\n";
  }
  bool AskYesNo(const std::string& title, const std::string& text) override {
    err_ << title << ": " << text << "\n";
    return false;
  }
  void WaitResponsive(double /*seconds*/) override {}
  bool StartDetached(const std::string& /*program*/, const std::vector<std::string>& /*args*/,
                     const std::string& /*folder*/) override {
    return false;
  }
  void EndProgram(int /*status*/) override {}

 private:
  std::ostream& err_;
};

bool ParseDate(const std::string& text, double& date) {
  int y = 0;
  int m = 0;
  int d = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return false;
  if (y < 1900 || m < 1 || m > 12 || d < 1 || d > 31) return false;
  date = MakeDate(y, m, d);
  // A day that does not exist in its month (2 月 30 日) comes back as another date.
  const CivilDate back = ToCivil(date);
  return back.year == y && back.month == m && back.day == d;
}

}  // namespace

int RunNameListCommand(const DataCommandArgs& args, std::ostream& out, std::ostream& err) {
  const auto options = ParseDataOptions(args);
  auto option = [&](const char* name) -> const std::string* {
    auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
  };
  const std::string* folder = option("program-folder");
  if (folder == nullptr || folder->empty()) {
    err << "--program-folder にプログラムのフォルダを指定してください。\n";
    return 2;
  }
  const std::string* viewText = option("view");
  if (viewText == nullptr || viewText->size() != 1 || (*viewText)[0] < '0' ||
      (*viewText)[0] > '3') {
    err << "--view には 0～3 を指定してください（0 回数 1 ポイント 2 本日 3 今まで）。\n";
    return 2;
  }
  const int view = (*viewText)[0] - '0';
  std::string filter = kAllGrades;
  if (const std::string* f = option("filter")) {
    filter = *f;
    if (std::find_if(kGradeFilterTexts.begin(), kGradeFilterTexts.end(),
                     [&](const char* t) { return filter == t; }) == kGradeFilterTexts.end()) {
      err << "--filter の学年がちがいます: " << filter << "\n使える学年:";
      for (const char* t : kGradeFilterTexts) err << " " << t;
      err << "\n";
      return 2;
    }
  }
  SystemClock systemClock;
  double now = systemClock.Now();
  if (const std::string* t = option("today")) {
    double day = 0;
    if (!ParseDate(*t, day)) {
      err << "--today の日付は YYYY-MM-DD の形で指定してください: " << *t << "\n";
      return 2;
    }
    now = day + 0.5;
  }
  FixedClock clock(now);
  NoRandom random;
  NoSound sound;
  ConsoleHost host(err);
  Services services{clock, random, sound, host};

  auto state = std::make_unique<SharedState>();
  std::string error;
  if (!SetUpPathsAndSettings(*state, *folder, error)) {
    err << error << "\n";
    return 1;
  }
  RosterReading reading;
  const NameList list = BuildNameList(*state, services, view, filter, &reading);
  const std::string notice = RosterNotice(reading);
  if (!notice.empty()) err << notice << "\n";
  for (const std::string& line : list.list1) out << line << "\n";
  return 0;
}

}  // namespace numora
