#include "persist/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
  return false;
}

// The mode a new file gets: the old file's, or what the umask allows.
mode_t NewFileMode(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::span<const unsigned char> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<std::vector<unsigned char>> ReadFileBytes(const std::string& path,
                                                        std::size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::vector<unsigned char> bytes;
  unsigned char chunk[4096];
  bool ok = true;
  while (bytes.size() < limit) {
    const std::size_t want = std::min(sizeof chunk, limit - bytes.size());
    const ssize_t n = ::read(fd, chunk, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  return bytes;
}

bool WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes,
                         std::string* error) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return Fail(error, "cannot create a temporary file beside " + path);

  const mode_t mode = NewFileMode(path);
  bool ok = WriteAll(fd, bytes) || Fail(error, "cannot write " + temp);
  ok = ok && (::fchmod(fd, mode) == 0 || Fail(error, "cannot set the mode of " + temp));
  ok = ok && (::fsync(fd) == 0 || Fail(error, "cannot flush " + temp));
  if (::close(fd) != 0 && ok) ok = Fail(error, "cannot close " + temp);
  ok = ok && (::rename(temp.c_str(), path.c_str()) == 0 || Fail(error, "cannot replace " + path));
  if (!ok) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return false;
  }

  // The rename itself reaches the disk with the folder.
  const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}
