#include "persist/online.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

#include "data/version.h"
#include "persist/profile.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "quilo.h"
#include "score_text.h"

std::string ServerMessage = kCreditLine;

namespace {

// Where an installed game finds the library, from its own folder (<prefix>/games).
constexpr const char* kInstalledLibraryFolder = "../lib/silkguard/";
constexpr int kSubmission = 1;
constexpr int kFetch = 2;
constexpr int kMaxVersionPairs = 100;
constexpr const char* kTopTenRequest = "silkguard_win.php?option=getscore&nbscore=10";
constexpr const char* kVersionRequest = "VersionCheck.php?option=getversion&nbscore=30";

// The entry points the game calls; the never-called ones are not looked up.
struct Binding {
  quilo::TextFn set_server = nullptr;
  quilo::TextFn set_key = nullptr;
  quilo::VoidFn update = nullptr;
  quilo::SendFn send = nullptr;
  quilo::CountFn queue_count = nullptr;
  quilo::ReceiveFn receive = nullptr;
  quilo::CountFn get_state = nullptr;
  quilo::ResultFn get_result = nullptr;
  quilo::CountFn line_count = nullptr;
};
Binding Quilo;

template <typename Fn>
void Bind(void* library, const char* name, Fn& entry) {
  entry = reinterpret_cast<Fn>(dlsym(library, name));
}

// Loaded once, never unloaded: a second load of the same file finds it again.
void Load(const std::string& path) {
  Quilo = Binding{};
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) return;
  Bind(library, quilo::kSetServer, Quilo.set_server);
  Bind(library, quilo::kSetKey, Quilo.set_key);
  Bind(library, quilo::kUpdate, Quilo.update);
  Bind(library, quilo::kSend, Quilo.send);
  Bind(library, quilo::kQueueCount, Quilo.queue_count);
  Bind(library, quilo::kReceive, Quilo.receive);
  Bind(library, quilo::kGetState, Quilo.get_state);
  Bind(library, quilo::kGetResult, Quilo.get_result);
  Bind(library, quilo::kGetLineCount, Quilo.line_count);
}

// The executable's folder with a "/" at the end; empty when it cannot be told.
std::string ExecutableFolder() {
  std::string path(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
  path.resize(static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}

void HandOver() {
  if (Quilo.set_server) Quilo.set_server(ScoreServerUrl().c_str());
  if (Quilo.set_key) Quilo.set_key(kScoreKey);
}

std::string Line(int line) {
  const char* text = Quilo.get_result(line);
  return text ? text : "";
}

// Waits for an empty queue. A successful answer to the fetch command hands its line
// count to on_fetch, which reads the lines. True when that happened.
bool WaitForAnswers(const std::function<void(int lines)>& on_fetch) {
  bool fetched = false;
  while (Quilo.queue_count() != 0) {
    Quilo.update();
    if (Quilo.receive(kSubmission) != 0) Quilo.get_state();
    if (Quilo.receive(kFetch) != 0 && Quilo.get_state() == quilo::kStateOk) {
      on_fetch(Quilo.line_count());
      fetched = true;
    }
    Delay(10);
  }
  // Answers that never needed a transfer (a request the library could not make) are
  // failures; drop them so the next wait does not take them for its own.
  while (Quilo.receive(kSubmission) != 0 || Quilo.receive(kFetch) != 0) {
  }
  return fetched;
}

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

}  // namespace

std::string ScoreServerUrl() {
  const char* chosen = std::getenv(kScoreServerVariable);
  return chosen && *chosen ? chosen : kDefaultScoreServer;
}

std::string ScoreDateText(const std::tm& date) {
  // English whatever the locale: the server reads these names.
  static constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (date.tm_mon < 0 || date.tm_mon > 11) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%02d %s %04d", date.tm_mday, kMonths[date.tm_mon],
                date.tm_year + 1900);
  return text;
}

std::string ScoreDateText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return ScoreDateText(local);
}

std::string SubmissionRequest(std::string_view user, std::string_view level,
                              std::string_view points, std::string_view date) {
  return "silkguard_win.php?option=addscore&user=" + PercentEncode(user) +
         "&level=" + PercentEncode(level) + "&point=" + PercentEncode(points) +
         "&date=" + PercentEncode(date) + "&version=" + PercentEncode(kVersionText) +
         "&platform=" + PercentEncode(kPlatformText);
}

void OnlineInit() {
  const std::string folder = ExecutableFolder();
  if (!folder.empty()) {
    Load(folder + quilo::kLibraryName);
    if (!OnlineAvailable()) Load(folder + kInstalledLibraryFolder + quilo::kLibraryName);
  }
  if (!OnlineAvailable()) Load(quilo::kLibraryName);
  HandOver();
}

void OnlineInit(const std::string& library_path) {
  Load(library_path);
  HandOver();
}

bool OnlineAvailable() {
  return Quilo.set_server && Quilo.set_key && Quilo.update && Quilo.send && Quilo.queue_count &&
         Quilo.receive && Quilo.get_state && Quilo.get_result && Quilo.line_count;
}

bool OnlineSync(int score, int level_reached, int start_level) {
  const std::string user = LowerCase(PlayerName);
  const std::string level = LevelText(level_reached, start_level);
  const std::string points = std::to_string(score);
  const std::string date = ScoreDateText();
  Delay(150);
  FlushKeys();

  bool fetched = false;
  if (OnlineAvailable()) {
    if (points > "0")
      Quilo.send(kSubmission, SubmissionRequest(user, level, points, date).c_str(), 1, 0);
    Quilo.send(kFetch, kTopTenRequest, 1, 0);
    fetched = WaitForAnswers([](int lines) {
      // The rows start empty; only a complete answer replaces the table.
      FillDefaultHighScores();
      for (int j = 1, row = 0; j <= lines && row < kHighScoreRows; j += 3, ++row) {
        HiName[row] = Line(j);
        HiLevel[row] = Line(j + 1);
        HiScore[row] = Line(j + 2);
      }
    });
  }
  Delay(150);
  FlushKeys();
  return fetched;
}

bool VersionCheck() {
  bool answered = false;
  if (OnlineAvailable()) {
    Quilo.send(kFetch, kVersionRequest, 1, 0);
    std::string server_version;
    answered = WaitForAnswers([&server_version](int lines) {
      server_version.clear();
      for (int j = 1, pair = 0; j <= lines && pair < kMaxVersionPairs; j += 2, ++pair)
        if (Line(j) == "silkguard") server_version = Line(j + 1);
    });
    if (!server_version.empty() && server_version != kVersionText)
      ServerMessage = "  new version (v" + server_version + ") is available";
  }
  Delay(100);
  FlushKeys();
  FlushJoy();
  return answered;
}
