// A file written without a name (or, where the file system cannot do that,
// under a hidden temporary name) in its target's folder, and given the
// target's name only when complete, so that a failure, an interrupt or even
// SIGKILL never leaves a partial file under the target's name, and, without
// a temporary name, nothing at all.
//
// The target is the file a symbolic link names, when the name given is a
// link: the link stays and points to the new file. A file replaced keeps its
// permissions (and its owner and group, where the process may set them).
// The data reach the disk before the name does, and the name after.
#pragma once

#include <cstdint>
#include <string>

class TemporaryFile {
 public:
  TemporaryFile() = default;
  // Removes the file unless it was committed.
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates the file in the folder of `target` (followed through symbolic
  // links), open for reading and writing. A hidden name, when one is needed,
  // is removed by the interrupt handlers until the file is committed or
  // discarded. False with the reason for a missing or unwritable folder.
  [[nodiscard]] bool Create(const std::string& target, std::string& error);

  // The open file; -1 when there is none.
  int Descriptor() const { return descriptor; }

  // [the thread that writes] Has the disk start storing what was written
  // since the last call, without waiting for it, once that is at least
  // `bytes`: the sync before Commit then has little left, and the disk
  // works while the next data are made.
  void StartWriteback(int64_t bytes);
  // How much of the file the disk has been asked to store so far.
  int64_t WritebackRequested() const { return writebackFrom; }

  // Gives the file the target's name. Without `replace` an existing target
  // is kept and the commit fails. On failure the file is removed.
  [[nodiscard]] bool Commit(bool replace, std::string& error);

  // Closes and removes the file.
  void Discard();

 private:
  // Links the unnamed file under `name`; false (errno set) when it cannot.
  bool LinkAs(const std::string& name) const;
  // Gives the file an unused hidden name in the folder, registered with the
  // interrupt handlers; false (errno set) when it cannot.
  bool NameHidden();
  // The replaced target's mode, owner and group, as far as they can be set.
  void TakeOwnershipOf(const std::string& path) const;

  std::string target;     // the file the name given stands for
  std::string folder;     // the target's folder
  std::string temporary;  // the hidden name, empty while the file has none
  bool unnamed = false;   // made with O_TMPFILE and not yet linked
  int descriptor = -1;
  int slot = -1;              // interrupt cleanup slot of the hidden name
  int64_t writebackFrom = 0;  // where the data not yet sent to the disk start
};
