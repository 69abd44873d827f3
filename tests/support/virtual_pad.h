// A joypad that is not there: SDL's virtual joystick, plugged in when made and pulled
// out when it goes, driving the platform's joystick state through SDL's own events
// exactly as a real pad would. A game controller by default (SDL lays it out as an
// Xbox pad), or a plain joystick of six axes, sixteen buttons and a hat.
#pragma once

#include <string>

class VirtualPad {
 public:
  // SDL's controller buttons, as the virtual controller numbers them.
  enum Button { kA = 0, kB = 1, kX = 2, kY = 3, kPadUp = 11, kPadDown = 12, kPadLeft = 13 };
  // Its axes: left stick, right stick, triggers.
  enum Axis { kLeftX = 0, kLeftY = 1, kRightX = 2, kRightY = 3 };

  explicit VirtualPad(const std::string& name, bool controller = true);
  ~VirtualPad();
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  // -1..1, held to SDL's range.
  void SetAxis(int axis, double value);
  void SetButton(int button, bool down);
  void SetHat(int sdl_hat);  // SDL_HAT_UP, ...; the plain joystick's only
  // Pulls it out now rather than when it goes.
  void Unplug();

  // The game's port of this pad, -1 when it has none.
  int Port() const;
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  int instance_ = -1;  // SDL's id for it; device numbers shift as others come and go
};

// Lets SDL deliver what the pads did: waits past the millisecond in which the game
// last read its devices and reads them again.
void SettleInput();
