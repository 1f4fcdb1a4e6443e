// Commands on audio files alone, without a plug-in: a test signal, format
// conversion and comparison.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "tools/qvhost/arguments.h"
#include "tools/qvhost/audio_file.h"
#include "tools/qvhost/commands.h"
#include "tools/measure/test_noise.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Two different sines well below full scale, each with a little noise, so
// that both channels and every bit of the word length carry signal.
void MakeTone(AudioData& audio, double rate, double seconds) {
  const auto frames = static_cast<size_t>(rate * seconds);
  TestNoise noise(1);
  audio.rate = rate;
  audio.sampleType = SampleType::kFloat32;
  audio.samples.resize(2 * frames);
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    audio.samples[2 * i] = 0.5 * std::sin(2.0 * kPi * 997.0 * t) + 0.02 * noise.Next();
    audio.samples[2 * i + 1] = 0.4 * std::sin(2.0 * kPi * 1499.0 * t) + 0.02 * noise.Next();
  }
}

// Three soft piano-like notes over silence: each note is ten slightly
// inharmonic partials with a 3 ms attack, the higher ones dying away faster,
// peaking near -18 dBFS; the last second is silent. Quiet, decaying material
// is where requantisation noise and the dither's gain are easiest to see.
void MakeDemo(AudioData& audio, double rate) {
  struct Note {
    double start, frequency, pan;
  };
  const Note notes[] = {{0.25, 220.0, 0.4}, {2.25, 329.63, 0.6}, {4.25, 277.18, 0.5}};
  constexpr double kSeconds = 7.5;
  constexpr double kInharmonicity = 0.0004;
  const auto frames = static_cast<size_t>(rate * kSeconds);
  audio.rate = rate;
  audio.sampleType = SampleType::kFloat32;
  audio.samples.assign(2 * frames, 0.0);
  for (const Note& note : notes) {
    for (size_t i = static_cast<size_t>(note.start * rate); i < frames; ++i) {
      const double t = static_cast<double>(i) / rate - note.start;
      if (t > 2.5) break;
      const double attack = t < 0.003 ? t / 0.003 : 1.0;
      double x = 0.0;
      for (int n = 1; n <= 10; ++n) {
        const double f = n * note.frequency * std::sqrt(1.0 + kInharmonicity * n * n);
        x += std::exp(-t * (1.5 + 0.7 * n)) / std::pow(n, 1.3) * std::sin(2.0 * kPi * f * t);
      }
      x *= 0.06 * attack;
      audio.samples[2 * i] += x * (1.0 - note.pan) * 2.0;
      audio.samples[2 * i + 1] += x * note.pan * 2.0;
    }
  }
}

// The value of option `name` in the pairs argv[first..argc), if present; a
// negative or malformed value fails.
bool ReadOption(int argc, char** argv, int first, const char* name, double& value) {
  for (int i = first; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], name) == 0 && (!ParseDouble(argv[i + 1], value) || value < 0.0)) {
      return false;
    }
  }
  return true;
}

bool KnownOptions(int argc, char** argv, int first, const char* a, const char* b) {
  for (int i = first; i < argc; i += 2) {
    const bool known = std::strcmp(argv[i], a) == 0 || (b && std::strcmp(argv[i], b) == 0);
    if (!known || i + 1 >= argc) return false;
  }
  return true;
}

}  // namespace

int ToneCommand(int argc, char** argv) {
  double rate = 44100.0;
  double seconds = 2.0;
  if (argc < 3 || !KnownOptions(argc, argv, 3, "--rate", "--seconds") ||
      !ReadOption(argc, argv, 3, "--rate", rate) ||
      !ReadOption(argc, argv, 3, "--seconds", seconds) || rate == 0.0 || seconds == 0.0) {
    return kExitUsage;
  }
  AudioData audio;
  MakeTone(audio, rate, seconds);
  return WriteAudio(argv[2], audio) ? kExitSuccess : kExitFailure;
}

int DemoCommand(int argc, char** argv) {
  double rate = 44100.0;
  if (argc < 3 || !KnownOptions(argc, argv, 3, "--rate", nullptr) ||
      !ReadOption(argc, argv, 3, "--rate", rate) || rate == 0.0) {
    return kExitUsage;
  }
  AudioData audio;
  MakeDemo(audio, rate);
  return WriteAudio(argv[2], audio) ? kExitSuccess : kExitFailure;
}

int ConvertCommand(int argc, char** argv) {
  if (argc != 4) return kExitUsage;
  AudioData audio;
  return ReadAudio(argv[2], audio) && WriteAudio(argv[3], audio) ? kExitSuccess : kExitFailure;
}

// Succeeds when both files hold the same number of frames and no sample
// differs by more than the tolerance (0: identical values).
int CompareCommand(int argc, char** argv) {
  double tolerance = 0.0;
  if (argc < 4 || !KnownOptions(argc, argv, 4, "--tolerance", nullptr) ||
      !ReadOption(argc, argv, 4, "--tolerance", tolerance)) {
    return kExitUsage;
  }
  AudioData a;
  AudioData b;
  if (!ReadAudio(argv[2], a) || !ReadAudio(argv[3], b)) return kExitFailure;
  if (a.Frames() != b.Frames()) {
    std::printf("frames differ: %zu and %zu\n", a.Frames(), b.Frames());
    return kExitFailure;
  }
  double largest = 0.0;
  size_t where = 0;
  for (size_t i = 0; i < a.samples.size(); ++i) {
    const double difference = std::fabs(a.samples[i] - b.samples[i]);
    if (!(difference <= largest)) {
      largest = difference;
      where = i;
    }
  }
  std::printf("frames %zu largest difference %.9g at frame %zu channel %zu\n", a.Frames(), largest,
              where / 2, where % 2);
  return largest <= tolerance ? kExitSuccess : kExitFailure;
}
