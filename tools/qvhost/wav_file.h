// WAV files. posix/ implements them with libsndfile; the Windows build has no
// such library and win32/ refuses them, pointing to the raw formats.
#pragma once

#include "tools/qvhost/audio_file.h"

// As ReadAudio and WriteAudio; a float WAV is written for kFloat32 samples, a
// double WAV for kFloat64, so nothing is lost.
[[nodiscard]] bool ReadWav(const char* path, AudioData& audio);
[[nodiscard]] bool WriteWav(const char* path, const AudioData& audio);
