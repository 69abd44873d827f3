// The player's two sound switches. Callers test them before every effect or music call.
#pragma once

extern int SoundOn;  // 1: effects are played
extern int MusicOn;  // 1: music is played
