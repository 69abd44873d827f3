// Loading: channel numbers, short names, where the bytes come from.
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "audio/test_sounds.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Runs a test inside a fresh temporary folder.
class ScopedTempDir {
 public:
  ScopedTempDir() : old_(fs::current_path()) {
    dir_ = fs::temp_directory_path() / ("sg_audio_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  ~ScopedTempDir() {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }

 private:
  fs::path old_, dir_;
};

using SoundLoadTest = SoundBankTest;

TEST_F(SoundLoadTest, ChannelFollowsLoadCounterAcrossFailedLoads) {
  RegisterSoundBytes("res\\first.ogg", MakeOggTone(0.2, 440));
  RegisterSoundBytes("res\\third.ogg", MakeOggTone(0.2, 660));
  RegisterSoundBytes("res\\junk.ogg", std::vector<unsigned char>(64, 'x'));

  EXPECT_EQ(Sound::Load("res\\first.ogg", 1), 1);
  EXPECT_EQ(Sound::Load("res\\missing.ogg", 1), 0);
  EXPECT_EQ(Sound::Load("res\\junk.ogg", 1), 0);  // found but not a sound
  EXPECT_EQ(Sound::Load("res\\third.ogg", 1), 1);

  const auto& list = SoundList();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].FX, "first");
  EXPECT_EQ(list[0].ChannelNr, 1);
  EXPECT_EQ(list[1].FX, "third");
  EXPECT_EQ(list[1].ChannelNr, 4);
  for (const Sound& sound : list) {
    EXPECT_NE(sound.soundFX, nullptr);
    EXPECT_EQ(sound.channel, -1);
    EXPECT_EQ(sound.isplay, 0);
    EXPECT_EQ(sound.loop, 0);
    EXPECT_DOUBLE_EQ(sound.cvolume, 1.0);
  }

  // Decoded whole, at the device's rate and format.
  int rate = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_NE(Mix_QuerySpec(&rate, &format, &channels), 0);
  const double expected = 0.2 * rate * channels * (SDL_AUDIO_BITSIZE(format) / 8);
  EXPECT_NEAR(list[0].soundFX->alen, expected, expected * 0.05);
}

TEST_F(SoundLoadTest, ResourceLookupIsExactButShortNameIsLowered) {
  RegisterSoundBytes("res\\BlipSND.ogg", MakeOggTone(0.2, 880));
  EXPECT_EQ(Sound::Load("res\\blipsnd.ogg", 1), 0);  // the registry is case-sensitive
  EXPECT_EQ(Sound::Load("res\\BlipSND.ogg", 1), 1);
  ASSERT_EQ(SoundList().size(), 1u);
  EXPECT_EQ(SoundList()[0].FX, "blipsnd");
  EXPECT_EQ(SoundList()[0].ChannelNr, 2);
}

TEST_F(SoundLoadTest, EmptyResourceCountsAsMissing) {
  static const unsigned char nothing[1] = {0};
  RegisterResource("res\\empty.ogg", nothing, 0);
  EXPECT_EQ(Sound::Load("res\\empty.ogg", 1), 0);
  EXPECT_TRUE(SoundList().empty());
}

TEST_F(SoundLoadTest, FallsBackToFilesWithEitherSeparator) {
  ScopedTempDir temp;
  fs::create_directories("media");
  WriteFile("media/Tone.WAV", MakeWavTone(0.2, 440));
  WriteFile("Multi.Part.ogg", MakeOggTone(0.2, 440));

  EXPECT_EQ(Sound::Load("media\\Tone.WAV", 0), 1);  // Windows-style name of a local file
  EXPECT_EQ(Sound::Load("media/Tone.WAV", 0), 1);
  EXPECT_EQ(Sound::Load("Multi.Part.ogg", 0), 1);
  EXPECT_EQ(Sound::Load("media", 0), 0);  // a folder is no sound
  EXPECT_EQ(Sound::Load("", 0), 0);

  const auto& list = SoundList();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].FX, "tone");
  EXPECT_EQ(list[1].FX, "tone");
  EXPECT_EQ(list[2].FX, "multi.part");
  EXPECT_EQ(list[2].ChannelNr, 3);
}

TEST_F(SoundLoadTest, EmbeddedResourceWinsOverFile) {
  ScopedTempDir temp;
  WriteFile("clash.ogg", std::vector<unsigned char>(32, 'x'));  // not a sound
  RegisterSoundBytes("clash.ogg", MakeOggTone(0.2, 440));
  EXPECT_EQ(Sound::Load("clash.ogg", 1), 1);
}

TEST_F(SoundLoadTest, AppExitStartsTheBankAfresh) {
  RegisterSoundBytes("res\\a.ogg", MakeOggTone(0.2, 440));
  ASSERT_EQ(Sound::Load("res\\a.ogg", 1), 1);
  Sound::GlobalVolume(10);
  EXPECT_EQ(Sound::AppExit(), 0);
  EXPECT_FALSE(SoundDeviceOpen());
  EXPECT_TRUE(SoundList().empty());

  ASSERT_EQ(SoundInit(100), 1);
  ASSERT_EQ(Sound::Load("res\\a.ogg", 1), 1);
  EXPECT_EQ(SoundList()[0].ChannelNr, 1);
  Sound::Play("a", 0);
  EXPECT_EQ(Mix_Volume(1, -1), MIX_MAX_VOLUME);  // master back to 100 %
}

}  // namespace
