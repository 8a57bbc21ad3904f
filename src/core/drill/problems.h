#pragma once

// Problems of the divisor drill: the target lists of the levels, the choice of the next target,
// the divisor count and the hint slots of a target.

#include <array>
#include <string_view>
#include <vector>

#include "core/platform/services.h"

namespace numora {

// The target list of a level as two-digit numbers written back to back; empty for a level that
// has no list.
std::string_view TargetListText(int level);
// The same list as numbers, in list order.
std::vector<int> TargetList(int level);

// Draws the next target uniformly from the list, drawing again while it equals previousTarget.
// It never draws forever: a list whose every entry equals previousTarget gives that entry, and a
// random source that keeps giving the previous target yields the next different entry after a
// thousand draws. An empty list gives 0.
int DrawTarget(const std::vector<int>& targets, int previousTarget, Random& random);

// Number of integers from 1 to n that divide n (0 for n below 1).
int DivisorCount(int n);

// The hint slots of a target. Each divisor pair (i, n / i) with i × i ≤ n takes two slots: the
// k-th pair puts i into slot k from the left and its partner into slot k from the right; a square
// root stands alone. Ten slots hold the five pairs of most targets; a target with more pairs gets
// two slots per pair (12 for 60 and 72), so every pair has its own slots.
struct HintSlots {
  static constexpr int kMaxSlots = 16;
  int slotCount = 10;
  int pairCount = 0;
  std::array<int, kMaxSlots + 1> value{};  // slots 1..slotCount; 0 = no caption
};
HintSlots PrepareHints(int target);

// The two slots revealed by the wrong answer that makes hintPairsShown pairs shown: slot
// hintPairsShown and its mirror slot. Both 0 once every pair of slots has been revealed.
struct RevealedSlots {
  int left = 0;
  int right = 0;
};
RevealedSlots RevealForWrongAnswer(const HintSlots& hints, int hintPairsShown);

}  // namespace numora
