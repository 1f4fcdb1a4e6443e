#include "plug/plug_identity.h"

#include <cstdio>

std::string VersionText(int version) {
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", version / 1000 % 10, version / 100 % 10,
                version / 10 % 10, version % 10);
  return text;
}
