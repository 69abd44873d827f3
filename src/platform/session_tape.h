// The session tape: everything from outside that steers the game, so the same program
// plays a session again exactly as it went. Two streams:
//
// - input: for every pump of the input, what the outside changed since the one
//   before (keys, mouse, joypads, a request to quit), as new values of the input's
//   slots; the game's own use of that input (reading a press clears it) is not taped,
//   because the replay makes the same use at the same points.
// - clock: every reading of the millisecond clock, in order.
//
// Both are compact: a quiet pump costs nothing beyond a run count, a reading a byte
// or two. The replay runs the same code, which asks for the same pumps and readings
// in the same order; a tape that runs out throws TapeRanOut.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/input_limits.h"

struct SessionTape {
  std::vector<std::uint8_t> input;
  std::vector<std::uint8_t> clock;
};

// Thrown by the replay when the session asks for more than the tape holds: it went
// another way than the recording (or the recording was cut short).
struct TapeRanOut {};

void StartTapeRecording();
bool TapeRecording();
// Ends the recording and hands over both streams, finished.
SessionTape StopTapeRecording();

// fast: waits take no time, so a replay runs as fast as the game can compute.
void StartTapeReplay(const SessionTape& tape, bool fast);
bool TapeReplaying();
bool TapeReplayFast();
// True once every pump and reading of the tape was used.
bool TapeReplayFinished();
void StopTapeReplay();

// Whether both streams decode to their ends with every value in range; false with a
// reason when not. A replay is only started from a tape that passed.
bool ValidateTape(const SessionTape& tape, std::string* reason);

// The input's slots, in the order the tape numbers them.
namespace tape_slots {
inline constexpr int kPresses = 0;  // 256 key press counts
inline constexpr int kDown = 256;   // 256 keys held, 0 or 1
inline constexpr int kMouseX = 512;
inline constexpr int kMouseY = 513;
inline constexpr int kMousePresses = 514;  // 4, by button number
inline constexpr int kJoys = 518;
inline constexpr int kPerPort = kJoyAxes + 2 * kJoyButtons;  // axes, held, hits
inline constexpr int kQuit = kJoys + kJoyPorts * kPerPort;
inline constexpr int kTyped = kQuit + 1;  // characters typed, by code
inline constexpr int kCount = kTyped + kTypedCodes;
}  // namespace tape_slots

// Axes are kept as the bits of their double.
using InputSlots = std::vector<std::int64_t>;

// Recording: the outside's changes between two snapshots of the slots, kept for the
// pump under way; EndTapedPump closes that pump's record.
void TapeChanges(const InputSlots& before, const InputSlots& after);
void EndTapedPump();
// Replay: true when the next pump changes nothing (and it is used up); otherwise
// ReplayPump applies its changes to the slots. Throws TapeRanOut.
bool ReplayQuietPump();
void ReplayPump(InputSlots& slots);

// Clock readings.
void TapeReading(int ms);
int ReplayReading();  // throws TapeRanOut
