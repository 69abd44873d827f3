// Small synthesis toolkit shared by the sound and music generators.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gen/ogg_out.h"
#include "gen/prng.h"

constexpr double kPi = 3.14159265358979323846;
constexpr double kDt = 1.0 / kSampleRate;

inline double MidiHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

inline std::size_t Samples(double seconds) {
  return static_cast<std::size_t>(seconds * kSampleRate + 0.5);
}

// Band-limited step correction: keeps saw and pulse waves from aliasing into
// a harsh fizz on high notes.
inline double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

// Phase accumulator with the usual waveforms. Phase in cycles, 0..1.
class Osc {
 public:
  explicit Osc(double phase = 0.0) : phase_(phase) {}

  double Sine(double hz) {
    const double v = std::sin(2.0 * kPi * phase_);
    Advance(hz);
    return v;
  }
  double Saw(double hz) {
    const double dt = hz * kDt;
    const double v = 2.0 * phase_ - 1.0 - PolyBlep(phase_, dt);
    Advance(hz);
    return v;
  }
  double Pulse(double hz, double width) {
    const double dt = hz * kDt;
    double v = phase_ < width ? 1.0 : -1.0;
    v += PolyBlep(phase_, dt);
    double t2 = phase_ - width;
    if (t2 < 0.0) t2 += 1.0;
    v -= PolyBlep(t2, dt);
    v -= 2.0 * width - 1.0;  // a narrow pulse is not centred on zero
    Advance(hz);
    return v;
  }
  double Triangle(double hz) {
    const double v = phase_ < 0.5 ? 4.0 * phase_ - 1.0 : 3.0 - 4.0 * phase_;
    Advance(hz);
    return v;
  }
  double phase() const { return phase_; }

 private:
  void Advance(double hz) {
    phase_ += hz * kDt;
    phase_ -= std::floor(phase_);
  }
  double phase_;
};

// Chamberlin-style state-variable filter (Simper's trapezoidal form: stable at
// every cutoff and resonance we use). q: 0.5 (soft) .. ~10 (ringing).
class Svf {
 public:
  struct Out {
    double low, band, high;
  };
  Out Process(double in, double cutoff_hz, double q) {
    cutoff_hz = std::fmin(std::fmax(cutoff_hz, 10.0), kSampleRate * 0.45);
    if (cutoff_hz != last_hz_) {  // most filters sit still: skip the tan()
      last_hz_ = cutoff_hz;
      g_ = std::tan(kPi * cutoff_hz * kDt);
    }
    const double g = g_;
    const double k = 1.0 / q;
    const double a1 = 1.0 / (1.0 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = in - ic2_;
    const double v1 = a1 * ic1_ + a2 * v3;
    const double v2 = ic2_ + a2 * ic1_ + a3 * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return {v2, v1, in - k * v1 - v2};
  }
  double Low(double in, double hz, double q) { return Process(in, hz, q).low; }
  double Band(double in, double hz, double q) { return Process(in, hz, q).band; }
  double High(double in, double hz, double q) { return Process(in, hz, q).high; }

 private:
  double ic1_ = 0.0, ic2_ = 0.0;
  double last_hz_ = -1.0, g_ = 0.0;
};

// Attack, then exponential decay; t in seconds.
inline double PercEnv(double t, double attack, double decay_rate) {
  if (t < 0.0) return 0.0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) * decay_rate);
}

// Linear attack, sustain level until `hold`, then exponential release.
inline double HoldEnv(double t, double attack, double hold, double release_rate) {
  if (t < 0.0) return 0.0;
  const double a = t < attack ? t / attack : 1.0;
  if (t < hold) return a;
  return a * std::exp(-(t - hold) * release_rate);
}

// Fade-out over the last `seconds` of a buffer so nothing ends on a step.
inline void FadeTail(std::vector<float>& mono, double seconds) {
  const std::size_t n = std::min(mono.size(), Samples(seconds));
  for (std::size_t i = 0; i < n; ++i) {
    const double w = static_cast<double>(i) / static_cast<double>(n);
    mono[mono.size() - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * w));
  }
}

inline double Peak(const std::vector<float>& samples) {
  double p = 0.0;
  for (float s : samples) p = std::fmax(p, std::fabs(static_cast<double>(s)));
  return p;
}

// Scales so that the loudest sample sits at `db` dBFS.
inline void NormalizeTo(std::vector<float>& samples, double db) {
  const double p = Peak(samples);
  if (p <= 0.0) return;
  const double gain = std::pow(10.0, db / 20.0) / p;
  for (float& s : samples) s = static_cast<float>(s * gain);
}

// Removes a constant offset, which would otherwise waste headroom and thump at
// the start and end of a sound.
inline void RemoveDc(std::vector<float>& mono) {
  double y = 0.0, x1 = 0.0;
  for (float& s : mono) {
    const double x = s;
    y = x - x1 + 0.9995 * y;
    x1 = x;
    s = static_cast<float>(y);
  }
}
