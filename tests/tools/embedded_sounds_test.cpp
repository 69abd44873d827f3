#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "embedded_assets.h"
#include "platform/resources.h"

namespace {

struct Decoded {
  bool ok = false;
  int channels = 0;
  long rate = 0;
  std::vector<std::vector<float>> pcm;  // one vector per channel
  std::string encoder;
  double seconds() const { return pcm.empty() ? 0.0 : static_cast<double>(pcm[0].size()) / rate; }
};

struct Cursor {
  std::span<const unsigned char> bytes;
  std::size_t pos = 0;
};

std::size_t ReadMem(void* dst, std::size_t size, std::size_t count, void* src) {
  auto* c = static_cast<Cursor*>(src);
  const std::size_t n = std::min(size * count, c->bytes.size() - c->pos);
  std::memcpy(dst, c->bytes.data() + c->pos, n);
  c->pos += n;
  return size ? n / size : 0;
}

int SeekMem(void* src, ogg_int64_t offset, int whence) {
  auto* c = static_cast<Cursor*>(src);
  const auto base = whence == SEEK_SET
                        ? 0
                        : (whence == SEEK_CUR ? static_cast<ogg_int64_t>(c->pos)
                                              : static_cast<ogg_int64_t>(c->bytes.size()));
  const ogg_int64_t to = base + offset;
  if (to < 0 || to > static_cast<ogg_int64_t>(c->bytes.size())) return -1;
  c->pos = static_cast<std::size_t>(to);
  return 0;
}

long TellMem(void* src) {
  return static_cast<long>(static_cast<Cursor*>(src)->pos);
}

Decoded Decode(const char* name) {
  Decoded d;
  ClearResources();
  RegisterEmbeddedResources();
  const auto bytes = FindResource(name);
  ClearResources();
  if (!bytes) return d;
  Cursor cursor{*bytes};
  OggVorbis_File vf;
  const ov_callbacks callbacks{ReadMem, SeekMem, nullptr, TellMem};
  if (ov_open_callbacks(&cursor, &vf, nullptr, 0, callbacks) != 0) return d;
  const vorbis_info* info = ov_info(&vf, -1);
  d.channels = info->channels;
  d.rate = info->rate;
  d.pcm.resize(static_cast<std::size_t>(d.channels));
  if (const char* enc = vorbis_comment_query(ov_comment(&vf, -1), "ENCODER", 0)) d.encoder = enc;
  int section = 0;
  for (;;) {
    float** out = nullptr;
    const long n = ov_read_float(&vf, &out, 4096, &section);
    if (n < 0) {
      ov_clear(&vf);
      return d;  // a decoding error: not ok
    }
    if (n == 0) break;
    for (int c = 0; c < d.channels; ++c) d.pcm[c].insert(d.pcm[c].end(), out[c], out[c] + n);
  }
  ov_clear(&vf);
  d.ok = true;
  return d;
}

double PeakOf(const Decoded& d) {
  double p = 0.0;
  for (const auto& ch : d.pcm) {
    for (float s : ch) p = std::max(p, static_cast<double>(std::fabs(s)));
  }
  return p;
}

double RmsDb(const Decoded& d) {
  double sum = 0.0;
  std::size_t n = 0;
  for (const auto& ch : d.pcm) {
    for (float s : ch) sum += static_cast<double>(s) * s;
    n += ch.size();
  }
  return 10.0 * std::log10(sum / static_cast<double>(n) + 1e-30);
}

const double kMinus1Db = std::pow(10.0, -1.0 / 20.0);

const char* const kEffects[] = {
    "res\\shot.ogg",          "res\\shot3.ogg",    "res\\BlipSND.ogg", "res\\TakeGrub.ogg",
    "res\\Crunch1.ogg",       "res\\Crunch2.ogg",  "res\\Crunch3.ogg", "res\\EggPushedOff.ogg",
    "res\\BonusShip.ogg",     "res\\WoorpSND.ogg", "res\\Swoosh.ogg",  "res\\Boing.ogg",
    "res\\LevelComplete.ogg",
};
const char* const kMusic[] = {"res\\menu-loop.ogg", "res\\ingame-loop.ogg"};

TEST(SoundEffects, DecodeShortAudibleAndUnclipped) {
  for (const char* name : kEffects) {
    const Decoded d = Decode(name);
    ASSERT_TRUE(d.ok) << name;
    EXPECT_EQ(d.rate, 44100) << name;
    EXPECT_GE(d.seconds(), 0.05) << name;
    EXPECT_LE(d.seconds(), 3.0) << name;
    EXPECT_LT(PeakOf(d), kMinus1Db) << name;
    EXPECT_GT(PeakOf(d), 0.25) << name;  // no effect is a whisper next to the others
    EXPECT_GT(RmsDb(d), -30.0) << name;
    EXPECT_EQ(d.encoder, "Silkguard gen_sfx") << name;
  }
}

// Sounds that answer a key press or a hit must be heard at once, not after a lag.
TEST(SoundEffects, ImmediateSoundsStartWithinTenMilliseconds) {
  for (const char* name : {"res\\shot.ogg", "res\\BlipSND.ogg", "res\\Crunch1.ogg",
                           "res\\Crunch2.ogg", "res\\Crunch3.ogg", "res\\TakeGrub.ogg"}) {
    const Decoded d = Decode(name);
    ASSERT_TRUE(d.ok) << name;
    const auto& ch = d.pcm[0];
    const std::size_t window = 441;
    double peak = 0.0;
    for (std::size_t i = 0; i < window && i < ch.size(); ++i)
      peak = std::max(peak, std::fabs(double{ch[i]}));
    EXPECT_GT(peak, 0.1) << name;
  }
}

// Effects end in silence, so cutting them off at their end makes no click.
TEST(SoundEffects, EndQuietly) {
  for (const char* name : kEffects) {
    const Decoded d = Decode(name);
    ASSERT_TRUE(d.ok) << name;
    for (const auto& ch : d.pcm) EXPECT_LT(std::fabs(ch.back()), 0.02) << name;
  }
}

TEST(MusicLoops, AreLongStereoAndUnclipped) {
  for (const char* name : kMusic) {
    const Decoded d = Decode(name);
    ASSERT_TRUE(d.ok) << name;
    EXPECT_EQ(d.rate, 44100) << name;
    EXPECT_EQ(d.channels, 2) << name;
    EXPECT_GE(d.seconds(), 30.0) << name;
    EXPECT_LT(PeakOf(d), kMinus1Db) << name;
    EXPECT_GT(RmsDb(d), -22.0) << name;
    EXPECT_LT(RmsDb(d), -9.0) << name;
    EXPECT_EQ(d.encoder, "Silkguard gen_music") << name;
  }
}

// Played in a loop, the last sample is followed by the first. The jump there must
// look like any other point in the music: measure the second difference (a step in
// the waveform shows up strongly in it) and require the seam to be unremarkable.
TEST(MusicLoops, WrapWithoutAClick) {
  for (const char* name : kMusic) {
    const Decoded d = Decode(name);
    ASSERT_TRUE(d.ok) << name;
    for (const auto& ch : d.pcm) {
      const std::size_t n = ch.size();
      ASSERT_GT(n, 3u);
      std::vector<double> curvature;
      curvature.reserve(n);
      for (std::size_t i = 1; i + 1 < n; ++i)
        curvature.push_back(std::fabs(ch[i + 1] - 2.0 * ch[i] + ch[i - 1]));
      const double seam = std::max(std::fabs(ch[0] - 2.0 * ch[n - 1] + ch[n - 2]),
                                   std::fabs(ch[1] - 2.0 * ch[0] + ch[n - 1]));
      std::nth_element(curvature.begin(), curvature.begin() + curvature.size() * 99 / 100,
                       curvature.end());
      const double p99 = curvature[curvature.size() * 99 / 100];
      EXPECT_LT(seam, p99) << name << ": seam " << seam << ", 99th percentile " << p99;
      std::vector<double> steps;
      steps.reserve(n);
      for (std::size_t i = 0; i + 1 < n; ++i) steps.push_back(std::fabs(ch[i + 1] - ch[i]));
      std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
      const double step = std::fabs(ch[0] - ch[n - 1]);
      const double step_p99 = steps[steps.size() * 99 / 100];
      EXPECT_LT(step, step_p99) << name << ": seam step " << step << ", 99th percentile "
                                << step_p99;
    }
  }
}

}  // namespace
