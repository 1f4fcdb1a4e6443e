#include "tools/qvhost/wav_file.h"

#include <sndfile.h>

#include <cstdio>

namespace {

bool IsDoubleFile(const SF_INFO& info) {
  return (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE;
}

// Keeps the first two channels, or doubles a single one.
void ToStereo(const std::vector<double>& frames, int channels, std::vector<double>& stereo) {
  const size_t count = frames.size() / static_cast<size_t>(channels);
  stereo.resize(2 * count);
  for (size_t i = 0; i < count; ++i) {
    const double* frame = &frames[i * static_cast<size_t>(channels)];
    stereo[2 * i] = frame[0];
    stereo[2 * i + 1] = channels > 1 ? frame[1] : frame[0];
  }
}

}  // namespace

bool ReadWav(const char* path, AudioData& audio) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path, SFM_READ, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "qvhost: cannot read %s: %s\n", path, sf_strerror(nullptr));
    return false;
  }
  std::vector<double> frames(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
  const sf_count_t got = sf_readf_double(file, frames.data(), info.frames);
  sf_close(file);
  if (got != info.frames || info.channels < 1) {
    std::fprintf(stderr, "qvhost: %s is truncated\n", path);
    return false;
  }
  audio.rate = info.samplerate;
  audio.sampleType = IsDoubleFile(info) ? SampleType::kFloat64 : SampleType::kFloat32;
  ToStereo(frames, info.channels, audio.samples);
  return true;
}

bool WriteWav(const char* path, const AudioData& audio) {
  SF_INFO info{};
  info.samplerate = static_cast<int>(audio.rate > 0.0 ? audio.rate : 44100.0);
  info.channels = 2;
  info.format = SF_FORMAT_WAV |
                (audio.sampleType == SampleType::kFloat64 ? SF_FORMAT_DOUBLE : SF_FORMAT_FLOAT);
  SNDFILE* file = sf_open(path, SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "qvhost: cannot write %s: %s\n", path, sf_strerror(nullptr));
    return false;
  }
  // Samples beyond full scale are kept, not clipped: the file holds exactly
  // what the plug-in produced.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_FALSE);
  const auto frames = static_cast<sf_count_t>(audio.Frames());
  const bool written = sf_writef_double(file, audio.samples.data(), frames) == frames;
  sf_close(file);
  if (!written) std::fprintf(stderr, "qvhost: cannot write %s\n", path);
  return written;
}
