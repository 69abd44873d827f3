// The session tape: what a recording keeps comes back in the same order, and a tape
// that is cut, overlong or out of range is refused before any of it is replayed.
#include "platform/session_tape.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/clock.h"
#include "platform/input.h"

namespace {

InputSlots Zeros() {
  return InputSlots(tape_slots::kCount, 0);
}

class SessionTapeTest : public testing::Test {
 protected:
  void TearDown() override {
    if (TapeRecording()) StopTapeRecording();
    StopTapeReplay();
    ResetInput();
  }
};

TEST_F(SessionTapeTest, PumpsAndReadingsComeBackInOrder) {
  StartTapeRecording();
  InputSlots before = Zeros(), after = Zeros();
  // Pump 1 quiet; pump 2 sets a key and the mouse; pumps 3-4 quiet; pump 5 changes
  // an axis twice (the last value counts) and asks to quit.
  EndTapedPump();
  after[tape_slots::kDown + 'W'] = 1;
  after[tape_slots::kPresses + 'W'] = 1;
  after[tape_slots::kMouseX] = -40;
  TapeChanges(before, after);
  EndTapedPump();
  EndTapedPump();
  EndTapedPump();
  InputSlots axis = after;
  const double half = -0.5, full = 1.0;
  std::memcpy(&axis[tape_slots::kJoys + 3], &half, sizeof half);
  TapeChanges(after, axis);
  std::memcpy(&axis[tape_slots::kJoys + 3], &full, sizeof full);
  axis[tape_slots::kQuit] = 1;
  TapeChanges(after, axis);
  EndTapedPump();
  for (int ms : {100000, 100016, 100016, 99990, 2000000000}) TapeReading(ms);
  const SessionTape tape = StopTapeRecording();
  std::string why;
  ASSERT_TRUE(ValidateTape(tape, &why)) << why;

  StartTapeReplay(tape, true);
  InputSlots slots = Zeros();
  EXPECT_TRUE(ReplayQuietPump());
  EXPECT_FALSE(ReplayQuietPump());
  ReplayPump(slots);
  EXPECT_EQ(slots[tape_slots::kDown + 'W'], 1);
  EXPECT_EQ(slots[tape_slots::kPresses + 'W'], 1);
  EXPECT_EQ(slots[tape_slots::kMouseX], -40);
  EXPECT_TRUE(ReplayQuietPump());
  EXPECT_TRUE(ReplayQuietPump());
  EXPECT_FALSE(ReplayQuietPump());
  ReplayPump(slots);
  double got = 0;
  std::memcpy(&got, &slots[tape_slots::kJoys + 3], sizeof got);
  EXPECT_EQ(got, 1.0);
  EXPECT_EQ(slots[tape_slots::kQuit], 1);
  for (int ms : {100000, 100016, 100016, 99990, 2000000000}) EXPECT_EQ(ReplayReading(), ms);
  EXPECT_TRUE(TapeReplayFinished());
  EXPECT_FALSE(ReplayQuietPump());
  EXPECT_THROW(ReplayPump(slots), TapeRanOut);
  EXPECT_THROW(ReplayReading(), TapeRanOut);
}

// The game's own input calls, taped and replayed: the replay makes the same calls and
// sees the same answers, with nothing injected; what the game read (clearing a press)
// is its own doing, not the tape's.
TEST_F(SessionTapeTest, TheInputLayerTapesWhatTheOutsideChanged) {
  struct Seen {
    int a_presses, a_again, left_down, now;
    double axis;
    bool operator==(const Seen&) const = default;
  };
  auto session = [](bool inject) {
    Seen seen{};
    PumpEvents();
    if (inject) {
      InjectKeyPress('A');
      InjectKeyDown(kVkLeft);
    }
    seen.a_presses = KeyPresses('A');
    seen.a_again = KeyPresses('A');
    seen.left_down = KeyIsDown(kVkLeft);
    if (inject) InjectJoyAxis(1, kJoyY, -1.0);
    seen.now = Millisecs();
    seen.axis = JoyAxis(1, kJoyY);
    if (inject) InjectKeyUp(kVkLeft);  // after the last pump: never seen, never taped
    return seen;
  };
  UseVirtualClock(5000);
  ResetInput();
  StartTapeRecording();
  const Seen recorded = session(true);
  const SessionTape tape = StopTapeRecording();
  EXPECT_EQ(recorded, (Seen{1, 0, 1, 5000, -1.0}));
  std::string why;
  ASSERT_TRUE(ValidateTape(tape, &why)) << why;

  ResetInput();
  UseVirtualClock(1);  // the tape's clock counts, not this one
  StartTapeReplay(tape, true);
  EXPECT_EQ(session(false), recorded);
  EXPECT_TRUE(TapeReplayFinished()) << "used to its end, and the last key-up is not on it";
  EXPECT_THROW(PumpEvents(), TapeRanOut) << "one pump more than the recording made";
  StopTapeReplay();
  UseRealClock();
}

TEST_F(SessionTapeTest, BadTapesAreRefused) {
  std::string why;
  SessionTape empty;
  EXPECT_FALSE(ValidateTape(empty, &why)) << "no end record";
  EXPECT_FALSE(why.empty());
  SessionTape ok;
  ok.input = {0, 0};
  EXPECT_TRUE(ValidateTape(ok, &why)) << why;

  auto refused = [&](std::vector<std::uint8_t> input, std::vector<std::uint8_t> clock) {
    SessionTape t;
    t.input = std::move(input);
    t.clock = std::move(clock);
    return !ValidateTape(t, &why);
  };
  EXPECT_TRUE(refused({0, 0, 7}, {})) << "bytes past the end";
  EXPECT_TRUE(refused({0, 1, 0}, {})) << "a change cut short";
  static_assert(tape_slots::kCount == 0x587 && tape_slots::kDown == 0x100);
  EXPECT_TRUE(refused({0, 1, 0x87, 0x0B, 2, 0, 0}, {})) << "a slot past the last";
  EXPECT_TRUE(refused({0, 1, 0, 1, 0, 0}, {})) << "a press count below zero";
  EXPECT_TRUE(refused({0, 1, 0x80, 0x02, 4, 0, 0}, {})) << "a key held twice";
  EXPECT_FALSE(refused({0, 1, 0x80, 0x02, 2, 0, 0}, {})) << "a key held";
  EXPECT_TRUE(refused({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}, {}))
      << "a varint longer than 64 bits";
  EXPECT_TRUE(refused({0, 0}, {0x80})) << "a reading cut short";
  EXPECT_TRUE(refused({0, 0}, {0xFE, 0xFF, 0xFF, 0xFF, 0x0F, 0xFE, 0xFF, 0xFF, 0xFF, 0x0F}))
      << "a clock past what an int holds";
  // An axis past full travel, stored as the bits of 2.0.
  std::vector<std::uint8_t> axis = {0, 1};
  const int slot = tape_slots::kJoys;
  axis.push_back(static_cast<std::uint8_t>(0x80 | (slot & 0x7F)));
  axis.push_back(static_cast<std::uint8_t>(slot >> 7));
  double two = 2.0;
  std::int64_t bits;
  std::memcpy(&bits, &two, sizeof bits);
  std::uint64_t zig = static_cast<std::uint64_t>(bits) << 1;
  while (zig >= 0x80) {
    axis.push_back(static_cast<std::uint8_t>(zig | 0x80));
    zig >>= 7;
  }
  axis.push_back(static_cast<std::uint8_t>(zig));
  axis.insert(axis.end(), {0, 0});
  EXPECT_TRUE(refused(axis, {})) << "an axis out of range";
}

}  // namespace
