#include "app/command_line.h"

#include <charconv>
#include <cstring>

namespace {

bool ParseSeed(const char* text, std::int64_t* out) {
  const char* end = text + std::strlen(text);
  if (text == end) return false;
  const auto [ptr, ec] = std::from_chars(text, end, *out);
  return ec == std::errc() && ptr == end;
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
  ParsedCommandLine parsed;
  LaunchOptions& o = parsed.options;
  auto fail = [&](const std::string& why) {
    parsed.error = why;
    return parsed;
  };
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i] ? argv[i] : "";
    std::string value;
    bool has_value = false;
    // --name=value and --name value are the same.
    if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg.resize(eq);
      has_value = true;
    }
    auto take = [&](std::string* into) {
      if (!has_value) {
        if (i + 1 >= argc || argv[i + 1] == nullptr) return false;
        value = argv[++i];
      }
      *into = value;
      return !into->empty();
    };
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--windowed" || arg == "--fullscreen") {
      const auto want = arg == "--windowed" ? LaunchOptions::Display::kWindowed
                                            : LaunchOptions::Display::kFullScreen;
      if (o.display != LaunchOptions::Display::kAsSettings && o.display != want)
        return fail("--windowed and --fullscreen cannot both be given");
      o.display = want;
    } else if (arg == "--data-dir") {
      if (!take(&o.data_dir)) return fail("--data-dir needs a folder");
    } else if (arg == "--seed") {
      std::string text;
      std::int64_t seed = 0;
      if (!take(&text) || !ParseSeed(text.c_str(), &seed))
        return fail("--seed needs a whole number");
      o.seed = seed;
    } else if (arg == "--record") {
      if (!take(&o.record)) return fail("--record needs a file");
    } else if (arg == "--replay" || arg == "--verify-replay") {
      if (!o.replay.empty()) return fail("only one replay at a time");
      if (!take(&o.replay)) return fail(arg + " needs a file");
      o.verify = arg == "--verify-replay";
    } else {
      return fail("unknown option " + arg);
    }
    if (has_value && arg != "--data-dir" && arg != "--seed" && arg != "--record" &&
        arg != "--replay" && arg != "--verify-replay")
      return fail(arg + " takes no value");
  }
  if (!o.replay.empty() && !o.record.empty()) return fail("a replay cannot be recorded again");
  if (!o.replay.empty() && o.seed) return fail("a replay brings its own seed");
  return parsed;
}

std::string UsageText() {
  return "Usage: silkguard [OPTION]...\n"
         "Silkguard, a neon arcade shooter: a spider on its web against waves of insects.\n"
         "\n"
         "  --help               show this help and leave\n"
         "  --version            show the version and leave\n"
         "  --windowed           play in a window this time\n"
         "  --fullscreen         play full screen this time (Alt+Enter switches)\n"
         "  --data-dir DIR       keep settings.dat and JoypadConfig.txt in DIR\n"
         "  --seed N             a seeded game: the same insects every time\n"
         "  --record FILE        record this session's input to FILE\n"
         "  --replay FILE        play a recorded session back\n"
         "  --verify-replay FILE replay at full speed without showing it; exit 0 only\n"
         "                       if it ends with the recorded score, level and state\n"
         "\n"
         "Exit status: 0 after a normal end; 1 when no OpenGL display can be opened or\n"
         "a replay ends differently; 2 for an unknown option or an unreadable replay.\n";
}
