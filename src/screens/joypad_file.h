// JoypadConfig.txt in the working folder, beside settings.dat: read at start-up before
// the settings and whenever a joypad screen opens, written when one closes.
#pragma once

#include <cstddef>
#include <string>

inline constexpr const char* kJoypadConfigFile = "JoypadConfig.txt";
// A real file is a few kilobytes; a larger one is damaged and only its start is read.
inline constexpr std::size_t kJoypadConfigReadLimit = 1 << 20;

// What the joypad screens show for ConfigStatusTimer frames once a load or save ends.
extern std::string ConfigStatusText;
extern int ConfigStatusTimer;
inline constexpr int kConfigStatusFrames = 120;

// Reads the file's entries over the controller globals (what it lacks keeps its value)
// and says "Config file loaded."; 0 and "Config load failed." when there is no file.
// The active mapping is the caller's to select.
int LoadJoypadConfig(const std::string& path = kJoypadConfigFile);
// Writes the file from the globals without ever losing the old one, and says "Config
// file saved."; 0 when it cannot be written (the old file stays, a line on stderr).
int SaveJoypadConfig(const std::string& path = kJoypadConfigFile);
