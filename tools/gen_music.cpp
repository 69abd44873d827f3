// Synthesises the two music loops: a calm A minor piece for the menus and a more
// driving D minor piece for the game. Both loop without a seam: every note is
// written into a circular buffer, so a tail that runs past the end continues at the
// start, and the echo and reverb run over the loop twice so their tails wrap too.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "gen/ogg_out.h"
#include "gen/synth.h"

namespace {

constexpr char kEncoder[] = "Silkguard gen_music";

// Stereo buffer that wraps: writing past the end lands at the start.
class Bus {
 public:
  explicit Bus(std::size_t frames) : l_(frames, 0.0f), r_(frames, 0.0f) {}
  void Add(std::size_t pos, double value, double pan) {
    const std::size_t i = pos % l_.size();
    // Constant-power pan, -1 left .. 1 right.
    const double a = (pan + 1.0) * kPi / 4.0;
    l_[i] += static_cast<float>(value * std::cos(a));
    r_[i] += static_cast<float>(value * std::sin(a));
  }
  void AddStereo(std::size_t pos, double left, double right) {
    const std::size_t i = pos % l_.size();
    l_[i] += static_cast<float>(left);
    r_[i] += static_cast<float>(right);
  }
  std::size_t frames() const { return l_.size(); }
  std::vector<float>& l() { return l_; }
  std::vector<float>& r() { return r_; }
  const std::vector<float>& l() const { return l_; }
  const std::vector<float>& r() const { return r_; }

 private:
  std::vector<float> l_, r_;
};

// ---------------------------------------------------------------- instruments

void Kick(Bus& bus, std::size_t at, double vel) {
  Osc osc;
  const std::size_t n = Samples(0.4);
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) * kDt;
    const double hz = 46.0 + 120.0 * std::exp(-t * 28.0);
    double v = osc.Sine(hz) * PercEnv(t, 0.001, 7.5);
    v += 0.15 * std::sin(2 * kPi * 1200.0 * t) * std::exp(-t * 250.0);  // beater click
    bus.Add(at + i, v * vel, 0.0);
  }
}

void Snare(Bus& bus, std::size_t at, double vel, double pan = 0.0) {
  Osc body;
  Svf hp, lp;
  Prng rng(at * 2654435761u + 17);
  const std::size_t n = Samples(0.3);
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) * kDt;
    double noise = hp.High(rng.Bipolar(), 1200.0, 0.7);
    noise = lp.Low(noise, 8000.0, 0.7) * PercEnv(t, 0.001, 16.0);
    const double tone =
        body.Sine(190.0 * (1.0 + 0.3 * std::exp(-t * 40.0))) * PercEnv(t, 0.001, 28.0);
    bus.Add(at + i, (0.7 * noise + 0.5 * tone) * vel, pan);
  }
}

void Hat(Bus& bus, std::size_t at, double vel, bool open, double pan) {
  Svf hp1, hp2;
  Prng rng(at * 40503u + 5);
  const std::size_t n = Samples(open ? 0.25 : 0.07);
  const double decay = open ? 14.0 : 70.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) * kDt;
    double v = hp1.High(rng.Bipolar(), 7000.0, 0.7);
    v = hp2.High(v, 7000.0, 0.7);
    bus.Add(at + i, v * PercEnv(t, 0.0005, decay) * vel, pan);
  }
}

// Saw bass with a sine underneath and a filter that snaps open on each note.
void Bass(Bus& bus, std::size_t at, double gate, double midi, double vel, double bite) {
  Osc saw, sub;
  Svf lp;
  const double hz = MidiHz(midi);
  const std::size_t n = Samples(gate + 0.12);
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) * kDt;
    const double raw = 0.55 * saw.Saw(hz) + 0.6 * sub.Sine(hz);
    const double cutoff = 180.0 + bite * std::exp(-t * 18.0) + 2.0 * hz;
    const double v = lp.Low(raw, cutoff, 1.4);
    bus.Add(at + i, v * HoldEnv(t, 0.004, gate, 40.0) * vel, 0.0);
  }
}

// Plucked arpeggio note: two pulse waves, a closing filter, a quick decay.
void Pluck(Bus& bus, std::size_t at, double midi, double vel, double pan, double bright) {
  Osc a, b(0.37);
  Svf lp;
  const double hz = MidiHz(midi);
  const std::size_t n = Samples(0.5);
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) * kDt;
    const double raw = 0.5 * a.Pulse(hz, 0.32) + 0.5 * b.Pulse(hz * 1.005, 0.5);
    const double v = lp.Low(raw, 700.0 + bright * std::exp(-t * 10.0), 1.1);
    bus.Add(at + i, v * PercEnv(t, 0.002, 9.0) * vel, pan);
  }
}

// Warm pad: three detuned saws spread across the stereo field, slowly swelling.
void Pad(Bus& bus, std::size_t at, double gate, double midi, double vel, double cutoff) {
  const double hz = MidiHz(midi);
  const std::array<double, 3> detune{0.9955, 1.0, 1.0045};
  const std::array<double, 3> pans{-0.7, 0.0, 0.7};
  const std::size_t n = Samples(gate + 1.2);
  for (int k = 0; k < 3; ++k) {
    Osc osc(0.31 * k);
    Svf lp;
    for (std::size_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) * kDt;
      const double v = lp.Low(osc.Saw(hz * detune[k]), cutoff, 0.7);
      bus.Add(at + i, v * HoldEnv(t, 0.45, gate, 3.5) * vel * 0.4, pans[k]);
    }
  }
}

// Singing lead: saw and square with a vibrato that arrives after the attack.
void Lead(Bus& bus, std::size_t at, double gate, double midi, double vel, double pan) {
  Osc a, b(0.5), vib;
  Svf lp;
  const double hz = MidiHz(midi);
  const std::size_t n = Samples(gate + 0.25);
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) * kDt;
    const double depth = 0.012 * std::fmin(1.0, std::fmax(0.0, (t - 0.18) / 0.3));
    const double f = hz * (1.0 + depth * vib.Sine(5.4));
    const double raw = 0.6 * a.Saw(f) + 0.4 * b.Pulse(f, 0.5);
    const double v = lp.Low(raw, 3400.0 + 2500.0 * std::exp(-t * 8.0), 0.9);
    bus.Add(at + i, v * HoldEnv(t, 0.012, gate, 14.0) * vel, pan);
  }
}

// ---------------------------------------------------------------- effects

// Effects run over the loop twice and keep the second pass, so their state at the
// loop's end flows into its start exactly as it will when the loop repeats.
Bus PingPong(const Bus& in, std::size_t delay, double feedback, double tone_hz) {
  Bus out(in.frames());
  std::vector<double> dl(delay, 0.0), dr(delay, 0.0);
  Svf lpl, lpr;
  std::size_t w = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < in.frames(); ++i) {
      const double yl = dl[w], yr = dr[w];
      // The dry sound enters on the left; each echo bounces to the other side.
      const double dry = 0.5 * (in.l()[i] + in.r()[i]);
      dl[w] = lpl.Low(dry + yr * feedback, tone_hz, 0.7);
      dr[w] = lpr.Low(yl * feedback, tone_hz, 0.7);
      w = (w + 1) % delay;
      if (pass == 1) out.AddStereo(i, yl, yr);
    }
  }
  return out;
}

// A small Schroeder reverb: parallel damped combs into series all-passes.
class Reverb {
 public:
  explicit Reverb(std::size_t spread) {
    static constexpr std::array<std::size_t, 4> kCombs{1557, 1617, 1491, 1422};
    static constexpr std::array<std::size_t, 2> kAllpass{556, 441};
    for (std::size_t c : kCombs) combs_.push_back({std::vector<double>(c + spread, 0.0), 0, 0.0});
    for (std::size_t a : kAllpass) allpass_.push_back({std::vector<double>(a + spread, 0.0), 0});
  }
  double Process(double in) {
    double sum = 0.0;
    for (Comb& c : combs_) {
      const double y = c.buf[c.pos];
      c.damp = y * 0.7 + c.damp * 0.3;
      c.buf[c.pos] = in + c.damp * 0.80;
      c.pos = (c.pos + 1) % c.buf.size();
      sum += y;
    }
    for (Allpass& a : allpass_) {
      const double b = a.buf[a.pos];
      a.buf[a.pos] = sum + b * 0.5;
      a.pos = (a.pos + 1) % a.buf.size();
      sum = b - sum;
    }
    return sum * 0.25;
  }

 private:
  struct Comb {
    std::vector<double> buf;
    std::size_t pos;
    double damp;
  };
  struct Allpass {
    std::vector<double> buf;
    std::size_t pos;
  };
  std::vector<Comb> combs_;
  std::vector<Allpass> allpass_;
};

Bus ReverbOf(const Bus& in) {
  Bus out(in.frames());
  Reverb left(0), right(23);
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < in.frames(); ++i) {
      const double l = left.Process(in.l()[i]);
      const double r = right.Process(in.r()[i]);
      if (pass == 1) out.AddStereo(i, l, r);
    }
  }
  return out;
}

void MixInto(Bus& dst, const Bus& src, double gain) {
  for (std::size_t i = 0; i < dst.frames(); ++i) {
    dst.l()[i] += static_cast<float>(src.l()[i] * gain);
    dst.r()[i] += static_cast<float>(src.r()[i] * gain);
  }
}

// ---------------------------------------------------------------- songs

struct Chord {
  int root;                // bass note
  std::array<int, 3> pad;  // voicing around middle C
};

struct Note {
  int bar, step, len, midi;
};

struct Grid {
  std::size_t step;  // samples per sixteenth note
  int bars;
  std::size_t At(int bar, int step16) const {
    return (static_cast<std::size_t>(bar) * 16 + static_cast<std::size_t>(step16)) * step;
  }
  double Seconds(int steps) const { return static_cast<double>(steps * step) * kDt; }
  std::size_t frames() const { return At(bars, 0); }
};

// Chord tones over two octaves, for the arpeggios.
int ArpTone(const Chord& c, int index) {
  return c.pad[static_cast<std::size_t>(index % 3)] + 12 * (index / 3);
}

std::vector<float> Interleave(const Bus& bus) {
  std::vector<float> out(bus.frames() * 2);
  for (std::size_t i = 0; i < bus.frames(); ++i) {
    out[2 * i] = bus.l()[i];
    out[2 * i + 1] = bus.r()[i];
  }
  return out;
}

// 98 beats a minute, 16 bars: Am F C G Am F Dm E twice, the melody on the second pass.
Bus MenuSong() {
  const Grid g{6750, 16};
  const std::array<Chord, 8> prog{{
      {45, {57, 60, 64}},
      {41, {57, 60, 65}},
      {48, {55, 60, 64}},
      {43, {55, 59, 62}},
      {45, {57, 60, 64}},
      {41, {57, 60, 65}},
      {38, {57, 62, 65}},
      {40, {56, 59, 64}},
  }};
  const std::vector<Note> melody = {
      {8, 0, 4, 69},   {8, 4, 4, 72},  {8, 8, 6, 76},   {8, 14, 2, 74},  {9, 0, 8, 72},
      {9, 8, 4, 69},   {9, 12, 4, 72}, {10, 0, 4, 67},  {10, 4, 4, 72},  {10, 8, 4, 76},
      {10, 12, 4, 79}, {11, 0, 8, 74}, {11, 8, 4, 71},  {11, 12, 4, 74}, {12, 0, 6, 76},
      {12, 6, 2, 74},  {12, 8, 4, 72}, {12, 12, 4, 76}, {13, 0, 8, 77},  {13, 8, 4, 76},
      {13, 12, 4, 72}, {14, 0, 6, 74}, {14, 6, 2, 77},  {14, 8, 8, 81},  {15, 0, 4, 80},
      {15, 4, 4, 76},  {15, 8, 4, 71}, {15, 12, 4, 68},
  };
  static constexpr std::array<int, 16> kArp{0, 1, 2, 3, 4, 3, 2, 1, 0, 1, 2, 3, 5, 4, 3, 2};

  Bus drums(g.frames()), bass(g.frames()), pads(g.frames()), arp(g.frames()), lead(g.frames());
  for (int bar = 0; bar < g.bars; ++bar) {
    const Chord& c = prog[static_cast<std::size_t>(bar % 8)];
    for (int v : c.pad) Pad(pads, g.At(bar, 0), g.Seconds(16), v, 0.55, 2000.0);
    Bass(bass, g.At(bar, 0), g.Seconds(6), c.root, 0.9, 500.0);
    Bass(bass, g.At(bar, 7), g.Seconds(1), c.root + 12, 0.5, 700.0);
    Bass(bass, g.At(bar, 8), g.Seconds(5), c.root, 0.8, 500.0);
    Bass(bass, g.At(bar, 14), g.Seconds(2), c.root + 7, 0.6, 600.0);
    const double swell = bar < 2 ? 0.55 + 0.2 * bar : 1.0;
    for (int s = 0; s < 16; ++s) {
      const double accent = (s % 4 == 0) ? 1.0 : 0.7;
      Pluck(arp, g.At(bar, s), ArpTone(c, kArp[static_cast<std::size_t>(s)]) + 12,
            0.5 * accent * swell, (s % 2) ? 0.35 : -0.35, 4200.0 + 300.0 * (bar % 4));
    }
    if (bar >= 2) {
      for (int s = 0; s < 16; s += 2)
        Hat(drums, g.At(bar, s), (s % 4 == 2) ? 0.32 : 0.18, false, 0.25);
    }
    if (bar >= 4) {
      Kick(drums, g.At(bar, 0), 0.9);
      Kick(drums, g.At(bar, 10), 0.6);
      Snare(drums, g.At(bar, 4), 0.35);
      Snare(drums, g.At(bar, 12), 0.35);
      Hat(drums, g.At(bar, 14), 0.2, true, -0.25);
    }
  }
  for (const Note& n : melody)
    Lead(lead, g.At(n.bar, n.step), g.Seconds(n.len) * 0.92, n.midi, 0.42, 0.1);

  // Echo a dotted eighth behind, as arpeggios in this style usually are.
  const Bus arp_echo = PingPong(arp, 3 * g.step, 0.4, 3000.0);
  const Bus lead_echo = PingPong(lead, 3 * g.step, 0.3, 2500.0);
  Bus send(g.frames());
  MixInto(send, pads, 0.6);
  MixInto(send, lead, 0.5);
  MixInto(send, arp, 0.3);
  const Bus room = ReverbOf(send);

  Bus mix(g.frames());
  MixInto(mix, drums, 1.0);
  MixInto(mix, bass, 0.8);
  MixInto(mix, pads, 0.7);
  MixInto(mix, arp, 0.55);
  MixInto(mix, arp_echo, 0.3);
  MixInto(mix, lead, 0.6);
  MixInto(mix, lead_echo, 0.25);
  MixInto(mix, room, 0.5);
  return mix;
}

// 126 beats a minute, 24 bars: Dm Bb F C Dm Bb Gm A three times; the lead enters on
// the second pass, pads and a higher arpeggio lift the third, a snare fill leads
// back to the top.
Bus IngameSong() {
  const Grid g{5250, 24};
  const std::array<Chord, 8> prog{{
      {38, {57, 62, 65}},
      {34, {58, 62, 65}},
      {41, {57, 60, 65}},
      {36, {55, 60, 64}},
      {38, {57, 62, 65}},
      {34, {58, 62, 65}},
      {43, {55, 58, 62}},
      {45, {57, 61, 64}},
  }};
  const std::vector<Note> melody = {
      {8, 0, 2, 74},  {8, 2, 2, 77},   {8, 4, 4, 81},   {8, 8, 2, 79},  {8, 10, 2, 77},
      {8, 12, 2, 76}, {8, 14, 2, 77},  {9, 0, 4, 74},   {9, 4, 2, 77},  {9, 6, 2, 74},
      {9, 8, 4, 70},  {9, 12, 4, 74},  {10, 0, 2, 72},  {10, 2, 2, 77}, {10, 4, 4, 81},
      {10, 8, 2, 79}, {10, 10, 2, 81}, {10, 12, 4, 84}, {11, 0, 6, 79}, {11, 6, 2, 76},
      {11, 8, 4, 72}, {11, 12, 4, 76}, {12, 0, 2, 77},  {12, 2, 2, 76}, {12, 4, 4, 74},
      {12, 8, 4, 81}, {12, 12, 4, 77}, {13, 0, 4, 77},  {13, 4, 2, 74}, {13, 6, 2, 77},
      {13, 8, 8, 82}, {14, 0, 2, 81},  {14, 2, 2, 82},  {14, 4, 2, 81}, {14, 6, 2, 79},
      {14, 8, 4, 74}, {14, 12, 4, 79}, {15, 0, 4, 73},  {15, 4, 4, 76}, {15, 8, 8, 81},
  };
  // A slow counter-line for the third pass, one note a bar.
  const std::array<int, 8> counter{69, 70, 72, 67, 69, 74, 70, 73};
  static constexpr std::array<int, 16> kArp{0, 1, 2, 1, 3, 2, 1, 2, 0, 1, 2, 3, 4, 3, 2, 1};

  Bus drums(g.frames()), bass(g.frames()), pads(g.frames()), arp(g.frames()), lead(g.frames());
  for (int bar = 0; bar < g.bars; ++bar) {
    const Chord& c = prog[static_cast<std::size_t>(bar % 8)];
    const bool third = bar >= 16;
    // Octave-jumping eighths drive the bass; the last pass doubles to sixteenths.
    for (int s = 0; s < 16; s += (third ? 1 : 2)) {
      const bool up = s % 4 == 2;
      const double vel = (s % 4 == 0) ? 0.9 : (up ? 0.75 : 0.55);
      Bass(bass, g.At(bar, s), g.Seconds(third ? 1 : 2) * 0.7, c.root + (up ? 12 : 0), vel,
           third ? 1400.0 : 1000.0);
    }
    for (int s = 0; s < 16; ++s) {
      const int octave = third ? 24 : 12;
      const double accent = (s % 4 == 0) ? 1.0 : 0.65;
      Pluck(arp, g.At(bar, s), ArpTone(c, kArp[static_cast<std::size_t>(s)]) + octave,
            0.45 * accent, (s % 2) ? 0.4 : -0.4, third ? 5500.0 : 4200.0);
    }
    if (third) {
      for (int v : c.pad) Pad(pads, g.At(bar, 0), g.Seconds(16), v, 0.5, 1800.0);
      Lead(lead, g.At(bar, 0), g.Seconds(14), counter[static_cast<std::size_t>(bar % 8)], 0.3,
           -0.2);
    }
    // Drums: four on the floor, backbeat snare, sixteenth hats with open off-beats.
    for (int beat = 0; beat < 4; ++beat) Kick(drums, g.At(bar, beat * 4), 1.0);
    Snare(drums, g.At(bar, 4), 0.6);
    Snare(drums, g.At(bar, 12), 0.6);
    for (int s = 0; s < 16; ++s) {
      if (s % 4 == 2) {
        Hat(drums, g.At(bar, s), 0.28, true, 0.2);
      } else {
        Hat(drums, g.At(bar, s), (s % 2) ? 0.1 : 0.16, false, -0.2);
      }
    }
    if (bar % 8 == 7 && bar != 23) Snare(drums, g.At(bar, 15), 0.3, 0.3);
    if (bar == 23) {
      for (int s = 8; s < 16; ++s)
        Snare(drums, g.At(bar, s), 0.25 + 0.05 * (s - 8), (s % 2) ? 0.3 : -0.3);
    }
  }
  for (const Note& n : melody)
    Lead(lead, g.At(n.bar, n.step), g.Seconds(n.len) * 0.85, n.midi, 0.4, 0.1);

  // Light pumping: pads and arpeggio dip under each kick, which keeps the beat clear.
  for (std::size_t i = 0; i < g.frames(); ++i) {
    const double since = static_cast<double>(i % (4 * g.step)) * kDt;
    const double duck = 1.0 - 0.45 * std::exp(-since * 9.0);
    pads.l()[i] = static_cast<float>(pads.l()[i] * duck);
    pads.r()[i] = static_cast<float>(pads.r()[i] * duck);
    arp.l()[i] = static_cast<float>(arp.l()[i] * (0.5 + 0.5 * duck));
    arp.r()[i] = static_cast<float>(arp.r()[i] * (0.5 + 0.5 * duck));
  }

  const Bus arp_echo = PingPong(arp, 3 * g.step, 0.35, 3500.0);
  const Bus lead_echo = PingPong(lead, 3 * g.step, 0.3, 2500.0);
  Bus send(g.frames());
  MixInto(send, pads, 0.5);
  MixInto(send, lead, 0.5);
  MixInto(send, drums, 0.08);
  const Bus room = ReverbOf(send);

  Bus mix(g.frames());
  MixInto(mix, drums, 0.9);
  MixInto(mix, bass, 0.75);
  MixInto(mix, pads, 0.6);
  MixInto(mix, arp, 0.5);
  MixInto(mix, arp_echo, 0.25);
  MixInto(mix, lead, 0.55);
  MixInto(mix, lead_echo, 0.22);
  MixInto(mix, room, 0.4);
  return mix;
}

// Removes any slow offset, two passes so the filter's state wraps with the loop.
void RemoveDc(Bus& bus) {
  for (std::vector<float>* ch : {&bus.l(), &bus.r()}) {
    std::vector<float> in = *ch;
    double y = 0.0, x1 = in.back();
    for (int pass = 0; pass < 2; ++pass) {
      for (std::size_t i = 0; i < in.size(); ++i) {
        y = in[i] - x1 + 0.9995 * y;
        x1 = in[i];
        if (pass == 1) (*ch)[i] = static_cast<float>(y);
      }
    }
  }
}

// Gentle saturation so the kick's peaks do not set the level of everything else.
void Saturate(Bus& bus, double drive) {
  const double norm = std::tanh(drive);
  for (std::size_t i = 0; i < bus.frames(); ++i) {
    bus.l()[i] = static_cast<float>(std::tanh(bus.l()[i] * drive) / norm);
    bus.r()[i] = static_cast<float>(std::tanh(bus.r()[i] * drive) / norm);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string track = argc == 3 ? argv[1] : "";
  if (track != "menu" && track != "ingame") {
    std::fprintf(stderr, "usage: gen_music menu|ingame OUT.ogg\n");
    return 2;
  }
  Bus mix = track == "menu" ? MenuSong() : IngameSong();
  RemoveDc(mix);
  std::vector<float> pcm = Interleave(mix);
  NormalizeTo(pcm, 0.0);
  for (std::size_t i = 0; i < mix.frames(); ++i) {
    mix.l()[i] = pcm[2 * i];
    mix.r()[i] = pcm[2 * i + 1];
  }
  Saturate(mix, 1.2);
  pcm = Interleave(mix);
  NormalizeTo(pcm, -2.0);
  return WriteOgg(argv[2], 2, pcm, 0.3f, track + "-loop", kEncoder) ? 0 : 1;
}
