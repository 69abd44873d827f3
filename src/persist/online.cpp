#include "persist/online.h"

std::string ServerMessage = kCreditLine;

// The score library is not built yet: nothing to find, nothing to reach.
void OnlineInit() {}

bool OnlineAvailable() {
  return false;
}

bool OnlineSync() {
  return OnlineAvailable();
}

bool VersionCheck() {
  return OnlineAvailable();
}
