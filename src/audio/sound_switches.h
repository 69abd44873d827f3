// The player's two sound switches. Callers test them before every effect or music call.
#pragma once

#include <string_view>

extern int SoundOn;  // 1: effects are played
extern int MusicOn;  // 1: music is played

// Plays the named effect once if effects are on.
void PlayEffectIfOn(std::string_view name);
