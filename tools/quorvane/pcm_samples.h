// Samples the tool reads from the file's bytes itself, without libsndfile's
// conversion to interleaved doubles and a second pass to take the channels
// apart: plain PCM of 16, 24 or 32 bits and 32-bit floats, the encodings of
// nearly every master. The values are exactly libsndfile's: integers scaled
// by 2^-(bits - 1), floats widened.
#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>

struct PcmEncoding {
  int bytes = 0;         // per sample; 0: not one of these encodings
  bool isFloat = false;  // a 32-bit float rather than an integer
  bool swapped = false;  // stored in the other byte order than this machine's
};

// How `file`'s samples are stored, when the tool can read them itself: in a
// WAV, RF64, W64, AIFF or CAF.
PcmEncoding PcmEncodingOf(SNDFILE* file, const SF_INFO& info);

// Bytes a buffer handed to DecodePlanar holds past its last sample: each
// sample is read as a 32-bit word.
constexpr size_t kDecodePadding = 3;

// `frames` frames of `channels` interleaved samples in that encoding, to
// planar doubles: channel c's from planar + c * stride.
void DecodePlanar(const unsigned char* bytes, const PcmEncoding& encoding, int channels,
                  int64_t frames, double* planar, size_t stride);
