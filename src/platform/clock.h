// Millisecond clock with a virtual mode for tests.
#pragma once

#include <functional>

// Milliseconds since an arbitrary start. Under the virtual clock: its current value.
int Millisecs();

// Sleeps ms milliseconds (nothing for ms <= 0). Under the virtual clock it only
// advances the clock, so paced loops and long waits run at full speed in tests.
void Delay(int ms);

// Switches to the virtual clock, starting at start_ms. Only Delay advances it.
void UseVirtualClock(int start_ms = 100000);
void UseRealClock();
bool ClockIsVirtual();

// Under the virtual clock, called after every Delay with the new time: lets a test
// act inside loops that wait without presenting frames. An empty hook removes it.
void SetDelayHook(std::function<void(int now)> hook);
