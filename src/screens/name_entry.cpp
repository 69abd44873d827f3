#include "screens/name_entry.h"

#include <cstdint>
#include <string>

#include "audio/sound_switches.h"
#include "persist/profile.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/utf8.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"

namespace {

constexpr std::size_t kMaxNameLength = 10;
constexpr int kBackspace = 8;
constexpr int kSpace = 32;
constexpr int kFirstTyped = 48;  // '0'
constexpr int kLastTyped = 90;   // 'Z'

constexpr std::uint32_t kWhiteGlow = 0xFFFFFFFFu;
constexpr std::uint32_t kRedGlow = 0xFFFF4040u;
constexpr std::uint32_t kGreenGlow = 0xFF40FF80u;
constexpr std::uint32_t kTitleGlow = 0xFF80FF40u;
constexpr std::uint32_t kYellowGlow = 0xFFFFFF00u;
constexpr std::uint32_t kCyanGlow = 0xFF00FFFFu;
constexpr std::uint32_t kLilacGlow = 0xFF8080FFu;

void WriteSmall(const char* text, double column, double row, std::uint32_t glow, int r, int g,
                int b) {
  WriteText(text, column, row, glow, 0, 0.75, 0.75, 0, r, g, b);
}

void DrawFirstRunNote() {
  WriteSmall("it appears that your playername is set to", 1, 1, kWhiteGlow, 255, 255, 255);
  WriteSmall("noname", 43, 1, kRedGlow, 255, 64, 64);
  WriteSmall("which is why you see this message.  here you can ", 1, 2.5, kWhiteGlow, 255, 255,
             255);
  WriteSmall("change it to something more personal if you want", 1, 4, kWhiteGlow, 255, 255, 255);
  WriteSmall("  to upload your scores to the online server.", 1, 5.5, kWhiteGlow, 255, 255, 255);
  WriteSmall("For a better experience you should also go to", 2, 34, kGreenGlow, 64, 255, 128);
  WriteSmall("the settings menu and enable fullscreen mode.", 2, 35.5, kGreenGlow, 64, 255, 128);
}

// A yellow line with gaps and the key names in red filling them.
void WriteKeyHint(const char* words, const char* keys, double column, double row) {
  WriteText(words, column, row, kYellowGlow, 0, 1, 1, 0, 255, 255, 0);
  WriteText(keys, column, row, kRedGlow, 0, 1, 1, 0, 255, 64, 64);
}

void DrawScreen(int form) {
  Cls();
  DrawBackdrop();
  PrimeGlow();
  if (form == 0) WriteTitle("set name", 2.5, 2, kTitleGlow, 0, 3, 1, 0, 128, 255, 64);
  if (form == 1) DrawFirstRunNote();
  WriteKeyHint("edit name using keys     and    .", "                     a-z     0-9.", 2, 7);
  WriteKeyHint("use           to erase characters.", "    backspace                     ", 2, 8.5);
  WriteKeyHint("      or     to end editing.", "enter    esc                ", 5, 10);
}

// Removes the last character, a whole UTF-8 sequence where the name holds one.
void EraseLastCharacter(std::string& name) {
  std::size_t pos = 0, last = 0;
  while (pos < name.size()) {
    last = pos;
    NextCharacter(name, pos);
  }
  name.erase(last);
}

// The first character typed this frame: the codes from '0' to 'Z' in order, with Space
// asked for after each of them; 0 for none. Characters come as the player's layout
// types them, so an AZERTY digit row gives digits where its keys show them.
int TypedKey() {
  for (int code = kFirstTyped; code <= kLastTyped; ++code) {
    if (TypedPresses(code) > 0) return code;
    if (TypedPresses(kSpace) > 0) return kSpace;
  }
  return 0;
}

}  // namespace

void NameEntryScreen(int form) {
  FlushKeys();
  for (;;) {
    DrawScreen(form);
    if (KeyPresses(kBackspace) > 0) {
      PlayEffectIfOn("BlipSND");
      if (!PlayerName.empty()) EraseLastCharacter(PlayerName);
    }
    if (const int key = TypedKey(); key != 0) {
      if (CharacterCount(PlayerName) < kMaxNameLength) {
        PlayerName.push_back(static_cast<char>(key));
        PlayEffectIfOn("BlipSND");
      }
      // One character a frame: whatever else was pressed with it is dropped.
      FlushKeys();
    }
    WriteText("(max 10 chars)", 11, 20, kRedGlow, 0, 1, 1, 0, 255, 64, 64);
    WriteText("current player:", 5, 18, kCyanGlow, 0, 1, 1, 0, 0, 255, 255);
    WriteText(PlayerName, 21, 18, kLilacGlow, 0, 1, 1, 0, 128, 128, 255);
    Flip(-1);
    // Both keys are asked, so neither press lingers.
    if ((KeyPresses(kVkEscape) > 0) | (KeyPresses(kVkEnter) > 0)) break;
  }
  PlayEffectIfOn("BlipSND");
  if (PlayerName.empty()) PlayerName = "noname";
  Delay(150);
  FlushKeys();
}
