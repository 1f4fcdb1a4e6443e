#include "tools/quorvane/temporary_file.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <initializer_list>
#include <random>
#include <vector>

#include "tools/quorvane/interrupt.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a name stands for: the name itself, or, through any chain of
// symbolic links (at most 40, as the kernel follows), the name the last
// link holds. A link whose file does not exist yet still names it.
std::string FollowLinks(const std::string& path) {
  std::string name = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status;
    if (lstat(name.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return name;
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t length = readlink(name.c_str(), buffer.data(), PATH_MAX);
    if (length <= 0) return name;
    const std::string held(buffer.data(), static_cast<size_t>(length));
    name = held[0] == '/' ? held : FolderOf(name) + "/" + held;
  }
  return name;
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

// Signals that would run the cleanup are held while a hidden name is made
// and registered, so that no interrupt falls between the two.
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

// Flushes a folder's entries to the disk, so that a rename survives a crash.
void SyncFolder(const std::string& folder) {
  const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;
  fsync(handle);
  close(handle);
}

// Six random letters and digits in place of "XXXXXX".
void FillRandomLetters(char* letters) {
  static constexpr char kAlphabet[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static thread_local std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
  for (int i = 0; i < 6; ++i) letters[i] = kAlphabet[pick(random)];
}

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

TemporaryFile::~TemporaryFile() { Discard(); }

bool TemporaryFile::Create(const std::string& targetPath, std::string& error) {
  target = FollowLinks(targetPath);
  folder = FolderOf(target);
  // Unnamed where the file system can: nothing to remove, whatever ends the
  // process. Elsewhere a hidden name, which the interrupt handlers remove.
  descriptor = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666 & ~CreationMask());
  if (descriptor >= 0) {
    unnamed = true;
    return true;
  }
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
    error = Reason("cannot create a file in " + folder);
    return false;
  }
  if (!NameHidden()) {
    error = errno == EMFILE ? "too many outputs open at once"
                            : Reason("cannot create a file in " + folder);
    Discard();
    return false;
  }
  return true;
}

bool TemporaryFile::NameHidden() {
  const std::string pattern = folder + "/.quorvane-XXXXXX";
  HeldSignals held;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (descriptor < 0) {
      // No file yet: mkstemp makes one under the name.
      descriptor = mkstemp(name.data());
      if (descriptor < 0) return false;
      fchmod(descriptor, 0666 & ~CreationMask());
    } else {
      // The unnamed file gets a name of six random letters; one already
      // taken is tried again with others.
      FillRandomLetters(name.data() + name.size() - 7);
      if (!LinkAs(name.data())) {
        if (errno == EEXIST) continue;
        return false;
      }
      unnamed = false;
    }
    temporary = name.data();
    slot = RememberTemporary(temporary.c_str());
    if (slot < 0) {
      errno = EMFILE;
      return false;
    }
    return true;
  }
  errno = EEXIST;
  return false;
}

bool TemporaryFile::LinkAs(const std::string& name) const {
  const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
  return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

void TemporaryFile::TakeOwnershipOf(const std::string& path) const {
  struct stat replaced;
  if (stat(path.c_str(), &replaced) != 0) return;
  // Owner and group first: changing them may clear set-id bits, which the
  // mode then restores. Where the owner cannot be given, the group may.
  if (fchown(descriptor, replaced.st_uid, replaced.st_gid) != 0) {
    (void)!fchown(descriptor, static_cast<uid_t>(-1), replaced.st_gid);
  }
  fchmod(descriptor, replaced.st_mode & 07777);
}

void TemporaryFile::StartWriteback(int64_t bytes) {
  if (descriptor < 0) return;
  // The file's size, not its offset: a writer may store with pwrite.
  struct stat written;
  if (fstat(descriptor, &written) != 0) return;
  const off_t end = written.st_size;
  if (end - writebackFrom < bytes) return;
  // Only a hint: where the system cannot, the sync before Commit does it all.
  (void)sync_file_range(descriptor, writebackFrom, end - writebackFrom, SYNC_FILE_RANGE_WRITE);
  writebackFrom = end;
}

bool TemporaryFile::Commit(bool replace, std::string& error) {
  if (replace) TakeOwnershipOf(target);
  if (fsync(descriptor) != 0) {
    error = Reason("cannot write " + target + " to the disk");
    Discard();
    return false;
  }
  int renamed = 0;
  if (unnamed && !replace) {
    // The name is taken only if it is free.
    renamed = LinkAs(target) ? 0 : -1;
    if (renamed == 0) unnamed = false;
  } else {
    // A rename replaces the target in one step; the unnamed file needs a
    // hidden name to rename from.
    if (unnamed && !NameHidden()) renamed = -1;
    if (renamed == 0) {
      renamed = replace ? rename(temporary.c_str(), target.c_str())
                        : RenameNoReplace(temporary.c_str(), target.c_str());
    }
  }
  if (renamed != 0) {
    error = errno == EEXIST ? target + " exists (use -y to overwrite it)"
                            : Reason("cannot give the output the name " + target);
    Discard();
    return false;
  }
  ForgetTemporary(slot);
  slot = -1;
  temporary.clear();
  const bool closed = close(descriptor) == 0;
  descriptor = -1;
  if (!closed) {
    error = Reason("cannot finish " + target);
    return false;
  }
  SyncFolder(folder);
  return true;
}

void TemporaryFile::Discard() {
  if (descriptor >= 0) close(descriptor);
  descriptor = -1;
  unnamed = false;
  if (!temporary.empty()) unlink(temporary.c_str());
  temporary.clear();
  ForgetTemporary(slot);
  slot = -1;
}
