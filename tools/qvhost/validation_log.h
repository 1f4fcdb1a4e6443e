// What `qvhost validate` prints: one line per check, "ok - NAME" or
// "not ok - NAME", and diagnostics on lines starting with "# ".
#pragma once

#include <cstdint>
#include <string>

// The faults one check collected: how many, and the first in words.
class Findings {
 public:
  // Records a fault; the description is kept for the first only.
  void Add(const std::string& description);
  bool Clean() const { return count == 0; }
  int64_t Count() const { return count; }
  const std::string& First() const { return first; }

 private:
  int64_t count = 0;
  std::string first;
};

class ValidationLog {
 public:
  // Prints the result line; a failed check is followed by its first finding
  // and the number of findings. Returns whether it passed.
  bool Check(const Findings& findings, const std::string& name);
  bool Check(bool passed, const std::string& name);
  // Prints a diagnostic line.
  void Note(const std::string& text);
  int Failures() const { return failures; }

 private:
  int failures = 0;
};

// printf-style formatting into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
