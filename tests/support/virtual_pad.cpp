#include "support/virtual_pad.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/input.h"

void SettleInput() {
  SDL_Delay(2);
  PumpEvents();
}

VirtualPad::VirtualPad(const std::string& name, bool controller) : name_(name) {
  InitInput();
  // A headless window never has the focus, and SDL holds back pad events from a
  // program in the background.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
  desc.naxes = 6;
  desc.nbuttons = controller ? 15 : 16;
  desc.nhats = controller ? 0 : 1;
  desc.name = name_.c_str();
  const int device = SDL_JoystickAttachVirtualEx(&desc);
  if (device < 0) {
    ADD_FAILURE() << "no virtual joystick: " << SDL_GetError();
    return;
  }
  instance_ = SDL_JoystickGetDeviceInstanceID(device);
  SettleInput();
}

VirtualPad::~VirtualPad() {
  Unplug();
}

void VirtualPad::Unplug() {
  if (instance_ < 0) return;
  for (int device = 0; device < SDL_NumJoysticks(); ++device)
    if (SDL_JoystickGetDeviceInstanceID(device) == instance_) SDL_JoystickDetachVirtual(device);
  instance_ = -1;
  SettleInput();
}

void VirtualPad::SetAxis(int axis, double value) {
  const double v = std::clamp(value, -1.0, 1.0);
  const auto raw = static_cast<Sint16>(std::lround(v < 0 ? v * 32768 : v * 32767));
  SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(instance_), axis, raw);
  SettleInput();
}

void VirtualPad::SetButton(int button, bool down) {
  SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(instance_), button, down ? 1 : 0);
  SettleInput();
}

void VirtualPad::SetHat(int sdl_hat) {
  SDL_JoystickSetVirtualHat(SDL_JoystickFromInstanceID(instance_), 0, static_cast<Uint8>(sdl_hat));
  SettleInput();
}

int VirtualPad::Port() const {
  for (int port = 0; port < kJoyPorts; ++port)
    if (JoyPortName(port) == name_) return port;
  return -1;
}
