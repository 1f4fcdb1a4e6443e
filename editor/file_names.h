// Text rules of the editor's directory queries and file prompt.
#pragma once

#include <string>

// The directory of a module file name with its trailing separator: the text
// up to and including the last separator, when that separator is neither the
// first nor the last character; otherwise the whole name.
std::string DirectoryPart(const std::string& path, char separator);

struct FileFilter {
  std::string pattern;           // "*.wav;*.aif"; empty for no extensions
  std::string defaultExtension;  // the first extension
};

// The filter of a space-separated extension list ("wav aif").
FileFilter FilterOf(const std::string& extensions);
