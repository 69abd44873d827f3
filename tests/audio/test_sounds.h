// Small sounds made on the spot for the sound bank tests.
#pragma once

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "audio/sound.h"
#include "platform/resources.h"

// A mono sine tone, Ogg Vorbis encoded.
std::vector<unsigned char> MakeOggTone(double seconds, double frequency);

// A mono 16-bit PCM WAV sine tone.
std::vector<unsigned char> MakeWavTone(double seconds, double frequency);

// Registers bytes as an embedded resource and keeps them alive for the whole run.
void RegisterSoundBytes(std::string_view name, std::vector<unsigned char> bytes);

// A fresh bank on the dummy device for every test; nothing registered.
class SoundBankTest : public testing::Test {
 protected:
  void SetUp() override {
    Sound::AppExit();
    ClearResources();
    ASSERT_EQ(SoundInit(100), 1);
  }
  void TearDown() override {
    Sound::AppExit();
    ClearResources();
  }
};

// The record of the first sound named exactly so, or nullptr.
const Sound* FindSound(std::string_view fx);
