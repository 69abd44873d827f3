#include "app/hud.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "arena/level_state.h"
#include "arena/spider_figure.h"
#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "platform/clock.h"
#include "render/vector_font.h"

int FpsValue = 0;
double FpsTimeBase = 0;
double FpsFrameTally = 0;
int BonusBlink = 0;

namespace {

constexpr std::uint32_t kYellowGlow = 0xFFFFFF00u;
constexpr std::uint32_t kFpsGlow = 0xFF4043FFu;
constexpr std::uint32_t kBonusGlow = 0xFFFF3020u;
constexpr std::uint32_t kWhiteGlow = 0xFFFFFFFFu;

// Text assembled in a fixed buffer: the HUD runs every frame and must not allocate.
class Line {
 public:
  Line& Put(std::string_view text) {
    const std::size_t n = text.size() < Room() ? text.size() : Room();
    std::memcpy(buf_ + len_, text.data(), n);
    len_ += n;
    return *this;
  }
  Line& Put(long long value) {
    char digits[24];
    const auto res = std::to_chars(digits, digits + sizeof digits, value);
    return Put(std::string_view(digits, static_cast<std::size_t>(res.ptr - digits)));
  }
  std::string_view View() const { return std::string_view(buf_, len_); }

 private:
  std::size_t Room() const { return sizeof buf_ - len_; }
  char buf_[48];
  std::size_t len_ = 0;
};

// Right-aligned in eight characters; a longer number keeps its last eight.
Line ScoreText(int score) {
  char digits[24];
  const auto res = std::to_chars(digits, digits + sizeof digits, score);
  std::string_view text(digits, static_cast<std::size_t>(res.ptr - digits));
  if (text.size() > 8) text.remove_prefix(text.size() - 8);
  Line line;
  for (std::size_t pad = text.size(); pad < 8; ++pad) line.Put(" ");
  line.Put(text);
  return line;
}

void SampleFps() {
  FpsFrameTally += 1;
  if (Millisecs() - FpsTimeBase > 500) {
    FpsTimeBase += 500;
    FpsValue = static_cast<int>(FpsFrameTally * 2);
    FpsFrameTally = 0;
  }
}

}  // namespace

void ResetFpsTimeBase() {
  FpsTimeBase = Millisecs();
}

void DrawHud(int blink) {
  SampleFps();

  if (ShowFPS == 1) {
    Line fps;
    fps.Put("FPS: ").Put(FpsValue);
    WriteText(fps.View(), 41, 35.5, kFpsGlow, 0, 0.75, 0.75, 0, 64, 67, 255);
  }

  WriteText(ScoreText(Score).View(), 7, 1.4, kYellowGlow, 0, 0.66, 0.66, 0, 255, 255, 0);

  Line level;
  level.Put("level: ").Put(Level);
  WriteText(level.View(), 22, 35, kYellowGlow, 0, 0.75, 0.75, 0, 255, 255, 0);

  if (blink == 1) {
    if (++BonusBlink > 60) BonusBlink = 0;
  }
  if (BonusBlink > 30) {
    Line bonus;
    bonus.Put("next bonus at ").Put(NextBonusAt);
    WriteText(bonus.View(), 20, 1.4, kBonusGlow, 0, 0.66, 0.66, 0, 255, 48, 32);
  }

  DrawSpiderFigure(0, 320, 20, 0, 0);

  if (Lives < 10) {
    Line lives;
    lives.Put(Lives);
    WriteText(lives.View(), 22.75, 2.5, kWhiteGlow, 0, 0.5, 0.5, 0, 255, 255, 255);
  } else {
    WriteText("+", 22.81, 2.6, kWhiteGlow, 0, 0.5, 0.5, 0, 255, 255, 255);
  }
}
