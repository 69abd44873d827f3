// The online score service: the one way the game reaches the score server. Until the
// service is built it is unavailable: every call returns at once, changing nothing,
// and says so, so callers can tell the player.
#pragma once

#include <string>

// The footer's credit line; the main menu's server message starts as this text.
inline constexpr const char* kCreditLine = "(c) 2025  the silkguard developers";

// What the server last announced (a newer version), shown in the main menu's footer.
extern std::string ServerMessage;

// Once at start-up: finds the service and hands it the server and the signing key.
void OnlineInit();
// Whether the service can be reached at all.
bool OnlineAvailable();
// Sends the last score and fetches the top ten into the table. False: nothing ran.
bool OnlineSync();
// Asks which version is current and sets ServerMessage if it is newer. False: nothing
// ran.
bool VersionCheck();
