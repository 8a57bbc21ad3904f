#include "core/drill/run_clock.h"

#include <cmath>

#include "core/installation/level_catalogue.h"
#include "core/installation/table_sizes.h"
#include "core/platform/saturate.h"
#include "core/platform/utf8_text.h"
#include "core/records/statistics_tables.h"

namespace numora {

namespace {
constexpr double kSecondsPerDay = 86400.0;
}  // namespace

int32_t ElapsedSeconds(double timer, double start) {
  double gap = timer - start;
  if (gap < 0) {
    gap += kSecondsPerDay;  // the timer went past midnight
  }
  return SaturatingCast<int32_t>(std::nearbyint(gap));
}

int32_t MinutesSince(double timer, int32_t startSeconds) {
  double gap = std::floor(timer - startSeconds);
  if (gap < 0 && gap >= -1) {
    // The start was rounded up to the next whole second: no time has passed yet.
    gap = 0;
  } else if (gap < 0) {
    gap += kSecondsPerDay;  // the timer went past midnight
  }
  return static_cast<int32_t>(gap) / 60;
}

int32_t RunTimeLimit(const LevelStandard& standard) {
  if (standard.minimumTime <= 0) {
    return 0;
  }
  return 5 * standard.minimumTime;
}

double TimeBarScale(double barWidth, int32_t timeLimit) {
  if (timeLimit <= 0) {
    return 0;
  }
  return barWidth / timeLimit;
}

CountdownThresholds CountdownThresholdsFor(const LevelCatalogue& catalogue,
                                           const StatisticsTables& stats, int level, int pupil) {
  auto usable = [](int32_t best) { return best > 0 && best < kNoBestTime ? best : 0; };
  CountdownThresholds t;
  if (level < 0 || level >= kLevelSlots || pupil < 0 || pupil >= kPupilSlots) {
    return t;
  }
  t.best = usable(stats.bestTimeAll[static_cast<std::size_t>(level)]);
  t.personalBest = usable(stats.bestTime(level, pupil));
  t.targetTime = catalogue.standards[static_cast<std::size_t>(level)].targetTime;
  t.minimumTime = catalogue.standards[static_cast<std::size_t>(level)].minimumTime;
  return t;
}

void CountdownSquares::Tick(int32_t elapsed, const CountdownThresholds& thresholds) {
  // A group hides its first (elapsed − X + 9) + 1 squares while the threshold X is still ahead.
  auto countDown = [&](int32_t x, int first) {
    if (x <= 0 || x < elapsed) {
      return;
    }
    const int32_t last = first + (elapsed - x + 9);
    for (int i = first; i <= last && i <= first + 9; ++i) {
      hidden[static_cast<std::size_t>(i)] = true;
    }
  };
  countDown(thresholds.best, 10);
  countDown(thresholds.personalBest, 20);
  countDown(thresholds.targetTime, 30);
  // The red squares also count down, from the right, to the minimum time.
  const int32_t x = thresholds.minimumTime;
  if (x > 0 && x >= elapsed) {
    for (int k = 0; k <= 9; ++k) {
      if (elapsed == x - k) {
        hidden[static_cast<std::size_t>(39 - k)] = true;
      }
    }
  }
}

int CountdownSquares::HiddenCount() const {
  int n = 0;
  for (int i = kFirst; i <= kLast; ++i) {
    n += hidden[static_cast<std::size_t>(i)] ? 1 : 0;
  }
  return n;
}

double TitlePointSize(const std::string& title) {
  return CharCount(title) > 9 ? 14.0 : 16.8;
}

void WaitOnTickCount(Services& services, double seconds) {
  constexpr uint32_t kStepMs = 10;
  int64_t count = 0;
  uint32_t start = services.clock.TickCount();
  for (;;) {
    const uint32_t now = services.clock.TickCount();
    const uint32_t gap = now - start;  // unsigned: survives the tick count wrapping round
    bool counted = false;
    if (gap > kStepMs) {
      ++count;
      counted = true;
      if (static_cast<double>(count) * kStepMs / 1000.0 >= seconds) {
        break;
      }
      start = now - (gap - kStepMs);
    }
    services.host.ProcessEvents();
    if (!counted) {
      services.host.WaitResponsive(0.005);
    }
  }
}

}  // namespace numora
