// Synthesises the thirteen sound effects and writes them as Ogg Vorbis files.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "gen/ogg_out.h"
#include "gen/synth.h"

namespace {

constexpr char kEncoder[] = "Silkguard gen_sfx";

struct Effect {
  std::string name;
  int channels;
  double peak_db;  // level relative to the other effects
  std::function<std::vector<float>()> make;
};

template <typename F>
std::vector<float> Render(double seconds, F&& sample) {
  std::vector<float> out(Samples(seconds));
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<float>(sample(static_cast<double>(i) * kDt));
  }
  return out;
}

// Laser "pew": a pulse wave diving in pitch, with a breath of noise on the attack.
std::vector<float> Shot() {
  Osc osc;
  Svf lp;
  Prng rng(1);
  return Render(0.2, [&](double t) {
    const double hz = 220.0 + 1500.0 * std::exp(-t * 22.0);
    double v = osc.Pulse(hz, 0.3 + 0.15 * t / 0.2);
    v += rng.Bipolar() * 0.5 * std::exp(-t * 120.0);
    v = lp.Low(v, 2500.0 + 5000.0 * std::exp(-t * 15.0), 0.8);
    return v * PercEnv(t, 0.002, 16.0);
  });
}

// A heavier blaster: two detuned saws diving lower, with grit.
std::vector<float> Shot3() {
  Osc a, b(0.3);
  Svf lp;
  Prng rng(3);
  return Render(0.32, [&](double t) {
    const double hz = 110.0 + 900.0 * std::exp(-t * 14.0);
    double v = 0.5 * a.Saw(hz) + 0.5 * b.Saw(hz * 1.012);
    v += rng.Bipolar() * 0.35 * std::exp(-t * 40.0);
    v = lp.Low(v, 900.0 + 4000.0 * std::exp(-t * 10.0), 1.2);
    return v * PercEnv(t, 0.002, 10.0);
  });
}

// Menu blip: two quick square tones, up a fifth.
std::vector<float> Blip() {
  Osc osc;
  Svf lp;
  return Render(0.1, [&](double t) {
    const double hz = t < 0.035 ? 1046.5 : 1568.0;
    const double v = lp.Low(osc.Pulse(hz, 0.5), 3500.0, 0.7);
    return v * HoldEnv(t, 0.002, 0.06, 60.0);
  });
}

// Grubsteak taken: a bright rising arpeggio, each note ringing on a little.
std::vector<float> TakeGrub() {
  const double notes[] = {72, 76, 79, 84, 88};
  constexpr double kStep = 0.045;
  std::vector<Osc> oscs(5);
  return Render(0.5, [&](double t) {
    double v = 0.0;
    for (int n = 0; n < 5; ++n) {
      const double local = t - n * kStep;
      if (local < 0.0) continue;
      const double hz = MidiHz(notes[n]);
      const double tone = 0.7 * oscs[n].Triangle(hz) + 0.3 * std::sin(2 * kPi * hz * 2 * local);
      v += tone * PercEnv(local, 0.003, 14.0) * (n == 4 ? 1.2 : 1.0);
    }
    return v * 0.5;
  });
}

// Crunch: sample-and-hold noise whose hold time grows (so its pitch falls), over
// a low thump. `hold0`/`hold1` set how gritty it starts and ends.
std::vector<float> Crunch(std::uint64_t seed, double seconds, double hold0, double hold1,
                          double thump_hz, double decay) {
  Prng rng(seed);
  Osc thump;
  Svf lp;
  double held = 0.0, counter = 0.0;
  return Render(seconds, [&](double t) {
    const double progress = t / seconds;
    const double hold = hold0 + (hold1 - hold0) * progress;
    counter -= 1.0;
    if (counter <= 0.0) {
      held = rng.Bipolar();
      counter += hold * (0.6 + 0.8 * rng.Unit());
    }
    double v = lp.Low(held, 7000.0 * std::exp(-t * 6.0) + 400.0, 0.7);
    v += 0.8 * thump.Sine(thump_hz * (1.0 + 1.5 * std::exp(-t * 30.0))) * std::exp(-t * 14.0);
    return v * PercEnv(t, 0.001, decay);
  });
}

// Egg pushed off: a sliding whistle falling away, then a soft plop.
std::vector<float> EggPushedOff() {
  Osc whistle, plop;
  return Render(0.62, [&](double t) {
    double v = 0.0;
    const double vib = 1.0 + 0.02 * std::sin(2 * kPi * 9.0 * t);
    v += whistle.Sine(1300.0 * std::exp(-t * 3.2) * vib) * HoldEnv(t, 0.02, 0.42, 40.0);
    const double tp = t - 0.5;
    if (tp >= 0.0)
      v += 0.8 * plop.Sine(180.0 + 500.0 * std::exp(-tp * 60.0)) * PercEnv(tp, 0.002, 30.0);
    return v;
  });
}

// A bell voice: two-operator FM with an inharmonic ratio and a decaying index.
double Bell(Osc& carrier, Osc& mod, double hz, double t, double decay) {
  const double index = 2.2 * std::exp(-t * 5.0);
  const double m = mod.Sine(hz * 3.5) * index;
  // Phase modulation by nudging the carrier's frequency.
  const double c = carrier.Sine(hz * (1.0 + 0.02 * m));
  return (c + 0.25 * std::sin(2 * kPi * hz * 2.0 * t) * std::exp(-t * 3.0)) *
         PercEnv(t, 0.002, decay);
}

// Extra life: a bright major chime, four bells in quick succession.
std::vector<float> BonusShip() {
  const double notes[] = {84, 88, 91, 96};
  std::vector<Osc> car(4), mod(4);
  return Render(1.7, [&](double t) {
    double v = 0.0;
    for (int n = 0; n < 4; ++n) {
      const double local = t - n * 0.09;
      if (local >= 0.0) v += Bell(car[n], mod[n], MidiHz(notes[n]), local, n == 3 ? 2.6 : 4.0);
    }
    return v * 0.4;
  });
}

// Woorp: a sci-fi swell, a resonant filtered saw that rises and tips over at the end.
std::vector<float> Woorp() {
  Osc a, b(0.5), lfo;
  Svf f;
  constexpr double kLen = 1.6;
  return Render(kLen, [&](double t) {
    const double rise = t < 1.2 ? t / 1.2 : 1.0 - (t - 1.2) / 0.4 * 0.35;
    const double hz = 70.0 * std::pow(2.0, rise * 2.3);
    double v = 0.5 * a.Saw(hz) + 0.5 * b.Saw(hz * 1.007);
    const double wobble = 0.5 + 0.5 * lfo.Sine(6.0 + 10.0 * rise);
    v = f.Low(v, 200.0 + 2800.0 * rise * (0.6 + 0.4 * wobble), 6.0);
    return v * HoldEnv(t, 0.35, 1.3, 12.0);
  });
}

// Swoosh: wind-like band-passed noise sweeping up and back, panning across.
std::vector<float> Swoosh() {
  Prng rng(11);
  Svf bp1, bp2;
  constexpr double kLen = 1.0;
  std::vector<float> out(Samples(kLen) * 2);
  for (std::size_t i = 0; i < out.size() / 2; ++i) {
    const double t = static_cast<double>(i) * kDt;
    const double x = t / kLen;
    const double env = std::pow(std::sin(kPi * std::pow(x, 0.8)), 2.0);
    const double centre = 350.0 + 2600.0 * std::sin(kPi * x);
    double v = bp1.Band(rng.Bipolar(), centre, 2.5);
    v = bp2.Band(v, centre * 1.1, 1.5);
    v *= env;
    const double pan = x;  // left to right
    out[2 * i] = static_cast<float>(v * std::cos(pan * kPi / 2));
    out[2 * i + 1] = static_cast<float>(v * std::sin(pan * kPi / 2));
  }
  return out;
}

// Boing: a spring twang, a pitch that springs up and wobbles while it settles.
std::vector<float> Boing() {
  Osc osc, lfo;
  return Render(0.9, [&](double t) {
    const double wobble = lfo.Sine(11.0) * std::exp(-t * 4.0);
    const double hz = (170.0 + 260.0 * std::exp(-t * 9.0)) * (1.0 + 0.28 * wobble);
    const double v = osc.Triangle(hz) * 0.7 + 0.3 * std::sin(2 * kPi * osc.phase() * 2.0);
    return v * PercEnv(t, 0.003, 4.0);
  });
}

// A brass voice: saw through a filter that opens on the attack, with late vibrato.
struct Brass {
  Osc a, b{0.25};
  Svf lp;
  double Sample(double hz, double t, double len) {
    const double vib = 1.0 + (t > 0.15 ? 0.006 * std::sin(2 * kPi * 5.5 * t) : 0.0);
    double v = 0.6 * a.Saw(hz * vib) + 0.4 * b.Saw(hz * vib * 1.004);
    const double open = 900.0 + 2600.0 * (1.0 - std::exp(-t * 25.0)) * std::exp(-t * 1.5);
    v = lp.Low(v, open, 0.9);
    return v * HoldEnv(t, 0.02, len, 9.0);
  }
};

// Level complete: a short rising fanfare landing on a held major chord.
std::vector<float> LevelComplete() {
  struct Note {
    double start, len, midi;
  };
  const Note notes[] = {
      {0.00, 0.11, 67}, {0.13, 0.11, 67}, {0.26, 0.11, 67}, {0.39, 0.30, 72}, {0.72, 0.15, 71},
      {0.90, 0.75, 76}, {0.90, 0.75, 72}, {0.90, 0.75, 67}, {0.90, 0.75, 84},
  };
  std::vector<Brass> voices(std::size(notes));
  return Render(2.0, [&](double t) {
    double v = 0.0;
    for (std::size_t n = 0; n < std::size(notes); ++n) {
      const double local = t - notes[n].start;
      if (local >= 0.0) v += voices[n].Sample(MidiHz(notes[n].midi), local, notes[n].len);
    }
    return v * 0.3;
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_sfx OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::vector<Effect> effects = {
      {"shot", 1, -4.0, Shot},
      {"shot3", 1, -3.0, Shot3},
      {"BlipSND", 1, -6.0, Blip},
      {"TakeGrub", 1, -3.0, TakeGrub},
      {"Crunch1", 1, -2.0, [] { return Crunch(21, 0.35, 1.0, 14.0, 70.0, 9.0); }},
      {"Crunch2", 1, -2.5, [] { return Crunch(22, 0.25, 2.0, 8.0, 110.0, 13.0); }},
      {"Crunch3", 1, -2.0, [] { return Crunch(23, 0.6, 1.5, 24.0, 55.0, 6.0); }},
      {"EggPushedOff", 1, -3.0, EggPushedOff},
      {"BonusShip", 1, -2.0, BonusShip},
      {"WoorpSND", 1, -2.0, Woorp},
      {"Swoosh", 2, -3.0, Swoosh},
      {"Boing", 1, -2.0, Boing},
      {"LevelComplete", 1, -2.0, LevelComplete},
  };
  for (const Effect& e : effects) {
    std::vector<float> s = e.make();
    if (e.channels == 1) {
      RemoveDc(s);
      FadeTail(s, 0.01);
    }
    NormalizeTo(s, e.peak_db);
    // Pure tones reach a peak with far more energy than noisy crunches do; keep
    // them from sounding much louder than the rest.
    double energy = 0.0;
    for (float v : s) energy += static_cast<double>(v) * v;
    const double rms_db = 10.0 * std::log10(energy / static_cast<double>(s.size()) + 1e-30);
    constexpr double kLoudest = -15.0;
    if (rms_db > kLoudest) {
      const auto gain = static_cast<float>(std::pow(10.0, (kLoudest - rms_db) / 20.0));
      for (float& v : s) v *= gain;
    }
    if (!WriteOgg(dir + "/" + e.name + ".ogg", e.channels, s, 0.4f, e.name, kEncoder)) return 1;
  }
  return 0;
}
