// Files the tests make and read whole, in a folder of their own that goes
// with what it holds.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/quorvane_test_XXXXXX";
    path = mkdtemp(pattern) ? pattern : "";
  }
  ~ScratchFolder() {
    if (!path.empty()) (void)!std::system(("rm -rf '" + path + "'").c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string path;
};

inline std::string ReadWhole(const std::string& path) {
  std::string bytes;
  const int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  char piece[65536];
  for (ssize_t got; in >= 0 && (got = read(in, piece, sizeof piece)) > 0;)
    bytes.append(piece, static_cast<size_t>(got));
  if (in >= 0) close(in);
  return bytes;
}

inline bool WriteWhole(const std::string& path, const std::string& bytes) {
  const int out = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) return false;
  const bool ok = write(out, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return close(out) == 0 && ok;
}
