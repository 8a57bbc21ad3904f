#include "core/drill/problems.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "support/fakes.h"

namespace numora {
namespace {

// A small deterministic generator for draws over many problems.
class LcgRandom : public Random {
 public:
  void Seed(double /*seed*/) override {}
  double Next() override {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;
  }

 private:
  uint64_t state_ = 12345;
};

TEST(TargetLists, LevelsOneToFourHaveTheirListsAndOtherLevelsNone) {
  EXPECT_EQ(TargetList(1), (std::vector<int>{4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20}));
  EXPECT_EQ(TargetList(2).size(), 18u);
  EXPECT_EQ(TargetList(3).size(), 26u);
  const std::vector<int> level4 = TargetList(4);
  ASSERT_EQ(level4.size(), 28u);
  EXPECT_EQ(level4.front(), 16);
  EXPECT_EQ(level4[23], 64);
  EXPECT_EQ(level4[26], 70);
  EXPECT_EQ(level4.back(), 80);
  EXPECT_TRUE(TargetList(0).empty());
  EXPECT_TRUE(TargetList(5).empty());
  EXPECT_TRUE(TargetList(-1).empty());
}

TEST(DrawTarget, TakesEntryIntOfCountTimesFractionAndDrawsAgainOnThePreviousTarget) {
  const std::vector<int> level1 = TargetList(1);
  ScriptedRandom random;
  random.script = {0.0, 0.999999, 0.5, 0.5, 0.95};
  EXPECT_EQ(DrawTarget(level1, 0, random), 4);    // Int(11 × 0) = entry 0
  EXPECT_EQ(DrawTarget(level1, 0, random), 20);   // Int(11 × 0.999999) = entry 10
  EXPECT_EQ(DrawTarget(level1, 0, random), 12);   // Int(5.5) = entry 5
  EXPECT_EQ(DrawTarget(level1, 12, random), 20);  // 12 again is drawn anew: 0.95 → entry 10
  EXPECT_TRUE(random.script.empty());
}

TEST(DrawTarget, NeverLoopsForeverAndNeverRepeatsWithinARun) {
  ScriptedRandom random;
  EXPECT_EQ(DrawTarget({7}, 7, random), 7);  // nothing else to draw
  EXPECT_EQ(DrawTarget({}, 0, random), 0);
  // A source stuck on the previous target gives the next entry instead of hanging.
  random.fallback = 0.0;
  EXPECT_EQ(DrawTarget(TargetList(1), 4, random), 6);

  LcgRandom lcg;
  for (int level = 1; level <= 4; ++level) {
    const std::vector<int> list = TargetList(level);
    const std::set<int> allowed(list.begin(), list.end());
    std::set<int> seen;
    int previous = 0;
    for (int i = 0; i < 3000; ++i) {
      const int t = DrawTarget(list, previous, lcg);
      ASSERT_TRUE(allowed.count(t)) << "level " << level << " target " << t;
      ASSERT_NE(t, previous);
      seen.insert(t);
      previous = t;
    }
    EXPECT_EQ(seen, allowed) << "every entry of level " << level << " is drawn";
  }
}

TEST(DivisorCount, CountsEveryDivisorAndEveryListTargetHasAtLeastThree) {
  EXPECT_EQ(DivisorCount(81), 5);
  EXPECT_EQ(DivisorCount(60), 12);
  EXPECT_EQ(DivisorCount(72), 12);
  EXPECT_EQ(DivisorCount(51), 4);
  EXPECT_EQ(DivisorCount(57), 4);
  EXPECT_EQ(DivisorCount(12), 6);
  EXPECT_EQ(DivisorCount(0), 0);
  for (int level = 1; level <= 4; ++level) {
    for (int t : TargetList(level)) EXPECT_GE(DivisorCount(t), 3) << t;
  }
}

TEST(PrepareHints, SmallDivisorsFromTheLeftAndPartnersFromTheRight) {
  struct Case {
    int target;
    int slotCount;
    std::vector<int> slots;  // slots 1..slotCount, 0 = empty
  };
  const Case cases[] = {
      {12, 10, {1, 2, 3, 0, 0, 0, 0, 4, 6, 12}},
      {16, 10, {1, 2, 4, 0, 0, 0, 0, 0, 8, 16}},
      {36, 10, {1, 2, 3, 4, 6, 0, 9, 12, 18, 36}},
      {81, 10, {1, 3, 9, 0, 0, 0, 0, 0, 27, 81}},
      {60, 12, {1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30, 60}},
      {72, 12, {1, 2, 3, 4, 6, 8, 9, 12, 18, 24, 36, 72}},
  };
  for (const Case& c : cases) {
    const HintSlots h = PrepareHints(c.target);
    ASSERT_EQ(h.slotCount, c.slotCount) << c.target;
    for (int k = 1; k <= h.slotCount; ++k) {
      EXPECT_EQ(h.value[static_cast<std::size_t>(k)], c.slots[static_cast<std::size_t>(k - 1)])
          << "target " << c.target << " slot " << k;
    }
  }
}

TEST(PrepareHints, EveryListTargetShowsAllItsDivisorsOnceEachInItsSlots) {
  for (int level = 1; level <= 4; ++level) {
    for (int t : TargetList(level)) {
      const HintSlots h = PrepareHints(t);
      std::multiset<int> shown;
      for (int k = 1; k <= h.slotCount; ++k) {
        if (h.value[static_cast<std::size_t>(k)] != 0)
          shown.insert(h.value[static_cast<std::size_t>(k)]);
      }
      std::multiset<int> divisors;
      for (int i = 1; i <= t; ++i) {
        if (t % i == 0) divisors.insert(i);
      }
      EXPECT_EQ(shown, divisors) << t;
    }
  }
}

TEST(RevealForWrongAnswer, RevealsPairsInwardsUntilEveryPairIsShown) {
  const HintSlots twelve = PrepareHints(12);
  EXPECT_EQ(RevealForWrongAnswer(twelve, 1).left, 1);
  EXPECT_EQ(RevealForWrongAnswer(twelve, 1).right, 10);
  EXPECT_EQ(RevealForWrongAnswer(twelve, 5).left, 5);
  EXPECT_EQ(RevealForWrongAnswer(twelve, 5).right, 6);
  EXPECT_EQ(RevealForWrongAnswer(twelve, 6).left, 0);  // the sixth wrong answer reveals nothing
  EXPECT_EQ(RevealForWrongAnswer(twelve, 6).right, 0);

  // Sixty's sixth pair (6 with 10) gets its own slots 6 and 7 on the sixth wrong answer.
  const HintSlots sixty = PrepareHints(60);
  for (int h = 1; h <= 6; ++h) {
    const RevealedSlots r = RevealForWrongAnswer(sixty, h);
    EXPECT_EQ(r.left, h);
    EXPECT_EQ(r.right, 13 - h);
  }
  const RevealedSlots sixth = RevealForWrongAnswer(sixty, 6);
  EXPECT_EQ(sixty.value[static_cast<std::size_t>(sixth.left)], 6);
  EXPECT_EQ(sixty.value[static_cast<std::size_t>(sixth.right)], 10);
  EXPECT_EQ(RevealForWrongAnswer(sixty, 7).left, 0);
}

}  // namespace
}  // namespace numora
