#include "platform/script.h"

#include <utility>

namespace {
FrameHook hook;
int frame_number = 0;
}  // namespace

void SetFrameHook(FrameHook h) {
  hook = std::move(h);
}

void RunFrameHook() {
  ++frame_number;
  if (hook) hook(frame_number);
}

int FrameNumber() {
  return frame_number;
}
void ResetFrameNumber() {
  frame_number = 0;
}
