// Loading and saving the settings through the globals: the guards on values that pick
// a key or a control scheme, the first-run values, and the glow widths.
#include "app/settings.h"

#include <gtest/gtest.h>

#include "audio/sound_switches.h"
#include "input/controls.h"
#include "persist/profile.h"
#include "render/glow.h"
#include "render/screen.h"
#include "support/work_folder.h"

namespace {

class Settings : public ::testing::Test {
 protected:
  void TearDown() override {
    ApplySettings(SettingsValues{});
    RecomputeGlowWidths();
  }
  WorkFolder folder;
};

TEST_F(Settings, KeyCodesTheGameDoesNotKnowAreUnbound) {
  SettingsValues v;
  v.KeyMoveLeft = 16;    // shift without a side: not in the key tables
  v.KeyMoveRight = 255;  // the tables' end marker
  v.KeyMoveUp = -40;
  v.KeyMoveDown = 100000;
  v.KeyFireUp = 226;  // Backslash
  v.KeyFireDown = 'Q';
  v.KeyFireLeft = 0;
  v.KeyFireRight = 123;  // F12
  WriteBytes(kSettingsFile, FormatSettings(v));
  LoadSettings();
  EXPECT_EQ(KeyMoveLeft, 0);
  EXPECT_EQ(KeyMoveRight, 0);
  EXPECT_EQ(KeyMoveUp, 0);
  EXPECT_EQ(KeyMoveDown, 0);
  EXPECT_EQ(KeyFireUp, 226);
  EXPECT_EQ(KeyFireDown, 'Q');
  EXPECT_EQ(KeyFireLeft, 0);
  EXPECT_EQ(KeyFireRight, 123);
}

TEST_F(Settings, AnUnknownControlSchemeIsTheKeyboardAndOtherValuesAreTakenAsTheyAre) {
  for (int scheme : {-1, 3, 1000}) {
    SettingsValues v;
    v.ControlScheme = scheme;
    v.StickThreshold = 0;
    v.SoundOn = 7;
    v.ScreenWidth = 50000;
    ApplySettings(v);
    EXPECT_EQ(ControlScheme, 0) << scheme;
    EXPECT_EQ(StickThreshold, 0);
    EXPECT_EQ(SoundOn, 7);
    EXPECT_EQ(ScreenWidth, 50000);  // tried, and replaced, when the display opens
  }
  SettingsValues twin;
  twin.ControlScheme = 2;
  ApplySettings(twin);
  EXPECT_EQ(ControlScheme, 2);
}

TEST_F(Settings, NoFileAndACutOffFileBothGiveTheFirstRunValues) {
  NeonMode = 1;
  GlowAmount = 3;
  PlayerName = "Left over";
  HiName[0] = "Left over";
  KeyFireUp = 'I';
  LoadSettings();
  EXPECT_EQ(CurrentSettings(), SettingsValues{});
  EXPECT_EQ(GlowWidth32, 32);

  SettingsValues v;
  v.NeonMode = 1;
  std::vector<unsigned char> bytes = FormatSettings(v);
  bytes.resize(kSettingsHeadBytes - 1);
  WriteBytes(kSettingsFile, bytes);
  LoadSettings();
  EXPECT_EQ(NeonMode, 0);
}

TEST_F(Settings, LoadingRecomputesTheGlowWidths) {
  SettingsValues v;
  v.GlowAmount = 2;
  WriteBytes(kSettingsFile, FormatSettings(v));
  LoadSettings();
  EXPECT_EQ(GlowWidth14, 16);
  EXPECT_EQ(GlowWidth18, 22);
  EXPECT_EQ(GlowWidth32, 38);
}

TEST_F(Settings, AFileLoadedAndSavedUnchangedComesBackByteForByte) {
  SettingsValues v;
  v.FullScreen = 1;
  v.NeonMode = 1;
  v.BackgroundOn = 1;
  v.PersonalBest = 98765;
  v.KeyFireUp = 'I';
  v.ScreenWidth = 1680;
  v.ScreenHeight = 1050;
  v.ScreenOffsetX = 328;
  v.ScreenOffsetY = 141;
  v.SavedOffsetY = 141;
  v.SoundOn = 0;
  v.GlowAmount = -2;
  v.ControlScheme = 1;
  v.StickThreshold = 6;
  v.PlayerName = "SPINNER \xC3\xA9";
  v.SpareLine = "kept";
  v.rows[4] = {"FIFTH", "4500", "12", "?"};
  const auto bytes = FormatSettings(v);
  WriteBytes(kSettingsFile, bytes);
  LoadSettings();
  EXPECT_EQ(PlayerName, v.PlayerName);
  EXPECT_EQ(HiLevel[4], "12");
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(ReadBytes(kSettingsFile), bytes);
}

}  // namespace
