#include "screens/joypad_file.h"

#include <cstdio>

#include "input/controls.h"
#include "persist/file_io.h"

std::string ConfigStatusText;
int ConfigStatusTimer = 0;

namespace {

void SetStatus(const char* text) {
  ConfigStatusText = text;
  ConfigStatusTimer = kConfigStatusFrames;
}

}  // namespace

int LoadJoypadConfig(const std::string& path) {
  const auto bytes = ReadFileBytes(path, kJoypadConfigReadLimit);
  if (!bytes) {
    SetStatus("Config load failed.");
    return 0;
  }
  JoypadConfigValues values = CurrentJoypadConfig();
  ParseJoypadConfig(*bytes, values);
  ApplyJoypadConfig(values);
  SetStatus("Config file loaded.");
  return 1;
}

int SaveJoypadConfig(const std::string& path) {
  std::string error;
  if (!WriteFileAtomically(path, FormatJoypadConfig(CurrentJoypadConfig()), &error)) {
    std::fprintf(stderr, "Silkguard: joypad set-up not saved, %s\n", error.c_str());
    return 0;
  }
  SetStatus("Config file saved.");
  return 1;
}
