#include "input/joypad_config.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr unsigned char kCr = 13;
constexpr unsigned char kLf = 10;
constexpr int kPortEntries = 22;

class LineReader {
 public:
  explicit LineReader(std::span<const unsigned char> bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }

  // Up to the next LF, a zero byte or the end; CRs are dropped. Past the end: empty.
  std::string_view Next() {
    line_.clear();
    while (pos_ < bytes_.size()) {
      const unsigned char b = bytes_[pos_++];
      if (b == kLf || b == 0) break;
      if (b != kCr) line_.push_back(static_cast<char>(b));
    }
    return line_;
  }

 private:
  std::span<const unsigned char> bytes_;
  std::size_t pos_ = 0;
  std::string line_;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// A hand-edited header may keep a blank or two after its bracket.
std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// The twenty entries of the first table, in the file's order.
struct TopEntry {
  std::string_view header;
  int& (*field)(JoypadConfigValues&);
};
constexpr TopEntry kTopEntries[] = {
    {"[Control Type]", [](JoypadConfigValues& v) -> int& { return v.ControlType; }},
    {"[Hybrid Config]", [](JoypadConfigValues& v) -> int& { return v.HybridConfig; }},
    {"[Joypad Config]", [](JoypadConfigValues& v) -> int& { return v.JoypadConfig; }},
    {"[Joypad Left]", [](JoypadConfigValues& v) -> int& { return v.JoypadLeft; }},
    {"[Joypad Up]", [](JoypadConfigValues& v) -> int& { return v.JoypadUp; }},
    {"[Joypad Right]", [](JoypadConfigValues& v) -> int& { return v.JoypadRight; }},
    {"[Joypad Down]", [](JoypadConfigValues& v) -> int& { return v.JoypadDown; }},
    {"[Joypad Option]", [](JoypadConfigValues& v) -> int& { return v.JoypadOption; }},
    {"[Joypad Bomb]", [](JoypadConfigValues& v) -> int& { return v.JoypadBomb; }},
    {"[Autofire]", [](JoypadConfigValues& v) -> int& { return v.Autofire; }},
    {"[Key Bomb]", [](JoypadConfigValues& v) -> int& { return v.Keys[0]; }},
    {"[Key Move Left]", [](JoypadConfigValues& v) -> int& { return v.Keys[1]; }},
    {"[Key Move Right]", [](JoypadConfigValues& v) -> int& { return v.Keys[2]; }},
    {"[Key Move Up]", [](JoypadConfigValues& v) -> int& { return v.Keys[3]; }},
    {"[Key Move Down]", [](JoypadConfigValues& v) -> int& { return v.Keys[4]; }},
    {"[Key Fire Left]", [](JoypadConfigValues& v) -> int& { return v.Keys[5]; }},
    {"[Key Fire Right]", [](JoypadConfigValues& v) -> int& { return v.Keys[6]; }},
    {"[Key Fire Up]", [](JoypadConfigValues& v) -> int& { return v.Keys[7]; }},
    {"[Key Fire Down]", [](JoypadConfigValues& v) -> int& { return v.Keys[8]; }},
    {"[Used Port]", [](JoypadConfigValues& v) -> int& { return v.UsedPort; }},
};
constexpr std::size_t kControlTypeEntry = 0;
constexpr std::size_t kUsedPortEntry = 19;

constexpr std::string_view kPortHeader = "[Joy Port]";

// How a port entry's value is read and written.
enum class PortKind { kId, kInvert, kScale, kReal, kButton };
struct PortEntry {
  std::string_view header;
  PortKind kind;
  int bbjoypad::*whole = nullptr;
  double bbjoypad::*real = nullptr;
};
constexpr PortEntry kPortEntryTable[kPortEntries] = {
    {"[Joy Move X]", PortKind::kId, &bbjoypad::x1id},
    {"[Joy Move Y]", PortKind::kId, &bbjoypad::y1id},
    {"[Joy Fire X]", PortKind::kId, &bbjoypad::x2id},
    {"[Joy Fire Y]", PortKind::kId, &bbjoypad::y2id},
    {"[Joy Move X Inverted]", PortKind::kInvert, &bbjoypad::x1invert},
    {"[Joy Move Y Inverted]", PortKind::kInvert, &bbjoypad::y1invert},
    {"[Joy Fire X Inverted]", PortKind::kInvert, &bbjoypad::x2invert},
    {"[Joy Fire Y Inverted]", PortKind::kInvert, &bbjoypad::y2invert},
    {"[Joy Move X Scale]", PortKind::kScale, nullptr, &bbjoypad::x1scale},
    {"[Joy Move Y Scale]", PortKind::kScale, nullptr, &bbjoypad::y1scale},
    {"[Joy Fire X Scale]", PortKind::kScale, nullptr, &bbjoypad::x2scale},
    {"[Joy Fire Y Scale]", PortKind::kScale, nullptr, &bbjoypad::y2scale},
    {"[Joy Move X Center]", PortKind::kReal, nullptr, &bbjoypad::x1center},
    {"[Joy Move Y Center]", PortKind::kReal, nullptr, &bbjoypad::y1center},
    {"[Joy Fire X Center]", PortKind::kReal, nullptr, &bbjoypad::x2center},
    {"[Joy Fire Y Center]", PortKind::kReal, nullptr, &bbjoypad::y2center},
    {"[Joy Move X Dead Zone]", PortKind::kReal, nullptr, &bbjoypad::x1dz},
    {"[Joy Move Y Dead Zone]", PortKind::kReal, nullptr, &bbjoypad::y1dz},
    {"[Joy Fire X Dead Zone]", PortKind::kReal, nullptr, &bbjoypad::x2dz},
    {"[Joy Fire Y Dead Zone]", PortKind::kReal, nullptr, &bbjoypad::y2dz},
    {"[Joy Option]", PortKind::kButton, &bbjoypad::optionbutton},
    {"[Joy Bomb]", PortKind::kButton, &bbjoypad::bombbutton},
};

bool PortInRange(int port) {
  return port >= 0 && port < kMappedPorts;
}

void ApplyTop(std::size_t index, std::string_view value, JoypadConfigValues& v) {
  if (index == kControlTypeEntry) {
    // A name that matches none leaves the type as it was.
    for (int i = 0; i < kControlTypeCount; ++i)
      if (SameIgnoringCase(value, ControlTypeNames[i])) v.ControlType = i;
    return;
  }
  const int n = ReadConfigInt(value);
  if (index == kUsedPortEntry && !PortInRange(n)) return;
  kTopEntries[index].field(v) = n;
}

void ApplyPort(const PortEntry& e, std::string_view value, bbjoypad& j) {
  switch (e.kind) {
    case PortKind::kId:
    case PortKind::kButton:
      j.*e.whole = ReadConfigInt(value);
      break;
    case PortKind::kInvert: {
      const int n = ReadConfigInt(value);
      j.*e.whole = n == -1 ? -1 : 1;
      break;
    }
    case PortKind::kScale: {
      const int n = ReadConfigInt(value);
      j.*e.real = n == 0 ? 1.0 : n;
      break;
    }
    case PortKind::kReal: {
      const double r = ReadConfigReal(value);
      j.*e.real = std::fabs(r) > 1.0 ? 0.0 : r;
      break;
    }
  }
}

// The real truncated toward zero, held to what an int can carry.
int TruncatedInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(value);
}

class Writer {
 public:
  void Line(std::string_view text) {
    out_.insert(out_.end(), text.begin(), text.end());
    out_.push_back(kCr);
    out_.push_back(kLf);
  }
  void Int(int value) {
    char buf[16];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    Line(std::string_view(buf, static_cast<std::size_t>(end - buf)));
  }
  // Nine significant digits and always a point: 0 is "0.00000000".
  void Real(double value) {
    char buf[48];
    const int n = std::snprintf(buf, sizeof buf, "%#.9g", value);
    Line(std::string_view(buf, n > 0 ? static_cast<std::size_t>(n) : 0));
  }
  std::vector<unsigned char> Take() { return std::move(out_); }

 private:
  std::vector<unsigned char> out_;
};

}  // namespace

int ReadConfigInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  unsigned base = 10;
  if (pos < text.size() && text[pos] == '$') {
    base = 16;
    ++pos;
  } else if (pos < text.size() && text[pos] == '%') {
    base = 2;
    ++pos;
  }
  // Digits beyond 32 bits wrap, as the game's integers always have.
  std::uint32_t n = 0;
  for (; pos < text.size(); ++pos) {
    const int d = DigitValue(text[pos]);
    if (d >= static_cast<int>(base)) break;
    n = n * base + static_cast<std::uint32_t>(d);
  }
  if (negative) n = 0u - n;
  return static_cast<int>(n);
}

double ReadConfigReal(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos < text.size() && text[pos] == '+' && pos + 1 < text.size() && text[pos + 1] != '-') ++pos;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
  (void)end;
  if (error != std::errc() || !std::isfinite(value)) return 0.0;
  return value;
}

void ParseJoypadConfig(std::span<const unsigned char> bytes, JoypadConfigValues& values) {
  LineReader lines(bytes);
  while (!lines.AtEnd()) {
    const std::string header(TrimEnd(lines.Next()));
    const std::string_view value = lines.Next();
    if (header == kPortHeader) {
      const int port = ReadConfigInt(value);
      // The block's entries are read even past the end of the file, so a cut-off
      // block never leaves its rest to be taken for entries of the first table.
      for (int i = 0; i < kPortEntries; ++i) {
        const std::string entry(TrimEnd(lines.Next()));
        const std::string_view entry_value = lines.Next();
        if (!PortInRange(port)) continue;
        for (const PortEntry& e : kPortEntryTable)
          if (entry == e.header)
            ApplyPort(e, entry_value, values.Ports[static_cast<std::size_t>(port)]);
      }
      continue;
    }
    for (std::size_t i = 0; i < std::size(kTopEntries); ++i)
      if (header == kTopEntries[i].header) ApplyTop(i, value, values);
  }
}

std::vector<unsigned char> FormatJoypadConfig(const JoypadConfigValues& values) {
  JoypadConfigValues v = values;
  Writer out;
  for (std::size_t i = 0; i < std::size(kTopEntries); ++i) {
    out.Line(kTopEntries[i].header);
    if (i == kControlTypeEntry) {
      const bool known = v.ControlType >= 0 && v.ControlType < kControlTypeCount;
      out.Line(ControlTypeNames[known ? v.ControlType : 0]);
    } else {
      out.Int(kTopEntries[i].field(v));
    }
  }
  for (int port = 0; port < kMappedPorts; ++port) {
    const bbjoypad& j = v.Ports[static_cast<std::size_t>(port)];
    out.Line(kPortHeader);
    out.Int(port);
    for (const PortEntry& e : kPortEntryTable) {
      out.Line(e.header);
      switch (e.kind) {
        case PortKind::kId:
        case PortKind::kInvert:
        case PortKind::kButton:
          out.Int(j.*e.whole);
          break;
        case PortKind::kScale:
          out.Int(TruncatedInt(j.*e.real));
          break;
        case PortKind::kReal:
          out.Real(j.*e.real);
          break;
      }
    }
  }
  return out.Take();
}
