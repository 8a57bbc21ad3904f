#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace numora {

// Time source. Dates are doubles counting days since 30 December 1899 in local time; the whole
// part is the day, the fraction the part of the day elapsed.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double Now() const = 0;          // local date and time of day
  virtual uint32_t TickCount() const = 0;  // milliseconds since an arbitrary start
  double Today() const;                    // whole days of Now()
  double Timer() const;                    // seconds since midnight, with fractions
};

// Uniform random fractions in [0, 1), seeded from the clock where the program says so.
class Random {
 public:
  virtual ~Random() = default;
  virtual void Seed(double seed) = 0;
  virtual double Next() = 0;
};

// Plays one WAV file to the end. Returns false with an error text when the file is missing or
// cannot be played, or when there is no audio device.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  virtual bool PlayWait(const std::string& path, std::string& errorText) = 0;
};

// What the core needs from the windowing side: message boxes, letting pending window messages be
// processed, a wait that keeps windows responsive, starting another program and ending this one.
class Host {
 public:
  virtual ~Host() = default;
  virtual void ProcessEvents() = 0;
  // A message box with an OK button; returns when the user has closed it.
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
  // A message box with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
  // A message box with OK and Cancel buttons; true for OK. Hosts without such a box ask yes/no.
  virtual bool AskOkCancel(const std::string& title, const std::string& text) {
    return AskYesNo(title, text);
  }
  // Waits the given seconds while window messages keep being processed.
  virtual void WaitResponsive(double seconds) = 0;
  // Starts a program detached from this one; false when it could not be started.
  virtual bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                             const std::string& workingFolder) = 0;
  // Unloads every window and ends the program with the given exit status. The real host does
  // not return; a test host records the call and returns.
  virtual void EndProgram(int status) = 0;
};

// The platform services handed to every window and core function that needs them. The program
// uses the real ones; each test builds its own fakes (platform/fakes.h).
struct Services {
  Clock& clock;
  Random& random;
  SoundOutput& sound;
  Host& host;
};

}  // namespace numora
