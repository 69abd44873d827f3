// The game's version and platform texts: in the window title and in every score sent
// online.
#pragma once

inline constexpr const char* kVersionText = "1.0";
inline constexpr const char* kPlatformText = "windows";
