#pragma once

// Test doubles of the platform services: a clock that moves only when told, scripted random
// fractions, a sound output that records what it was asked to play, and a host that records
// messages instead of showing them.

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "core/platform/dates.h"
#include "core/platform/services.h"

namespace numora {

class FakeClock : public Clock {
 public:
  FakeClock() : now_(MakeDateTime(2026, 12, 10, 9, 0, 0)) {}
  double Now() const override { return now_; }
  uint32_t TickCount() const override { return ticks_; }
  void Set(int y, int mo, int d, int h = 9, int mi = 0, double s = 0) {
    now_ = MakeDateTime(y, mo, d, h, mi, s);
  }
  void SetNow(double date) { now_ = date; }
  // Moves date, time of day and tick count on together.
  void Advance(double seconds) {
    now_ += seconds / 86400.0;
    ticks_ += static_cast<uint32_t>(std::llround(seconds * 1000.0));
  }

 private:
  double now_;
  uint32_t ticks_ = 1000;
};

class ScriptedRandom : public Random {
 public:
  void Seed(double seed) override { seeds.push_back(seed); }
  double Next() override {
    if (script.empty()) {
      return fallback;
    }
    double v = script.front();
    script.pop_front();
    return v;
  }
  std::deque<double> script;
  double fallback = 0.0;
  std::vector<double> seeds;
};

class RecordingSound : public SoundOutput {
 public:
  bool PlayWait(const std::string& path, std::string& errorText) override {
    played.push_back(path);
    if (fail) {
      errorText = "再生できません";
      return false;
    }
    return true;
  }
  std::vector<std::string> played;
  bool fail = false;
};

class RecordingHost : public Host {
 public:
  explicit RecordingHost(FakeClock* clock = nullptr) : clock_(clock) {}
  void ProcessEvents() override { ++processed; }
  void ShowMessage(const std::string& title, const std::string& text) override {
    messages.push_back(title + "|" + text);
  }
  bool AskYesNo(const std::string& title, const std::string& text) override {
    messages.push_back(title + "|" + text);
    return answerYes;
  }
  void WaitResponsive(double seconds) override {
    waited += seconds;
    if (clock_ != nullptr) {
      clock_->Advance(seconds);
    }
  }
  bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                     const std::string& folder) override {
    started.push_back({program, args, folder});
    return startSucceeds;
  }
  void EndProgram(int status) override { endedWith.push_back(status); }

  struct Start {
    std::string program;
    std::vector<std::string> args;
    std::string folder;
  };
  int processed = 0;
  double waited = 0;
  bool answerYes = true;
  bool startSucceeds = true;
  std::vector<std::string> messages;  // "title|text"
  std::vector<Start> started;
  std::vector<int> endedWith;

 private:
  FakeClock* clock_;
};

// One bundle of fakes wired together, for tests.
struct FakeServices {
  FakeClock clock;
  ScriptedRandom random;
  RecordingSound sound;
  RecordingHost host{&clock};
  Services services{clock, random, sound, host};
};

}  // namespace numora
