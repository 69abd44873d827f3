#include "audio/sound_switches.h"

#include "audio/sound.h"

int SoundOn = 1;
int MusicOn = 1;

void PlayEffectIfOn(std::string_view name) {
  if (SoundOn == 1) Sound::Play(name, 0);
}
