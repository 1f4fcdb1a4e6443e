#include "tools/qvhost/audio_file.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/qvhost/wav_file.h"

namespace {

// The raw type a file name asks for; false for anything else.
bool RawType(const char* path, SampleType& type) {
  const size_t length = std::strlen(path);
  if (length < 4) return false;
  const char* extension = path + length - 4;
  if (std::strcmp(extension, ".f32") == 0)
    type = SampleType::kFloat32;
  else if (std::strcmp(extension, ".f64") == 0)
    type = SampleType::kFloat64;
  else
    return false;
  return true;
}

template <typename Sample>
void DecodeSamples(const std::vector<char>& bytes, std::vector<double>& samples) {
  const size_t count = bytes.size() / sizeof(Sample);
  samples.resize(count);
  for (size_t i = 0; i < count; ++i) {
    Sample sample;
    std::memcpy(&sample, bytes.data() + i * sizeof(Sample), sizeof(Sample));
    samples[i] = sample;
  }
}

bool ReadRaw(const char* path, SampleType type, AudioData& audio) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "qvhost: cannot read %s\n", path);
    return false;
  }
  std::vector<char> bytes;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  const size_t frameBytes = 2 * (type == SampleType::kFloat32 ? sizeof(float) : sizeof(double));
  if (bytes.size() % frameBytes != 0) {
    std::fprintf(stderr, "qvhost: %s does not hold whole stereo frames\n", path);
    return false;
  }
  audio.rate = 0.0;
  audio.sampleType = type;
  if (type == SampleType::kFloat32)
    DecodeSamples<float>(bytes, audio.samples);
  else
    DecodeSamples<double>(bytes, audio.samples);
  return true;
}

template <typename Sample>
std::vector<char> RawBytes(const std::vector<double>& samples) {
  std::vector<char> bytes(samples.size() * sizeof(Sample));
  for (size_t i = 0; i < samples.size(); ++i) {
    const auto sample = static_cast<Sample>(samples[i]);
    std::memcpy(bytes.data() + i * sizeof(Sample), &sample, sizeof(Sample));
  }
  return bytes;
}

bool WriteRaw(const char* path, SampleType type, const AudioData& audio) {
  const std::vector<char> bytes = type == SampleType::kFloat32 ? RawBytes<float>(audio.samples)
                                                               : RawBytes<double>(audio.samples);
  std::FILE* file = std::fopen(path, "wb");
  const bool written =
      file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = file != nullptr && std::fclose(file) == 0;
  if (!written || !closed) std::fprintf(stderr, "qvhost: cannot write %s\n", path);
  return written && closed;
}

}  // namespace

bool ReadAudio(const char* path, AudioData& audio) {
  SampleType type;
  return RawType(path, type) ? ReadRaw(path, type, audio) : ReadWav(path, audio);
}

bool WriteAudio(const char* path, const AudioData& audio) {
  SampleType type;
  return RawType(path, type) ? WriteRaw(path, type, audio) : WriteWav(path, audio);
}
