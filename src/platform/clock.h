// Millisecond clock with a virtual mode for tests.
#pragma once

// Milliseconds since an arbitrary start. Under the virtual clock: its current value.
int Millisecs();

// Sleeps ms milliseconds (nothing for ms <= 0). Under the virtual clock it only
// advances the clock, so paced loops and long waits run at full speed in tests.
void Delay(int ms);

// Switches to the virtual clock, starting at start_ms. Only Delay advances it.
void UseVirtualClock(int start_ms = 100000);
void UseRealClock();
bool ClockIsVirtual();
