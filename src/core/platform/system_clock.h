#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "core/platform/services.h"

namespace numora {

// The real clock: local date and time from the operating system, tick count from a steady clock.
class SystemClock : public Clock {
 public:
  double Now() const override;
  uint32_t TickCount() const override;
};

// The real uniform generator.
class SystemRandom : public Random {
 public:
  void Seed(double seed) override;
  double Next() override;

 private:
  std::mt19937_64 engine_{12345};
};

// The folder of the running executable, ending with the native separator.
std::string ExecutableFolder();

}  // namespace numora
