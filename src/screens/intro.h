// The intro: stars drifting over the second backdrop, the spider king's crest sliding
// in, swaying to rest with its sparkle and pulsing, under the maker's lines. Escape or
// fire skips it.
#pragma once

#include <cstdint>

#include "platform/entity_list.h"

struct IntroStars {
  double x = 0, y = 0;      // play-area position
  std::uint32_t color = 0;  // always white
  double xspeed = 0;        // pixels per frame to the right
  double yspeed = 0;        // not used
};

// The stars live only while the intro runs.
extern EntityList<IntroStars> IntroStarList;

// Set by Escape or fire: every phase still to come ends after its first frame.
extern int IntroSkip;

inline constexpr const char* kIntroPresenter = "Silkguard presents...";
inline constexpr const char* kIntroByline = " a game by Silkguard Studio";

// Runs the whole intro (330 frames when not skipped, then one empty frame).
void IntroSequence();
