#include "tools/quorvane/input_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Bytes per frame of an uncompressed subtype; 0 for others.
int64_t FrameBytes(const SF_INFO& info) {
  int bytes;
  switch (info.format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW: bytes = 1; break;
    case SF_FORMAT_PCM_16: bytes = 2; break;
    case SF_FORMAT_PCM_24: bytes = 3; break;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT: bytes = 4; break;
    case SF_FORMAT_DOUBLE: bytes = 8; break;
    default: return 0;
  }
  return static_cast<int64_t>(bytes) * info.channels;
}

// The number after `key` on the first line holding it, or -1.
int64_t NumberAfter(const std::string& log, const char* key) {
  const size_t at = log.find(key);
  if (at == std::string::npos) return -1;
  long long value;
  return std::sscanf(log.c_str() + at + std::strlen(key), "%lld", &value) == 1 ? value : -1;
}

constexpr int64_t kW64ChunkHeader = 24;  // a W64 chunk's size counts its GUID and size

}  // namespace

int64_t HeaderFrames(const std::string& log, const SF_INFO& info) {
  const int64_t frameBytes = FrameBytes(info);
  int64_t promised = -1;
  switch (info.format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX: {
      // A WAV written to a pipe cannot go back to give its size: its data
      // chunk says 0 or 0xFFFFFFFF, which promise nothing.
      const int64_t bytes = NumberAfter(log, "\ndata : ");
      if (bytes == 0 || bytes == 0xFFFFFFFF) return -1;
      if (log.find("(should be") != std::string::npos && frameBytes > 0 && bytes > 0) {
        promised = bytes / frameBytes;
      }
      break;
    }
    case SF_FORMAT_AIFF: promised = NumberAfter(log, "read from 'COMM' chunk ("); break;
    case SF_FORMAT_W64:
      if (frameBytes > 0) {
        const int64_t bytes = NumberAfter(log, "\ndata : ");
        if (bytes >= kW64ChunkHeader) promised = (bytes - kW64ChunkHeader) / frameBytes;
      }
      break;
    default: break;
  }
  return promised > info.frames ? promised : info.frames;
}

InputFile::~InputFile() {
  if (file != nullptr) sf_close(file);
}

bool InputFile::Open(const std::string& path, std::string& error) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  if (S_ISDIR(status.st_mode)) {
    error = path + " is a folder, not an audio file";
    return false;
  }
  if (S_ISREG(status.st_mode) && status.st_size == 0) {
    error = path + " is empty";
    return false;
  }
  file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    error = "cannot read " + path + " as audio: " + sf_strerror(nullptr);
    return false;
  }
  if (info.channels < 1 || info.samplerate < 1) {
    error = path + " has no channels or no sample rate";
    return false;
  }
  char log[8192] = {};
  sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
  // Of a stream, libsndfile's frame count is a guess from no length at all
  // (a W64 from a pipe says some 2^61 frames): only the header promises.
  SF_INFO header = info;
  if (!S_ISREG(status.st_mode)) header.frames = 0;
  promised = info.frames == SF_COUNT_MAX ? -1 : HeaderFrames(log, header);
  expected = S_ISREG(status.st_mode) && info.frames != SF_COUNT_MAX ? info.frames : -1;
  encoding = PcmEncodingOf(file, info);
  return true;
}

void InputFile::PrepareReading(int64_t frames) {
  const auto samples = static_cast<size_t>(frames) * static_cast<size_t>(info.channels);
  if (encoding.bytes > 0) {
    bytes.resize(samples * static_cast<size_t>(encoding.bytes) + kDecodePadding);
  } else {
    interleaved.resize(samples);
  }
}

int64_t InputFile::ReadPlanar(double* planar, size_t stride, int64_t frames) {
  const int channels = info.channels;
  if (encoding.bytes > 0) {
    const int64_t frameBytes = static_cast<int64_t>(encoding.bytes) * channels;
    const sf_count_t got = sf_read_raw(file, bytes.data(), frames * frameBytes);
    const int64_t read = got > 0 ? got / frameBytes : 0;
    DecodePlanar(bytes.data(), encoding, channels, read, planar, stride);
    framesRead += read;
    return read;
  }
  const sf_count_t got = sf_readf_double(file, interleaved.data(), frames);
  const int64_t read = got > 0 ? got : 0;
  for (int c = 0; c < channels; ++c) {
    double* out = planar + static_cast<size_t>(c) * stride;
    for (int64_t j = 0; j < read; ++j) out[j] = interleaved[j * channels + c];
  }
  framesRead += read;
  return read;
}

std::string InputFile::ReadError() const {
  return sf_error(file) != SF_ERR_NO_ERROR ? sf_strerror(file) : std::string();
}
