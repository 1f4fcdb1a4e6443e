#include "tools/qvhost/wav_file.h"

#include <cstdio>

namespace {
bool Refuse(const char* path) {
  std::fprintf(stderr, "qvhost: %s: this build reads and writes only .f32 and .f64 files\n", path);
  return false;
}
}  // namespace

bool ReadWav(const char* path, AudioData&) { return Refuse(path); }

bool WriteWav(const char* path, const AudioData&) { return Refuse(path); }
