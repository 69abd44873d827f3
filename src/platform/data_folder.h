// Where the game keeps settings.dat and JoypadConfig.txt. The game reads and writes
// them in its working folder; this decides which folder that is and enters it.
//
// - A folder given on the command line is used as it is.
// - A build run from its build tree, or with a file portable.txt beside the program,
//   keeps the folder it was started from.
// - An installed build uses $XDG_DATA_HOME/silkguard (~/.local/share/silkguard when
//   XDG_DATA_HOME is unset or not absolute), made on first run.
#pragma once

#include <string>

struct DataFolderFacts {
  std::string given;             // from the command line, empty when none
  std::string program_dir;       // the folder the running program lies in
  std::string build_dir;         // the build tree the program was built in
  bool portable_marker = false;  // portable.txt beside the program
  std::string xdg_data_home;     // the environment's values, empty when unset
  std::string home;
};

// The folder to work in, or empty for "stay in the current folder".
std::string ChooseDataFolder(const DataFolderFacts& facts);

// The facts of this run: the program's folder, the build tree and the environment.
DataFolderFacts CurrentDataFolderFacts(const std::string& given);

// Makes the chosen folder (and its parents) where needed and enters it. False with a
// reason when it cannot be made or entered; the game then stays where it is.
bool EnterDataFolder(const std::string& folder, std::string* reason);

// True when a file can be created in the current folder (tried, then removed).
bool CurrentFolderWritable();
