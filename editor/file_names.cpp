#include "editor/file_names.h"

#include <sstream>

std::string DirectoryPart(const std::string& path, char separator) {
  const size_t last = path.rfind(separator);
  if (last == std::string::npos || last == 0 || last + 1 == path.size()) return path;
  return path.substr(0, last + 1);
}

FileFilter FilterOf(const std::string& extensions) {
  FileFilter filter;
  std::istringstream words(extensions);
  std::string extension;
  while (words >> extension) {
    if (filter.pattern.empty()) {
      filter.defaultExtension = extension;
    } else {
      filter.pattern += ";";
    }
    filter.pattern += "*." + extension;
  }
  return filter;
}
