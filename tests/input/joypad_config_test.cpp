// The controller file's bytes: what a first run writes, the rules each value is read
// by, and files edited by hand, cut off or out of order.
#include "input/joypad_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Lines(const std::vector<std::string>& lines, const char* end = "\r\n") {
  std::string text;
  for (const std::string& l : lines) text += l + end;
  return Bytes(text.begin(), text.end());
}

std::vector<std::string> SplitCrLf(const Bytes& bytes) {
  std::vector<std::string> lines;
  std::string text(bytes.begin(), bytes.end());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

JoypadConfigValues Read(const Bytes& bytes, JoypadConfigValues start = {}) {
  ParseJoypadConfig(bytes, start);
  return start;
}

TEST(JoypadConfigFile, AFirstRunWritesEveryEntryInItsOrder) {
  const std::vector<std::string> lines = SplitCrLf(FormatJoypadConfig(JoypadConfigValues{}));
  ASSERT_EQ(lines.size(), 224u);
  const std::vector<std::string> head = {
      "[Control Type]",   "Dual Analog", "[Hybrid Config]",  "0",  "[Joypad Config]", "0",
      "[Joypad Left]",    "0",           "[Joypad Up]",      "1",  "[Joypad Right]",  "2",
      "[Joypad Down]",    "3",           "[Joypad Option]",  "0",  "[Joypad Bomb]",   "4",
      "[Autofire]",       "0",           "[Key Bomb]",       "32", "[Key Move Left]", "83",
      "[Key Move Right]", "68",          "[Key Move Up]",    "69", "[Key Move Down]", "88",
      "[Key Fire Left]",  "37",          "[Key Fire Right]", "39", "[Key Fire Up]",   "38",
      "[Key Fire Down]",  "40",          "[Used Port]",      "0"};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 40), head);
  const std::vector<std::string> values = {
      "1",          "2",          "4",          "3",          "1",          "1",
      "1",          "1",          "1",          "1",          "1",          "1",
      "0.00000000", "0.00000000", "0.00000000", "0.00000000", "0.00000000", "0.00000000",
      "0.00000000", "0.00000000", "1",          "2"};
  for (int port = 0; port < 4; ++port) {
    SCOPED_TRACE(port);
    const std::size_t at = 40 + 46 * static_cast<std::size_t>(port);
    EXPECT_EQ(lines[at], "[Joy Port]");
    EXPECT_EQ(lines[at + 1], std::to_string(port));
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(lines[at + 3 + 2 * i], values[i]);
  }
  EXPECT_EQ(lines[42], "[Joy Move X]");
  EXPECT_EQ(lines[66], "[Joy Move X Center]");
  EXPECT_EQ(lines[84], "[Joy Bomb]");
}

TEST(JoypadConfigFile, EachValueIsReadByItsOwnRule) {
  const JoypadConfigValues v = Read(Lines({
      "[Control Type]",
      "keyboard",  // any case
      "[Joy Port]",
      "1",  //
      "[Joy Move X Inverted]",
      "5",  // neither 1 nor -1: 1
      "[Joy Move Y Inverted]",
      "-1",  //
      "[Joy Fire X Inverted]",
      "0",  //
      "[Joy Fire Y Inverted]",
      "-1.5",  // read as an integer: -1
      "[Joy Move X Scale]",
      "0",  // 0 would divide: 1
      "[Joy Move Y Scale]",
      "180.7",  // an integer
      "[Joy Fire X Scale]",
      "-255",  //
      "[Joy Fire Y Scale]",
      "x",  // no digits: 0, so 1
      "[Joy Move X Center]",
      "1.0",  // at the limit: kept
      "[Joy Move Y Center]",
      "1.01",  // beyond it: 0
      "[Joy Fire X Center]",
      "-0.333333333333",  //
      "[Joy Fire Y Center]",
      "nan",  // not a number: 0
      "[Joy Move X Dead Zone]",
      "-1.5",  //
      "[Joy Move Y Dead Zone]",
      " +0.25",  //
      "[Joy Fire X Dead Zone]",
      "inf",  //
      "[Joy Fire Y Dead Zone]",
      "1e-3",  //
      "[Joy Option]",
      "$1F",  // hexadecimal
      "[Joy Bomb]",
      "%101",  // binary
      "[Joy Move X]",
      "-7xyz",  // digits up to the first other character
      "[Joy Move Y]",
      "99",  // kept: it reads 0 in play
  }));
  EXPECT_EQ(v.ControlType, 2);
  const bbjoypad& j = v.Ports[1];
  EXPECT_EQ(j.x1invert, 1);
  EXPECT_EQ(j.y1invert, -1);
  EXPECT_EQ(j.x2invert, 1);
  EXPECT_EQ(j.y2invert, -1);
  EXPECT_EQ(j.x1scale, 1.0);
  EXPECT_EQ(j.y1scale, 180.0);
  EXPECT_EQ(j.x2scale, -255.0);
  EXPECT_EQ(j.y2scale, 1.0);
  EXPECT_EQ(j.x1center, 1.0);
  EXPECT_EQ(j.y1center, 0.0);
  EXPECT_DOUBLE_EQ(j.x2center, -0.333333333333);
  EXPECT_EQ(j.y2center, 0.0);
  EXPECT_EQ(j.x1dz, 0.0);
  EXPECT_EQ(j.y1dz, 0.25);
  EXPECT_EQ(j.x2dz, 0.0);
  EXPECT_EQ(j.y2dz, 0.001);
  EXPECT_EQ(j.optionbutton, 31);
  EXPECT_EQ(j.bombbutton, 5);
  EXPECT_EQ(j.x1id, -7);
  EXPECT_EQ(j.y1id, 99);
  // The block was port 1's alone.
  EXPECT_EQ(v.Ports[0], kDefaultJoypadMapping);
  EXPECT_EQ(v.Ports[2], kDefaultJoypadMapping);
}

TEST(JoypadConfigFile, NumbersAndNamesAtTheirEdges) {
  EXPECT_EQ(ReadConfigInt("  42"), 42);
  EXPECT_EQ(ReadConfigInt("+8"), 8);
  EXPECT_EQ(ReadConfigInt("-$10"), -16);
  EXPECT_EQ(ReadConfigInt("$fFz"), 255);
  EXPECT_EQ(ReadConfigInt("%1012"), 5);
  EXPECT_EQ(ReadConfigInt(""), 0);
  EXPECT_EQ(ReadConfigInt("-"), 0);
  EXPECT_EQ(ReadConfigInt("2147483647"), 2147483647);
  EXPECT_EQ(ReadConfigInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ReadConfigInt("4294967297"), 1);  // 32 bits, as the game's integers
  EXPECT_EQ(ReadConfigReal("0.5abc"), 0.5);
  EXPECT_EQ(ReadConfigReal("-1e400"), 0.0);
  EXPECT_EQ(ReadConfigReal("+-1"), 0.0);
  EXPECT_EQ(ReadConfigReal(".25"), 0.25);
  // A control type that matches no name leaves the type as it was.
  JoypadConfigValues start;
  start.ControlType = 4;
  EXPECT_EQ(Read(Lines({"[Control Type]", "Gamepad"}), start).ControlType, 4);
  EXPECT_EQ(Read(Lines({"[Control Type]", "JOYPAD"}), start).ControlType, 3);
  EXPECT_EQ(Read(Lines({"[Control Type]", ""}), start).ControlType, 4);
}

TEST(JoypadConfigFile, WhatIsWrittenReadsBackTheSame) {
  JoypadConfigValues v;
  v.ControlType = 4;
  v.HybridConfig = 3;
  v.JoypadConfig = 1;
  v.JoypadLeft = 7;
  v.JoypadUp = -2;
  v.JoypadRight = 15;
  v.JoypadDown = 12;
  v.JoypadOption = 9;
  v.JoypadBomb = 0;
  v.Autofire = 1;
  v.Keys = {1, 2, 3, 4, 5, 6, 7, 8, 255};
  v.UsedPort = 3;
  for (int p = 0; p < 4; ++p) {
    bbjoypad& j = v.Ports[static_cast<std::size_t>(p)];
    j.x1id = 10 + p;
    j.y2id = 0;
    j.x1invert = -1;
    j.y2scale = 255;
    j.x1center = -0.9;
    j.y1center = 0.25 * p - 0.5;
    j.x2dz = 0.5;
    j.y2dz = 1.0;
    j.optionbutton = 20 + p;
    j.bombbutton = -p;
  }
  const Bytes bytes = FormatJoypadConfig(v);
  EXPECT_EQ(Read(bytes), v);
  // A scale the screens never set is written as the integer it truncates to.
  v.Ports[2].x1scale = 1.5;
  v.Ports[2].y1scale = -180.9;
  const JoypadConfigValues back = Read(FormatJoypadConfig(v));
  EXPECT_EQ(back.Ports[2].x1scale, 1.0);
  EXPECT_EQ(back.Ports[2].y1scale, -180.0);
}

TEST(JoypadConfigFile, BlocksInAnyOrderAndTheLaterEntryWins) {
  auto block = [](int port, int x1id) {
    return std::vector<std::string>{"[Joy Port]",         std::to_string(port),
                                    "[Joy Move X]",       std::to_string(x1id),
                                    "[Joy Bomb]",         std::to_string(x1id + 100),
                                    "[Used Port]",        "2",  // not a port entry: ignored
                                    "[Joypad Left]",      "9",  // nor this
                                    "[Joy Fire Y Scale]", "180"};
  };
  std::vector<std::string> lines = {"[Joypad Left]", "5", "[Used Port]", "3"};
  for (const auto& b : {block(3, 13), block(1, 11), block(1, 21)}) {
    lines.insert(lines.end(), b.begin(), b.end());
    // A block is 22 entries: fill the rest with ones the game does not know.
    for (int i = 5; i < 22; ++i) lines.insert(lines.end(), {"[Nothing]", "7"});
  }
  lines.insert(lines.end(), {"[Joypad Left]", "6", "[Unknown Header]", "[Joypad Up]"});
  JoypadConfigValues start;
  start.JoypadRight = 14;  // not in the file: stays
  start.Ports[0].x1id = 8;
  const JoypadConfigValues v = Read(Lines(lines, "\n"), start);
  EXPECT_EQ(v.JoypadLeft, 6);
  EXPECT_EQ(v.JoypadRight, 14);
  EXPECT_EQ(v.UsedPort, 3);
  // "[Unknown Header]" took "[Joypad Up]" as its value.
  EXPECT_EQ(v.JoypadUp, 1);
  EXPECT_EQ(v.Ports[0].x1id, 8);
  EXPECT_EQ(v.Ports[1].x1id, 21);
  EXPECT_EQ(v.Ports[1].bombbutton, 121);
  EXPECT_EQ(v.Ports[3].x1id, 13);
  EXPECT_EQ(v.Ports[3].y2scale, 180.0);
  EXPECT_EQ(v.Ports[2], kDefaultJoypadMapping);
}

TEST(JoypadConfigFile, PortsOutsideTheFourAreSkippedWithTheirEntries) {
  std::vector<std::string> lines = {"[Used Port]", "1"};
  for (const char* port : {"4", "-1", "junk"}) {
    if (std::string(port) == "junk") {
      lines.insert(lines.end(), {"[Joy Port]", "junk"});  // reads as port 0
    } else {
      lines.insert(lines.end(), {"[Joy Port]", port});
    }
    lines.insert(lines.end(), {"[Joy Move X]", "15", "[Used Port]", "2"});
    for (int i = 2; i < 22; ++i) lines.insert(lines.end(), {"[Joy Fire X]", "9"});
  }
  lines.insert(lines.end(), {"[Used Port]", "4", "[Used Port]", "-1"});
  const JoypadConfigValues v = Read(Lines(lines));
  EXPECT_EQ(v.UsedPort, 1);  // 4 and -1 pick no mapping: ignored
  EXPECT_EQ(v.Ports[0].x1id, 15);
  EXPECT_EQ(v.Ports[0].x2id, 9);
  for (int p = 1; p < 4; ++p)
    EXPECT_EQ(v.Ports[static_cast<std::size_t>(p)], kDefaultJoypadMapping);
}

TEST(JoypadConfigFile, ACutOffFileKeepsWhatItHadAndReadsMissingLinesAsEmpty) {
  // The block ends with a header whose value line is gone: it reads as 0.
  const JoypadConfigValues v =
      Read(Lines({"[Used Port]", "2", "[Joy Port]", "2", "[Joy Move Y]", "6", "[Joy Fire X]"}));
  EXPECT_EQ(v.UsedPort, 2);
  EXPECT_EQ(v.Ports[2].y1id, 6);
  EXPECT_EQ(v.Ports[2].x2id, 0);
  EXPECT_EQ(v.Ports[2].y2id, 3);
  // A zero byte ends a line as LF does, and CRs are dropped wherever they are.
  const Bytes odd = {'[', 'U', 's', 'e',  'd',  ' ',  'P',  'o',  'r', 't',
                     ']', 0,   '3', '\r', '\r', '\n', '\n', 0xFF, 0};
  EXPECT_EQ(Read(odd).UsedPort, 3);
  EXPECT_EQ(Read(Bytes{}), JoypadConfigValues{});
  // A header with blanks after its bracket still counts.
  EXPECT_EQ(Read(Lines({"[Used Port] \t", "3"})).UsedPort, 3);
}

}  // namespace
