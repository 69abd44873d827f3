// Scripted runs: what the player does at which presented frame, and when the run
// stops. A script sets up the headless run (virtual clock, no input, frame 0) when it
// is made and puts everything back when it goes.
//
//   FrameScript script;
//   script.Press(100, kVkEscape).Press(110, 'Y').StopAfter(200);
//   RunGame();                      // or EXPECT_THROW(..., ScriptStop) past the stop
//   EXPECT_EQ(script.Frames(), 110);
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <vector>

class FrameScript {
 public:
  FrameScript();
  ~FrameScript();
  FrameScript(const FrameScript&) = delete;
  FrameScript& operator=(const FrameScript&) = delete;

  // Actions run once the frame is presented, in the order they were added, so the
  // next frame's input sees them.
  FrameScript& At(int frame, std::function<void()> action);
  FrameScript& Press(int frame, int key);  // one press, not left held
  FrameScript& Hold(int frame, int key);
  FrameScript& Release(int frame, int key);
  // Runs after every frame's own actions.
  FrameScript& EachFrame(std::function<void(int frame)> action);
  // Ends the run with ScriptStop once this frame is presented (after its actions).
  FrameScript& StopAfter(int frame);
  // Keys for a wait that holds the game without presenting frames (key redefinition
  // waits so for each key): whenever such a wait has begun, the next of these keys is
  // held down. A wait is a third pause of the clock since the last frame.
  FrameScript& HoldWhenWaiting(std::vector<int> keys);

  // Frames presented since the script began or was last restarted.
  int Frames() const { return frames_; }
  // Starts over: frames count from 0 again and the actions not yet run are dropped;
  // the stop and the per-frame action stay.
  void Restart();

 private:
  void OnFrame(int frame);

  std::map<int, std::vector<std::function<void()>>> actions_;
  std::function<void(int)> each_;
  std::deque<int> waiting_keys_;
  int pauses_since_frame_ = 0;
  bool delay_hook_set_ = false;
  int stop_after_ = -1;
  int frames_ = 0;
};
