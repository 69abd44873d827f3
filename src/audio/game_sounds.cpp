#include <string_view>

#include "audio/sound.h"

void LoadGameSounds() {
  // The order fixes each sound's channel (1 to 15).
  static constexpr std::string_view kResources[] = {
      "res\\WoorpSND.ogg",      "res\\shot.ogg",      "res\\shot3.ogg",       "res\\BlipSND.ogg",
      "res\\TakeGrub.ogg",      "res\\Crunch1.ogg",   "res\\Crunch2.ogg",     "res\\Crunch3.ogg",
      "res\\EggPushedOff.ogg",  "res\\BonusShip.ogg", "res\\Swoosh.ogg",      "res\\Boing.ogg",
      "res\\LevelComplete.ogg", "res\\menu-loop.ogg", "res\\ingame-loop.ogg",
  };
  for (std::string_view resource : kResources) Sound::Load(resource, 1);
  Sound::ChannelVolume("menu-loop", 50);
  Sound::ChannelVolume("ingame-loop", 33);
}
