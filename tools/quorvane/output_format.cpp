#include "tools/quorvane/output_format.h"

#include <sndfile.h>
#include <strings.h>

namespace {

struct Major {
  const char* extension;
  int format;
  const char* name;
};

constexpr Major kMajors[] = {
    {".wav", SF_FORMAT_WAV, "WAV"},   {".flac", SF_FORMAT_FLAC, "FLAC"},
    {".aif", SF_FORMAT_AIFF, "AIFF"}, {".aiff", SF_FORMAT_AIFF, "AIFF"},
    {".w64", SF_FORMAT_W64, "W64"},   {".caf", SF_FORMAT_CAF, "CAF"},
};

// The extension of the last path component, with its dot; empty when none.
std::string Extension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot);
}

}  // namespace

bool ChooseOutputFormat(const std::string& path, int bits, bool floatOutput, OutputFormat& format,
                        std::string& error) {
  const std::string extension = Extension(path);
  const Major* major = nullptr;
  for (const Major& candidate : kMajors) {
    if (strcasecmp(extension.c_str(), candidate.extension) == 0) major = &candidate;
  }
  if (major == nullptr) {
    error = "cannot tell the format of " + path + ": use .wav, .flac, .aif, .aiff, .w64 or .caf";
    return false;
  }
  const bool flac = major->format == SF_FORMAT_FLAC;
  if (flac && floatOutput) {
    error = "FLAC stores no floats: drop --float or choose another format for " + path;
    return false;
  }
  if (flac && bits > 24) {
    error = "FLAC holds at most 24 bits: use --bits 24 or less, or another format for " + path;
    return false;
  }
  int subtype;
  format.isFloat = floatOutput;
  if (floatOutput) {
    format.containerBits = bits <= 24 ? 32 : 64;
    subtype = bits <= 24 ? SF_FORMAT_FLOAT : SF_FORMAT_DOUBLE;
  } else {
    format.containerBits = bits <= 16 ? 16 : bits <= 24 ? 24 : 32;
    subtype = bits <= 16 ? SF_FORMAT_PCM_16 : bits <= 24 ? SF_FORMAT_PCM_24 : SF_FORMAT_PCM_32;
  }
  format.sndfileFormat = major->format | subtype;
  format.description = std::to_string(format.containerBits) + "-bit " +
                       (floatOutput ? "float " : "PCM ") + major->name;
  return true;
}

int64_t AudioByteLimit(int sndfileFormat) {
  // 4 GiB less 16 MiB: the RIFF or FORM chunk's 32-bit size also counts the
  // headers, tags, markers and coding history written around the audio.
  constexpr int64_t kThirtyTwoBitLimit = (int64_t{1} << 32) - (int64_t{16} << 20);
  switch (sndfileFormat & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_AIFF: return kThirtyTwoBitLimit;
    default: return -1;
  }
}

int FormatForSize(int sndfileFormat, int64_t frames, int64_t frameBytes, bool extensible) {
  const int major = sndfileFormat & SF_FORMAT_TYPEMASK;
  if (major != SF_FORMAT_WAV) return sndfileFormat;
  const int subtype = sndfileFormat & SF_FORMAT_SUBMASK;
  if (frames < 0 || frames > AudioByteLimit(major) / frameBytes) return SF_FORMAT_RF64 | subtype;
  return (extensible ? SF_FORMAT_WAVEX : SF_FORMAT_WAV) | subtype;
}
