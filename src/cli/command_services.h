#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "core/platform/services.h"

namespace numora {

// The services the numora-data commands run the program's core code with: a clock standing still
// at one chosen moment, no randomness, no sound, and messages written to the error stream. Waits
// really wait, so that another program copy's lock on the results file can be waited out.
class CommandServices {
 public:
  CommandServices(std::ostream& err, double now) : clock_(now), host_(err) {}
  CommandServices(const CommandServices&) = delete;
  CommandServices& operator=(const CommandServices&) = delete;

  Services& services() { return services_; }
  // The status EndProgram was asked for, or -1 when nothing asked to end.
  int endedWith() const { return host_.ended; }

 private:
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
    bool PlayWait(const std::string& /*path*/, std::string& errorText) override;
  };
  class ConsoleHost : public Host {
   public:
    explicit ConsoleHost(std::ostream& err) : err_(err) {}
    void ProcessEvents() override {}
    void ShowMessage(const std::string& title, const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    void WaitResponsive(double seconds) override;
    bool StartDetached(const std::string& /*program*/, const std::vector<std::string>& /*args*/,
                       const std::string& /*folder*/) override {
      return false;
    }
    void EndProgram(int status) override { ended = status; }
    int ended = -1;

   private:
    std::ostream& err_;
  };

  FixedClock clock_;
  NoRandom random_;
  NoSound sound_;
  ConsoleHost host_;
  Services services_{clock_, random_, sound_, host_};
};

// "YYYY-MM-DD" (digits only) naming a real calendar day (1900 to 9999) to a date; false for
// anything else.
bool ParseDayOption(const std::string& text, double& date);
// "HH:MM:SS" (digits only, 00:00:00 to 23:59:59) to a fraction of a day; false for anything else.
bool ParseTimeOfDayOption(const std::string& text, double& fraction);
// "YYYY-MM-DD HH:MM:SS" to a date with its time of day; false for anything else.
bool ParseMomentOption(const std::string& text, double& moment);
// A whole decimal number within [low, high]; false for anything else.
bool ParseWholeNumberOption(const std::string& text, long long low, long long high,
                            long long& value);
// The value of an option, or nullptr when it was not given.
const std::string* OptionValue(const std::map<std::string, std::string>& options, const char* name);
// The --pupil option: a pupil number 1..5000. False, with the reason written to err, for any
// other text.
bool ParsePupilOption(const std::string& text, long long& pupil, std::ostream& err);
// The --now option: the moment the command works at ("YYYY-MM-DD HH:MM:SS"), the system clock's
// present when not given. False, with the reason written to err, for any other text.
bool ParseNowOption(const std::map<std::string, std::string>& options, double& now,
                    std::ostream& err);
// The --filter option: one of the grade filter box's texts (kAllGrades when not given). False,
// with the usable texts written to err, for any other text.
bool ParseGradeFilterOption(const std::map<std::string, std::string>& options, std::string& filter,
                            std::ostream& err);

}  // namespace numora
