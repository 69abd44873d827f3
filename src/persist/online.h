// The online score service: the one way the game reaches the score server, through
// the score library (libquilo.so) loaded at run time and bound by its entry points'
// names. Without the library, or without one of the entry points the game calls, the
// service is unavailable: the calls below skip the library, change nothing and say so.
//
// Everything runs on the game's thread and blocks it while it waits; the library gives
// up on every request within its time-outs, so every wait ends.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "score_text.h"

// The footer's credit line; the main menu's server message starts as this text.
inline constexpr const char* kCreditLine = "(c) 2025  the silkguard developers";

// The server unless SILKGUARD_SCORE_SERVER names another.
inline constexpr const char* kDefaultScoreServer = "http://127.0.0.1:8642/scores";
inline constexpr const char* kScoreServerVariable = "SILKGUARD_SCORE_SERVER";

// What the server last announced (a newer version), shown in the main menu's footer.
extern std::string ServerMessage;

// Once at start-up: loads the library from beside the executable (where the build puts
// it), from ../lib/silkguard/ beside it (where it is installed), or else wherever the
// dynamic loader looks; binds it, and hands it the server's base URL and the signing
// key.
void OnlineInit();
// The same with the library at a path of the caller's choosing.
void OnlineInit(const std::string& library_path);
// Whether every entry point the game calls is bound.
bool OnlineAvailable();

// Sends the last game's score (when above 0) with the level it reached from its start
// level, under the player's name, and fetches the top ten. The table is replaced only
// when the top ten came; true then. A failed fetch keeps the table as it was. The
// caller shows the sync notice first.
bool OnlineSync(int score, int level_reached, int start_level);
// Asks which version is current and sets ServerMessage when it is not ours. True when
// the server answered.
bool VersionCheck();

std::string ScoreServerUrl();
// Today as "%d %b %Y" writes it in English: "07 Mar 2025".
std::string ScoreDateText();
std::string ScoreDateText(const std::tm& date);
// The submission's request text, each part percent-encoded: user is the name as sent
// (lower case), level the level text.
std::string SubmissionRequest(std::string_view user, std::string_view level,
                              std::string_view points, std::string_view date);
