#include "core/installation/wav_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace numora {

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

}  // namespace

double SemitoneFrequency(int semitonesFromA4) {
  return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

std::string SynthesiseWav(const std::vector<SynthNote>& notes) {
  std::vector<int16_t> samples;
  for (const SynthNote& note : notes) {
    const int count = std::max(1, static_cast<int>(std::lround(note.seconds * kSynthSampleRate)));
    const double attack = 0.006 * kSynthSampleRate;
    const double release = std::min(0.02 * kSynthSampleRate, count / 4.0);
    const double decay = 3.5 / (note.seconds * kSynthSampleRate);
    for (int i = 0; i < count; ++i) {
      double v = 0;
      if (note.frequency > 0) {
        const double t = static_cast<double>(i) / kSynthSampleRate;
        const double w = 2 * std::numbers::pi * note.frequency * t;
        v = std::sin(w) + 0.35 * std::sin(2 * w) + 0.12 * std::sin(3 * w) + 0.05 * std::sin(4 * w);
        v /= 1.52;
        double envelope = std::exp(-decay * i);
        if (i < attack) {
          envelope *= i / attack;
        }
        if (count - i < release) {
          envelope *= (count - i) / release;
        }
        v *= envelope * note.loudness;
      }
      samples.push_back(static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32000)));
    }
  }
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::string out;
  out.reserve(44 + dataBytes);
  out += "RIFF";
  PutLe(out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 1, 2);  // mono
  PutLe(out, kSynthSampleRate, 4);
  PutLe(out, kSynthSampleRate * 2, 4);  // bytes per second
  PutLe(out, 2, 2);                     // block align
  PutLe(out, 16, 2);                    // bits per sample
  out += "data";
  PutLe(out, dataBytes, 4);
  for (int16_t s : samples) {
    PutLe(out, static_cast<uint16_t>(s), 2);
  }
  return out;
}

}  // namespace numora
