#include "platform/data_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Inside `dir` or `dir` itself, compared by path components.
bool Within(const std::string& path, const std::string& dir) {
  if (dir.empty() || path.empty()) return false;
  const fs::path p = fs::path(path).lexically_normal();
  const fs::path d = fs::path(dir).lexically_normal();
  auto pi = p.begin();
  for (auto di = d.begin(); di != d.end(); ++di, ++pi) {
    if (di->empty()) continue;  // a trailing separator
    if (pi == p.end() || *pi != *di) return false;
  }
  return true;
}

}  // namespace

std::string ChooseDataFolder(const DataFolderFacts& facts) {
  if (!facts.given.empty()) return facts.given;
  if (facts.portable_marker || Within(facts.program_dir, facts.build_dir)) return "";
  // Only an absolute XDG_DATA_HOME counts, as the base directory rules say.
  if (!facts.xdg_data_home.empty() && facts.xdg_data_home.front() == '/')
    return facts.xdg_data_home + "/silkguard";
  if (!facts.home.empty()) return facts.home + "/.local/share/silkguard";
  return "";  // nowhere better to go
}

DataFolderFacts CurrentDataFolderFacts(const std::string& given) {
  DataFolderFacts facts;
  facts.given = given;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) facts.program_dir = exe.parent_path().string();
#ifdef SILKGUARD_BUILD_DIR
  facts.build_dir = SILKGUARD_BUILD_DIR;
#endif
  if (!facts.program_dir.empty())
    facts.portable_marker = fs::exists(fs::path(facts.program_dir) / "portable.txt", ec);
  if (const char* xdg = std::getenv("XDG_DATA_HOME")) facts.xdg_data_home = xdg;
  if (const char* home = std::getenv("HOME")) facts.home = home;
  return facts;
}

bool EnterDataFolder(const std::string& folder, std::string* reason) {
  if (folder.empty()) return true;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    if (reason) *reason = "cannot make " + folder + ": " + ec.message();
    return false;
  }
  fs::current_path(folder, ec);
  if (ec) {
    if (reason) *reason = "cannot enter " + folder + ": " + ec.message();
    return false;
  }
  return true;
}

bool CurrentFolderWritable() {
  const std::string probe = ".silkguard-write-test-" + std::to_string(::getpid());
  {
    std::ofstream out(probe);
    if (!out) return false;
  }
  std::error_code ec;
  fs::remove(probe, ec);
  return true;
}
