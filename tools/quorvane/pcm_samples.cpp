#include "tools/quorvane/pcm_samples.h"

#include <cstring>

namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "a word's bytes are read as this machine holds them");

// The sample at p as a left-justified word, read as four bytes at once: the
// buffer holds kDecodePadding bytes past its last sample.
template <int Bytes, bool Swapped>
uint32_t Word(const unsigned char* p) {
  uint32_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (Swapped) {
    // Most significant byte first: reversed, the sample's bytes are on top.
    return __builtin_bswap32(word) & (~0u << (8 * (4 - Bytes)));
  } else {
    return word << (8 * (4 - Bytes));
  }
}

template <int Bytes, bool Float, bool Swapped>
void Decode(const unsigned char* bytes, int channels, int64_t frames, double* planar,
            size_t stride) {
  const size_t frameBytes = static_cast<size_t>(Bytes) * channels;
  for (int c = 0; c < channels; ++c) {
    const unsigned char* in = bytes + static_cast<size_t>(c) * Bytes;
    double* out = planar + static_cast<size_t>(c) * stride;
    for (int64_t j = 0; j < frames; ++j, in += frameBytes) {
      const uint32_t word = Word<Bytes, Swapped>(in);
      if constexpr (Float) {
        float value;
        std::memcpy(&value, &word, sizeof value);
        out[j] = value;
      } else {
        // Left-justified, so that every width scales by 2^-31, exactly.
        out[j] = static_cast<int32_t>(word) * (1.0 / 2147483648.0);
      }
    }
  }
}

template <int Bytes, bool Float>
void DecodeEither(const unsigned char* bytes, bool swapped, int channels, int64_t frames,
                  double* planar, size_t stride) {
  if (swapped) {
    Decode<Bytes, Float, true>(bytes, channels, frames, planar, stride);
  } else {
    Decode<Bytes, Float, false>(bytes, channels, frames, planar, stride);
  }
}

}  // namespace

PcmEncoding PcmEncodingOf(SNDFILE* file, const SF_INFO& info) {
  PcmEncoding encoding;
  // Containers whose audio is the samples' bytes as they are, nothing
  // between them (FLAC, say, has the same subtypes, compressed).
  switch (info.format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_RF64:
    case SF_FORMAT_W64:
    case SF_FORMAT_AIFF:
    case SF_FORMAT_CAF: break;
    default: return encoding;
  }
  switch (info.format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_16: encoding.bytes = 2; break;
    case SF_FORMAT_PCM_24: encoding.bytes = 3; break;
    case SF_FORMAT_PCM_32: encoding.bytes = 4; break;
    case SF_FORMAT_FLOAT:
      encoding.bytes = 4;
      encoding.isFloat = true;
      break;
    default: return encoding;
  }
  encoding.swapped = sf_command(file, SFC_RAW_DATA_NEEDS_ENDSWAP, nullptr, 0) != 0;
  return encoding;
}

void DecodePlanar(const unsigned char* bytes, const PcmEncoding& encoding, int channels,
                  int64_t frames, double* planar, size_t stride) {
  const bool swapped = encoding.swapped;
  switch (encoding.bytes) {
    case 2: DecodeEither<2, false>(bytes, swapped, channels, frames, planar, stride); break;
    case 3: DecodeEither<3, false>(bytes, swapped, channels, frames, planar, stride); break;
    case 4:
      if (encoding.isFloat) {
        DecodeEither<4, true>(bytes, swapped, channels, frames, planar, stride);
      } else {
        DecodeEither<4, false>(bytes, swapped, channels, frames, planar, stride);
      }
      break;
    default: break;
  }
}
