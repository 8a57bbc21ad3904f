#pragma once

#include <cstddef>
#include <vector>

namespace numora {

inline constexpr int kLevelSlots = 36;    // levels 0..35; level 0 is never played
inline constexpr int kPupilSlots = 5001;  // pupil numbers 0..5000
inline constexpr int kMaxResultEntries = 20000;

// Position of level L and pupil P in a flat per-level-per-pupil table.
constexpr std::size_t LevelPupilIndex(int level, int pupil) {
  return static_cast<std::size_t>(level) * kPupilSlots + static_cast<std::size_t>(pupil);
}

// A flat 36 × 5001 table; entry (L, P) lives at L × 5001 + P.
template <class T>
struct LevelPupilTable {
  std::vector<T> cells = std::vector<T>(static_cast<std::size_t>(kLevelSlots) * kPupilSlots);
  T& operator()(int level, int pupil) { return cells[LevelPupilIndex(level, pupil)]; }
  const T& operator()(int level, int pupil) const { return cells[LevelPupilIndex(level, pupil)]; }
  T& operator[](std::size_t i) { return cells[i]; }
  const T& operator[](std::size_t i) const { return cells[i]; }
};

}  // namespace numora
