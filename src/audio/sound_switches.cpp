#include "audio/sound_switches.h"

int SoundOn = 1;
int MusicOn = 1;
