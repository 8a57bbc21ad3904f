#pragma once

#include <string>
#include <vector>

namespace numora {

// One note of a synthesised sound: a pitch (0 for a rest), a length and a loudness (0 to 1).
struct SynthNote {
  double frequency = 0;  // hertz
  double seconds = 0.1;
  double loudness = 0.5;
};

inline constexpr int kSynthSampleRate = 22050;

// A complete WAV file (16-bit PCM, mono, 22050 Hz) playing the notes one after another. Each note
// is a soft bell tone: a few harmonics with a quick attack and a gentle decay, so that sounds are
// pleasant and never click.
std::string SynthesiseWav(const std::vector<SynthNote>& notes);

// Frequency of a note given as semitones from A4 (440 Hz).
double SemitoneFrequency(int semitonesFromA4);

}  // namespace numora
