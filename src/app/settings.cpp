#include "app/settings.h"

#include <cstdio>
#include <cstring>

#include "audio/sound_switches.h"
#include "input/controls.h"
#include "persist/file_io.h"
#include "persist/profile.h"
#include "render/glow.h"
#include "render/screen.h"

namespace {

int KnownKey(int code) {
  return std::strcmp(KeyNameOf(code), "n/a") == 0 ? 0 : code;
}

}  // namespace

SettingsValues CurrentSettings() {
  SettingsValues v;
  v.FullScreen = FullScreen;
  v.NeonMode = NeonMode;
  v.BackgroundOn = BackgroundOn;
  v.PersonalBest = PersonalBest;
  v.KeyMoveLeft = KeyMoveLeft;
  v.KeyMoveRight = KeyMoveRight;
  v.KeyMoveUp = KeyMoveUp;
  v.KeyMoveDown = KeyMoveDown;
  v.KeyFireUp = KeyFireUp;
  v.KeyFireDown = KeyFireDown;
  v.KeyFireLeft = KeyFireLeft;
  v.KeyFireRight = KeyFireRight;
  v.ScreenWidth = ScreenWidth;
  v.ScreenHeight = ScreenHeight;
  v.ScreenOffsetX = ScreenOffsetX;
  v.ScreenOffsetY = ScreenOffsetY;
  v.SavedOffsetY = SavedOffsetY;
  v.SoundOn = SoundOn;
  v.MusicOn = MusicOn;
  v.GlowAmount = GlowAmount;
  v.ControlScheme = ControlScheme;
  v.StickThreshold = StickThreshold;
  v.PlayerName = PlayerName;
  v.SpareLine = SpareLine;
  for (int i = 0; i < kHighScoreRows; ++i) {
    HighScoreRow& row = v.rows[static_cast<std::size_t>(i)];
    row = HighScoreRow{HiName[i], HiScore[i], HiLevel[i], HiSpare[i]};
  }
  return v;
}

void ApplySettings(const SettingsValues& v) {
  FullScreen = v.FullScreen;
  NeonMode = v.NeonMode;
  BackgroundOn = v.BackgroundOn;
  PersonalBest = v.PersonalBest;
  KeyMoveLeft = KnownKey(v.KeyMoveLeft);
  KeyMoveRight = KnownKey(v.KeyMoveRight);
  KeyMoveUp = KnownKey(v.KeyMoveUp);
  KeyMoveDown = KnownKey(v.KeyMoveDown);
  KeyFireUp = KnownKey(v.KeyFireUp);
  KeyFireDown = KnownKey(v.KeyFireDown);
  KeyFireLeft = KnownKey(v.KeyFireLeft);
  KeyFireRight = KnownKey(v.KeyFireRight);
  // The size is tried when the display opens, and replaced there if it cannot be.
  ScreenWidth = v.ScreenWidth;
  ScreenHeight = v.ScreenHeight;
  ScreenOffsetX = v.ScreenOffsetX;
  ScreenOffsetY = v.ScreenOffsetY;
  SavedOffsetY = v.SavedOffsetY;
  SoundOn = v.SoundOn;
  MusicOn = v.MusicOn;
  GlowAmount = v.GlowAmount;
  ControlScheme = v.ControlScheme >= 0 && v.ControlScheme <= 2 ? v.ControlScheme : 0;
  StickThreshold = v.StickThreshold;
  PlayerName = v.PlayerName;
  SpareLine = v.SpareLine;
  for (int i = 0; i < kHighScoreRows; ++i) {
    const HighScoreRow& row = v.rows[static_cast<std::size_t>(i)];
    HiName[i] = row.name;
    HiScore[i] = row.score;
    HiLevel[i] = row.level;
    HiSpare[i] = row.spare;
  }
}

void LoadSettings(const std::string& path) {
  std::optional<SettingsValues> values;
  if (const auto bytes = ReadFileBytes(path, kSettingsReadLimit)) values = ParseSettings(*bytes);
  ApplySettings(values.value_or(SettingsValues{}));
  RecomputeGlowWidths();
}

bool SaveSettings(const std::string& path) {
  std::string error;
  if (WriteFileAtomically(path, FormatSettings(CurrentSettings()), &error)) return true;
  std::fprintf(stderr, "Silkguard: settings not saved, %s\n", error.c_str());
  return false;
}
