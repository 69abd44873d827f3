// settings.dat in the working folder: read once at start-up before the display opens,
// written once as the program ends.
#pragma once

#include <string>

#include "persist/settings_file.h"

inline constexpr const char* kSettingsFile = "settings.dat";
// A real file is under a kilobyte; a larger one is damaged and only its start is read.
inline constexpr std::size_t kSettingsReadLimit = 1 << 20;

// Fills the settings globals from the file, or from the first-run values when there is
// none (or it is cut off before its text begins), then recomputes the glow widths.
void LoadSettings(const std::string& path = kSettingsFile);
// Writes the file from the globals without ever losing the old one: when it cannot be
// written, the old file stays, a line on stderr says why, and false comes back.
bool SaveSettings(const std::string& path = kSettingsFile);

// The globals as the file holds them, and back. Applying never trusts a value that
// picks a key or a control scheme: a key code the game does not know is unbound (0),
// and an unknown scheme is the keyboard.
SettingsValues CurrentSettings();
void ApplySettings(const SettingsValues& values);
