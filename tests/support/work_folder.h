// A fresh, empty folder to work in for the length of a test: the test's settings.dat
// goes there, never into the source tree or the folder of another test.
#pragma once

#include <string>
#include <vector>

class WorkFolder {
 public:
  // Made under the current folder (the test program's work folder) and entered.
  WorkFolder();
  // Goes back to the folder it came from and removes itself with all it holds.
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The names of the files in it, sorted.
  std::vector<std::string> Files() const;

 private:
  std::string path_;
  std::string came_from_;
};

std::vector<unsigned char> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
