#include "platform/session_tape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

// Input stream: records of (quiet pumps before it, changed slots, then per slot the
// gap from the previous slot and the zigzag of its new value); a record with no
// changes ends the stream. Clock stream: zigzag differences between readings.

namespace {

enum class Mode { kOff, kRecording, kReplaying };
Mode mode = Mode::kOff;
bool replay_fast = false;

// Recording.
SessionTape recorded;
std::vector<std::pair<int, std::int64_t>> pending;  // this pump's changes, by slot
std::uint64_t quiet_pumps = 0;
int last_reading = 0;

// Replay.
SessionTape replayed;
std::size_t input_at = 0, clock_at = 0;
std::uint64_t quiet_left = 0;
std::uint64_t changes_next = 0;  // slots the next changed pump sets; 0 at the end
bool input_ended = false;
int replay_reading = 0;

void PutVarint(std::vector<std::uint8_t>& out, std::uint64_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<std::uint8_t>(v | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<std::uint8_t>(v));
}

std::uint64_t Zigzag(std::int64_t v) {
  return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}

std::int64_t Unzigzag(std::uint64_t v) {
  return static_cast<std::int64_t>((v >> 1) ^ (~(v & 1) + 1));
}

// False at the end of the bytes or for a varint longer than 64 bits.
bool GetVarint(const std::vector<std::uint8_t>& in, std::size_t& at, std::uint64_t* v) {
  std::uint64_t value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (at >= in.size()) return false;
    const std::uint8_t byte = in[at++];
    if (shift == 63 && byte > 1) return false;
    value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) {
      *v = value;
      return true;
    }
  }
  return false;
}

bool ValidSlotValue(int slot, std::int64_t value) {
  using namespace tape_slots;
  if (slot >= kTyped) return value >= 0 && value <= 1000000;
  if (slot >= kQuit) return value == 0 || value == 1;
  if (slot >= kJoys) {
    const int within = (slot - kJoys) % kPerPort;
    if (within < kJoyAxes) {
      double axis;
      std::memcpy(&axis, &value, sizeof axis);
      return std::isfinite(axis) && axis >= -1.0 && axis <= 1.0;
    }
    if (within < kJoyAxes + kJoyButtons) return value == 0 || value == 1;
    return value >= 0 && value <= 1000000;
  }
  if (slot >= kMousePresses) return value >= 0 && value <= 1000000;
  if (slot >= kMouseX) return value >= -1000000 && value <= 1000000;
  if (slot >= kDown) return value == 0 || value == 1;
  return value >= 0 && value <= 1000000;
}

// Reads one record's head: the quiet pumps before it and how many slots it sets.
bool GetRecordHead(const std::vector<std::uint8_t>& in, std::size_t& at, std::uint64_t* quiet,
                   std::uint64_t* changes) {
  return GetVarint(in, at, quiet) && GetVarint(in, at, changes) &&
         *changes <= static_cast<std::uint64_t>(tape_slots::kCount);
}

// Reads one record's changes; each slot after the one before it.
template <typename Apply>
bool GetRecordChanges(const std::vector<std::uint8_t>& in, std::size_t& at, std::uint64_t changes,
                      Apply apply) {
  std::int64_t slot = -1;
  for (std::uint64_t i = 0; i < changes; ++i) {
    std::uint64_t gap = 0, zig = 0;
    if (!GetVarint(in, at, &gap) || !GetVarint(in, at, &zig)) return false;
    if (gap >= static_cast<std::uint64_t>(tape_slots::kCount)) return false;
    slot += static_cast<std::int64_t>(gap) + 1;
    if (slot >= tape_slots::kCount) return false;
    const std::int64_t value = Unzigzag(zig);
    if (!ValidSlotValue(static_cast<int>(slot), value)) return false;
    apply(static_cast<int>(slot), value);
  }
  return true;
}

}  // namespace

void StartTapeRecording() {
  mode = Mode::kRecording;
  recorded = SessionTape{};
  recorded.input.reserve(1 << 16);
  recorded.clock.reserve(1 << 16);
  pending.clear();
  quiet_pumps = 0;
  last_reading = 0;
}

bool TapeRecording() {
  return mode == Mode::kRecording;
}

SessionTape StopTapeRecording() {
  if (mode != Mode::kRecording) return {};
  // Changes made after the last pump were never seen by the game.
  pending.clear();
  PutVarint(recorded.input, quiet_pumps);
  PutVarint(recorded.input, 0);
  mode = Mode::kOff;
  SessionTape out = std::move(recorded);
  recorded = SessionTape{};
  return out;
}

void TapeChanges(const InputSlots& before, const InputSlots& after) {
  if (mode != Mode::kRecording) return;
  for (int slot = 0; slot < tape_slots::kCount; ++slot) {
    const auto s = static_cast<std::size_t>(slot);
    if (before[s] == after[s]) continue;
    bool merged = false;
    for (auto& change : pending)
      if (change.first == slot) {
        change.second = after[s];
        merged = true;
      }
    if (!merged) pending.emplace_back(slot, after[s]);
  }
}

void EndTapedPump() {
  if (mode != Mode::kRecording) return;
  if (pending.empty()) {
    ++quiet_pumps;
    return;
  }
  std::sort(pending.begin(), pending.end());
  PutVarint(recorded.input, quiet_pumps);
  PutVarint(recorded.input, pending.size());
  int slot = -1;
  for (const auto& [changed, value] : pending) {
    PutVarint(recorded.input, static_cast<std::uint64_t>(changed - slot - 1));
    PutVarint(recorded.input, Zigzag(value));
    slot = changed;
  }
  pending.clear();
  quiet_pumps = 0;
}

void TapeReading(int ms) {
  if (mode != Mode::kRecording) return;
  PutVarint(recorded.clock, Zigzag(static_cast<std::int64_t>(ms) - last_reading));
  last_reading = ms;
}

void StartTapeReplay(const SessionTape& tape, bool fast) {
  replayed = tape;
  input_at = clock_at = 0;
  replay_reading = 0;
  input_ended = !GetRecordHead(replayed.input, input_at, &quiet_left, &changes_next);
  mode = Mode::kReplaying;
  replay_fast = fast;
}

bool TapeReplaying() {
  return mode == Mode::kReplaying;
}

bool TapeReplayFast() {
  return mode == Mode::kReplaying && replay_fast;
}

bool TapeReplayFinished() {
  return mode == Mode::kReplaying && quiet_left == 0 && changes_next == 0 &&
         clock_at == replayed.clock.size();
}

void StopTapeReplay() {
  if (mode == Mode::kReplaying) mode = Mode::kOff;
  replayed = SessionTape{};
}

bool ReplayQuietPump() {
  if (mode != Mode::kReplaying || quiet_left == 0) return false;
  --quiet_left;
  return true;
}

void ReplayPump(InputSlots& slots) {
  if (mode != Mode::kReplaying) return;
  if (quiet_left > 0) {
    --quiet_left;
    return;
  }
  if (input_ended || changes_next == 0) throw TapeRanOut{};
  const bool ok = GetRecordChanges(replayed.input, input_at, changes_next,
                                   [&](int slot, std::int64_t v) {
                                     slots[static_cast<std::size_t>(slot)] = v;
                                   }) &&
                  GetRecordHead(replayed.input, input_at, &quiet_left, &changes_next);
  if (!ok) input_ended = true;  // a checked tape never gets here
}

int ReplayReading() {
  std::uint64_t zig = 0;
  if (mode != Mode::kReplaying || !GetVarint(replayed.clock, clock_at, &zig)) throw TapeRanOut{};
  replay_reading = static_cast<int>(replay_reading + Unzigzag(zig));
  return replay_reading;
}

bool ValidateTape(const SessionTape& tape, std::string* reason) {
  auto fail = [&](const char* why) {
    if (reason) *reason = why;
    return false;
  };
  std::size_t at = 0;
  for (;;) {
    std::uint64_t quiet = 0, changes = 0;
    if (!GetRecordHead(tape.input, at, &quiet, &changes)) return fail("the input stream is cut");
    if (changes == 0) break;
    if (!GetRecordChanges(tape.input, at, changes, [](int, std::int64_t) {}))
      return fail("the input stream holds a value out of range");
  }
  if (at != tape.input.size()) return fail("the input stream goes on past its end");
  at = 0;
  std::int64_t reading = 0;
  while (at < tape.clock.size()) {
    std::uint64_t zig = 0;
    if (!GetVarint(tape.clock, at, &zig)) return fail("the clock stream is cut");
    const std::int64_t step = Unzigzag(zig);
    if (step < -(std::int64_t{1} << 32) || step > (std::int64_t{1} << 32))
      return fail("the clock jumps out of range");
    reading += step;
    if (reading < INT32_MIN || reading > INT32_MAX) return fail("the clock runs out of range");
  }
  return true;
}
