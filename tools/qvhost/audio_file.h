// Stereo audio files. The extension picks the format: ".f32" and ".f64" are
// raw interleaved stereo little-endian 32-bit or 64-bit floats (no header, no
// rate), anything else is a WAV file, which only the native build reads and
// writes. Raw files are what every build understands, so outputs of different
// builds can be compared byte for byte.
#pragma once

#include <cstddef>
#include <vector>

enum class SampleType { kFloat32, kFloat64 };

struct AudioData {
  double rate = 0.0;                             // frames per second; 0 when the file does not say
  SampleType sampleType = SampleType::kFloat32;  // precision of the samples; a WAV is written in it
  std::vector<double> samples;                   // interleaved left, right
  size_t Frames() const { return samples.size() / 2; }
};

// Reads a file as stereo: a mono file feeds both channels, channels beyond the
// second are dropped. Prints the reason to stderr on failure.
[[nodiscard]] bool ReadAudio(const char* path, AudioData& audio);

// Writes a file in the format its extension names. Prints the reason to
// stderr on failure.
[[nodiscard]] bool WriteAudio(const char* path, const AudioData& audio);
