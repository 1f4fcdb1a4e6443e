#include "tools/qvhost/validation_log.h"

#include <cstdarg>
#include <cstdio>

void Findings::Add(const std::string& description) {
  if (count++ == 0) first = description;
}

bool ValidationLog::Check(const Findings& findings, const std::string& name) {
  if (!Check(findings.Clean(), name)) {
    Note(Format("first of %lld: %s", static_cast<long long>(findings.Count()),
                findings.First().c_str()));
  }
  return findings.Clean();
}

bool ValidationLog::Check(bool passed, const std::string& name) {
  std::printf("%s - %s\n", passed ? "ok" : "not ok", name.c_str());
  std::fflush(stdout);
  if (!passed) ++failures;
  return passed;
}

void ValidationLog::Note(const std::string& text) {
  std::printf("# %s\n", text.c_str());
  std::fflush(stdout);
}

std::string Format(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return text;
}
