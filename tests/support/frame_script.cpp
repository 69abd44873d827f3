#include "support/frame_script.h"

#include <utility>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/script.h"

FrameScript::FrameScript() {
  UseVirtualClock();
  ResetInput();
  ResetFrameNumber();
  SetFrameHook([this](int frame) { OnFrame(frame); });
}

FrameScript::~FrameScript() {
  SetFrameHook(nullptr);
  if (delay_hook_set_) SetDelayHook(nullptr);
  ResetInput();
  UseRealClock();
}

FrameScript& FrameScript::At(int frame, std::function<void()> action) {
  actions_[frame].push_back(std::move(action));
  return *this;
}

FrameScript& FrameScript::Press(int frame, int key) {
  return At(frame, [key] { InjectKeyPress(key); });
}

FrameScript& FrameScript::Hold(int frame, int key) {
  return At(frame, [key] { InjectKeyDown(key); });
}

FrameScript& FrameScript::Release(int frame, int key) {
  return At(frame, [key] { InjectKeyUp(key); });
}

FrameScript& FrameScript::EachFrame(std::function<void(int frame)> action) {
  each_ = std::move(action);
  return *this;
}

FrameScript& FrameScript::StopAfter(int frame) {
  stop_after_ = frame;
  return *this;
}

FrameScript& FrameScript::HoldWhenWaiting(std::vector<int> keys) {
  waiting_keys_.insert(waiting_keys_.end(), keys.begin(), keys.end());
  if (!delay_hook_set_) {
    delay_hook_set_ = true;
    SetDelayHook([this](int) {
      if (++pauses_since_frame_ != 3 || waiting_keys_.empty()) return;
      InjectKeyDown(waiting_keys_.front());
      waiting_keys_.pop_front();
    });
  }
  return *this;
}

void FrameScript::Restart() {
  ResetFrameNumber();
  frames_ = 0;
  actions_.clear();
}

void FrameScript::OnFrame(int frame) {
  frames_ = frame;
  pauses_since_frame_ = 0;
  if (auto it = actions_.find(frame); it != actions_.end())
    for (const auto& action : it->second) action();
  if (each_) each_(frame);
  if (stop_after_ >= 0 && frame >= stop_after_) throw ScriptStop{};
}
