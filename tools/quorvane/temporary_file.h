// A file written under a temporary name in its target folder and renamed
// onto the target only when complete, so that a failure or an interrupt
// never leaves a partial file under the target's name.
#pragma once

#include <string>

class TemporaryFile {
 public:
  TemporaryFile() = default;
  // Removes the file unless it was committed.
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates a hidden file beside `target`, open for writing. The interrupt
  // handlers remove it until it is committed or discarded. False with the
  // reason for a missing or unwritable folder.
  [[nodiscard]] bool Create(const std::string& target, std::string& error);

  // The open file; -1 when there is none.
  int Descriptor() const { return descriptor; }
  const std::string& Target() const { return target; }

  // Closes the file and renames it onto the target. Without `replace` an
  // existing target is kept and the commit fails. On failure the file is
  // removed.
  [[nodiscard]] bool Commit(bool replace, std::string& error);

  // Closes and removes the file.
  void Discard();

 private:
  std::string target;
  std::string temporary;
  int descriptor = -1;
  int slot = -1;  // interrupt cleanup slot
};
