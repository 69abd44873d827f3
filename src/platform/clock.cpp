#include "platform/clock.h"

#include <SDL.h>

#include <utility>

#include "platform/session_tape.h"

namespace {
bool virtual_mode = false;
int virtual_now = 0;
std::function<void(int)> delay_hook;
}  // namespace

int Millisecs() {
  if (TapeReplaying()) return ReplayReading();
  const int now = virtual_mode ? virtual_now : static_cast<int>(SDL_GetTicks64());
  TapeReading(now);
  return now;
}

void Delay(int ms) {
  if (ms <= 0 || TapeReplayFast()) return;
  if (virtual_mode) {
    virtual_now += ms;
    if (delay_hook) delay_hook(virtual_now);
    return;
  }
  SDL_Delay(static_cast<Uint32>(ms));
}

void UseVirtualClock(int start_ms) {
  virtual_mode = true;
  virtual_now = start_ms;
}

void UseRealClock() {
  virtual_mode = false;
}
bool ClockIsVirtual() {
  return virtual_mode;
}

void SetDelayHook(std::function<void(int now)> hook) {
  delay_hook = std::move(hook);
}
