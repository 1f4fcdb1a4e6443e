#include "tools/quorvane/temporary_file.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "tools/quorvane/interrupt.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The process's file-creation mask, read once.
mode_t CreationMask() {
  static const mode_t mask = [] {
    const mode_t current = umask(0);
    umask(current);
    return current;
  }();
  return mask;
}

// Signals that would run the cleanup are held while a file is created and
// registered, so that no interrupt falls between the two.
class HeldSignals {
 public:
  HeldSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &previous);
  }
  ~HeldSignals() { pthread_sigmask(SIG_SETMASK, &previous, nullptr); }

 private:
  sigset_t previous;
};

// Renames without replacing an existing target; filesystems without that
// rename get a hard link and an unlink, which also never replaces.
int RenameNoReplace(const char* from, const char* to) {
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  if (link(from, to) != 0) return -1;
  unlink(from);
  return 0;
}

}  // namespace

TemporaryFile::~TemporaryFile() { Discard(); }

bool TemporaryFile::Create(const std::string& targetPath, std::string& error) {
  target = targetPath;
  const std::string folder = FolderOf(target);
  const std::string pattern = folder + "/.quorvane-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  HeldSignals held;
  descriptor = mkstemp(name.data());
  if (descriptor < 0) {
    error = "cannot create a file in " + folder + ": " + std::strerror(errno);
    return false;
  }
  temporary = name.data();
  slot = RememberTemporary(temporary.c_str());
  if (slot < 0) {
    error = "too many outputs open at once";
    Discard();
    return false;
  }
  fchmod(descriptor, 0666 & ~CreationMask());
  return true;
}

bool TemporaryFile::Commit(bool replace, std::string& error) {
  const bool closed = close(descriptor) == 0;
  descriptor = -1;
  if (!closed) {
    error = "cannot finish " + target + ": " + std::strerror(errno);
    Discard();
    return false;
  }
  const int renamed = replace ? rename(temporary.c_str(), target.c_str())
                              : RenameNoReplace(temporary.c_str(), target.c_str());
  if (renamed != 0) {
    error = errno == EEXIST ? target + " exists (use -y to overwrite it)"
                            : "cannot rename the output to " + target + ": " + std::strerror(errno);
    Discard();
    return false;
  }
  ForgetTemporary(slot);
  slot = -1;
  temporary.clear();
  return true;
}

void TemporaryFile::Discard() {
  if (descriptor >= 0) close(descriptor);
  descriptor = -1;
  if (!temporary.empty()) unlink(temporary.c_str());
  temporary.clear();
  ForgetTemporary(slot);
  slot = -1;
}
