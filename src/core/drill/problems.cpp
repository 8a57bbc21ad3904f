#include "core/drill/problems.h"

#include <algorithm>
#include <cmath>

namespace numora {

std::string_view TargetListText(int level) {
  switch (level) {
    case 1:
      return "0406080910121415161820";
    case 2:
      return "040608091012141516182021222425272830";
    case 3:
      return "1214151618202122242527283035364045505152545556575860";
    case 4:
      return "16182021222425272830353640455051525455565758606472817080";
    default:
      return {};
  }
}

std::vector<int> TargetList(int level) {
  const std::string_view text = TargetListText(level);
  std::vector<int> targets;
  targets.reserve(text.size() / 2);
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    targets.push_back((text[i] - '0') * 10 + (text[i + 1] - '0'));
  }
  return targets;
}

int DrawTarget(const std::vector<int>& targets, int previousTarget, Random& random) {
  if (targets.empty()) {
    return 0;
  }
  // A uniform source draws another target within a few tries; a degenerate one (always the same
  // fraction) must still not hang the drill, so after many tries the next different entry is
  // taken.
  constexpr int kMaxDraws = 1000;
  const auto n = static_cast<double>(targets.size());
  std::size_t index = 0;
  for (int draw = 0; draw < kMaxDraws; ++draw) {
    index = std::min(static_cast<std::size_t>(std::floor(n * random.Next())), targets.size() - 1);
    if (targets[index] != previousTarget) {
      return targets[index];
    }
  }
  for (std::size_t step = 1; step < targets.size(); ++step) {
    const int t = targets[(index + step) % targets.size()];
    if (t != previousTarget) {
      return t;
    }
  }
  return targets[index];
}

int DivisorCount(int n) {
  int count = 0;
  for (int i = 1; i <= n; ++i) {
    if (n % i == 0) {
      ++count;
    }
  }
  return count;
}

HintSlots PrepareHints(int target) {
  HintSlots hints;
  if (target < 1) {
    return hints;
  }
  std::vector<int> small;
  for (int i = 1; i * i <= target; ++i) {
    if (target % i == 0) {
      small.push_back(i);
    }
  }
  hints.pairCount = static_cast<int>(small.size());
  hints.slotCount = std::clamp(2 * hints.pairCount, 10, HintSlots::kMaxSlots);
  for (int k = 1; k <= hints.pairCount && k <= hints.slotCount / 2; ++k) {
    const int i = small[static_cast<std::size_t>(k - 1)];
    hints.value[static_cast<std::size_t>(k)] = i;
    if (i * i != target) {
      hints.value[static_cast<std::size_t>(hints.slotCount + 1 - k)] = target / i;
    }
  }
  return hints;
}

RevealedSlots RevealForWrongAnswer(const HintSlots& hints, int hintPairsShown) {
  if (hintPairsShown < 1 || hintPairsShown > hints.slotCount / 2) {
    return {};
  }
  return {hintPairsShown, hints.slotCount + 1 - hintPairsShown};
}

}  // namespace numora
