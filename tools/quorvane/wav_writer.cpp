#include "tools/quorvane/wav_writer.h"

#include <emmintrin.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "tools/quorvane/file_bytes.h"
#include "tools/quorvane/little_endian.h"

namespace {

constexpr int64_t kRiffLimit = 0xFFFFFFFF;
constexpr int64_t kDs64Body = 28;  // RIFF size, data size, frames, an empty table

std::string Le32Bytes(uint32_t value) {
  std::string out;
  AppendLe32(out, value);
  return out;
}
uint32_t Size32(int64_t size) {
  return size > kRiffLimit ? 0xFFFFFFFF : static_cast<uint32_t>(size);
}

int64_t Padded(int64_t size) { return size + (size & 1); }

// The body of the format chunk.
std::string FormatBody(const WavShape& shape) {
  constexpr uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;
  const uint16_t tag = shape.isFloat ? kFloat : kPcm;
  const uint32_t blockAlign = static_cast<uint32_t>(shape.channels) * shape.containerBits / 8;
  std::string body;
  AppendLe16(body, shape.channelMask != 0 ? kExtensible : tag);
  AppendLe16(body, static_cast<uint32_t>(shape.channels));
  AppendLe32(body, static_cast<uint32_t>(shape.rate));
  AppendLe32(body, static_cast<uint32_t>(shape.rate) * blockAlign);
  AppendLe16(body, blockAlign);
  AppendLe16(body, static_cast<uint32_t>(shape.containerBits));
  if (shape.channelMask != 0) {
    AppendLe16(body, 22);  // what follows
    AppendLe16(body, static_cast<uint32_t>(shape.containerBits));
    AppendLe32(body, shape.channelMask);
    // The sub-format GUID: the format tag, then the fixed tail.
    static const unsigned char kTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    AppendLe16(body, tag);
    body.append(reinterpret_cast<const char*>(kTail), sizeof kTail);
  } else if (shape.isFloat) {
    AppendLe16(body, 0);  // no extension
  }
  return body;
}

}  // namespace

ChunkSource ChunkSource::Held(std::string id, std::string bytes) {
  ChunkSource chunk;
  chunk.id = std::move(id);
  chunk.bytes = std::move(bytes);
  return chunk;
}

ChunkSource ChunkSource::InFile(std::string id, int descriptor, int64_t offset, int64_t size) {
  ChunkSource chunk;
  chunk.id = std::move(id);
  chunk.descriptor = descriptor;
  chunk.offset = offset;
  chunk.size = size;
  return chunk;
}

bool WavWriter::Put(const void* bytes, size_t size, int64_t at) {
  return WriteAt(descriptor, bytes, size, at, failure);
}

bool WavWriter::PutChunk(const ChunkSource& chunk, int64_t& at) {
  const int64_t size = chunk.Size();
  std::string header = chunk.id.substr(0, 4);
  header.resize(4, ' ');
  AppendLe32(header, Size32(size));
  if (!Put(header.data(), header.size(), at)) return false;
  at += 8;
  if (chunk.descriptor < 0) {
    if (!Put(chunk.bytes.data(), chunk.bytes.size(), at)) return false;
  } else if (!CopyAt(chunk.descriptor, chunk.offset, size, descriptor, at, failure)) {
    return false;
  }
  at += size;
  if (size & 1) {
    if (!Put("", 1, at)) return false;
    ++at;
  }
  return true;
}

std::string WavWriter::Reason(const char* what) const {
  return std::string(what) + ": " + std::strerror(failure);
}

bool WavWriter::Begin(int descriptor_, const WavShape& shape_,
                      const std::vector<ChunkSource>& before,
                      const std::vector<ChunkSource>& after_, std::string& error) {
  descriptor = descriptor_;
  shape = shape_;
  after = after_;
  peaks.assign(static_cast<size_t>(shape.channels), 0.0);
  peakFrames.assign(static_cast<size_t>(shape.channels), 0);
  std::vector<ChunkSource> own = {ChunkSource::Held("fmt ", FormatBody(shape))};
  if (shape.isFloat || shape.frameCount)
    own.push_back(ChunkSource::Held("fact", std::string(4, '\0')));
  if (shape.isFloat || shape.channelPeaks) {
    own.push_back(
        ChunkSource::Held("PEAK", std::string(8 + 8 * static_cast<size_t>(shape.channels), '\0')));
  }
  // Whether the sizes fit 32 bits is known now when the audio's length is.
  int64_t total = 12 + 8;  // the header and the data chunk's
  const std::vector<ChunkSource>* lists[] = {&own, &before, &after};
  for (const std::vector<ChunkSource>* list : lists) {
    for (const ChunkSource& chunk : *list) total += 8 + Padded(chunk.Size());
  }
  const int64_t frameBytes = static_cast<int64_t>(shape.channels) * shape.containerBits / 8;
  rf64 = shape.expectedFrames >= 0 &&
         total + Padded(shape.expectedFrames * frameBytes) - 8 > kRiffLimit;
  roomForRf64 = shape.expectedFrames < 0;

  std::string header = rf64 ? "RF64" : "RIFF";
  AppendLe32(header, 0);  // filled in by Finish
  header += "WAVE";
  if (rf64 || roomForRf64) {
    header += rf64 ? "ds64" : "JUNK";
    AppendLe32(header, kDs64Body);
    header.append(kDs64Body, '\0');
  }
  int64_t at = 0;
  if (!Put(header.data(), header.size(), at)) {
    error = Reason("cannot write the header");
    return false;
  }
  at += static_cast<int64_t>(header.size());
  for (const ChunkSource& chunk : own) {
    if (chunk.id == "fact") factAt = at + 8;
    if (chunk.id == "PEAK") peakAt = at + 8;
    if (!PutChunk(chunk, at)) {
      error = Reason("cannot write the header");
      return false;
    }
  }
  for (const ChunkSource& chunk : before) {
    if (!PutChunk(chunk, at)) {
      error = Reason(("cannot keep the " + chunk.id + " chunk").c_str());
      return false;
    }
  }
  dataAt = at;
  const std::string data = "data" + Le32Bytes(0);
  if (!Put(data.data(), data.size(), at)) {
    error = Reason("cannot write the header");
    return false;
  }
  return true;
}

void WavWriter::NotePeak(int channel, double magnitude, int64_t frame) {
  if (magnitude > peaks[static_cast<size_t>(channel)]) {
    peaks[static_cast<size_t>(channel)] = magnitude;
    peakFrames[static_cast<size_t>(channel)] = frame;
  }
}

bool WavWriter::PutAudio(size_t bytes) {
  if (!Put(encoded.data(), bytes, dataAt + 8 + audioBytes)) return false;
  audioBytes += static_cast<int64_t>(bytes);
  return true;
}

bool WavWriter::WriteInts(const int32_t* words, int64_t count) {
  static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
                "samples are stored as the host holds them");
  const auto bytes = static_cast<size_t>(shape.containerBits / 8);
  const size_t samples = static_cast<size_t>(count) * static_cast<size_t>(shape.channels);
  encoded.resize(samples * bytes);
  unsigned char* out = encoded.data();
  // The words are left-justified: a container keeps their top bytes.
  size_t i = 0;
  if (bytes == 2) {
    // Eight at a time: their top halves, packed (they are in range, so the
    // packing's saturation never acts).
    for (; i + 8 <= samples; i += 8) {
      const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(words + i));
      const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(words + i + 4));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i),
                       _mm_packs_epi32(_mm_srai_epi32(low, 16), _mm_srai_epi32(high, 16)));
    }
    for (; i < samples; ++i) {
      const auto sample = static_cast<int16_t>(words[i] >> 16);
      std::memcpy(out + 2 * i, &sample, 2);
    }
  } else if (bytes == 3) {
    // Four at a time: their top three bytes make three 32-bit words.
    for (; i + 4 <= samples; i += 4) {
      uint32_t top[4];
      for (int k = 0; k < 4; ++k) top[k] = static_cast<uint32_t>(words[i + k]) >> 8;
      const uint32_t packed[3] = {top[0] | top[1] << 24, top[1] >> 8 | top[2] << 16,
                                  top[2] >> 16 | top[3] << 8};
      std::memcpy(out + 3 * i, packed, 12);
    }
    for (; i < samples; ++i) {
      const auto word = static_cast<uint32_t>(words[i]);
      out[3 * i] = static_cast<unsigned char>(word >> 8);
      out[3 * i + 1] = static_cast<unsigned char>(word >> 16);
      out[3 * i + 2] = static_cast<unsigned char>(word >> 24);
    }
  } else {
    std::memcpy(out, words, samples * 4);
  }
  if (peakAt >= 0) {
    const auto channels = static_cast<size_t>(shape.channels);
    for (int64_t f = 0; f < count; ++f) {
      for (size_t c = 0; c < channels; ++c) {
        const double word = words[static_cast<size_t>(f) * channels + c];
        NotePeak(static_cast<int>(c), std::fabs(word) / 2147483648.0, frames + f);
      }
    }
  }
  if (!PutAudio(samples * bytes)) return false;
  frames += count;
  return true;
}

bool WavWriter::WriteDoubles(const double* samples, int64_t count) {
  const size_t total = static_cast<size_t>(count) * static_cast<size_t>(shape.channels);
  const size_t bytes = shape.containerBits == 64 ? 8 : 4;
  encoded.resize(total * bytes);
  const auto channels = static_cast<size_t>(shape.channels);
  for (size_t i = 0; i < total; ++i) {
    if (bytes == 8) {
      std::memcpy(encoded.data() + 8 * i, &samples[i], 8);
    } else {
      const float value = static_cast<float>(samples[i]);
      std::memcpy(encoded.data() + 4 * i, &value, 4);
    }
  }
  for (int64_t f = 0; f < count; ++f) {
    for (size_t c = 0; c < channels; ++c)
      NotePeak(static_cast<int>(c), std::fabs(samples[static_cast<size_t>(f) * channels + c]),
               frames + f);
  }
  if (!PutAudio(total * bytes)) return false;
  frames += count;
  return true;
}

bool WavWriter::Finish(std::string& error) {
  int64_t at = dataAt + 8 + audioBytes;
  if ((audioBytes & 1) && !Put("", 1, at)) {
    error = Reason("cannot write the audio");
    return false;
  }
  at += audioBytes & 1;
  for (const ChunkSource& chunk : after) {
    if (!PutChunk(chunk, at)) {
      error = Reason(("cannot keep the " + chunk.id + " chunk").c_str());
      return false;
    }
  }
  if (ftruncate(descriptor, at) != 0) {
    failure = errno;
    error = Reason("cannot write the sizes");
    return false;
  }
  const int64_t riffSize = at - 8;
  if (!rf64 && (riffSize > kRiffLimit || audioBytes > kRiffLimit)) {
    if (!roomForRf64) {
      failure = EFBIG;
      error = Reason("cannot write the sizes");
      return false;
    }
    rf64 = true;
  }
  std::string sizes;
  if (rf64) {
    sizes = "RF64" + Le32Bytes(0xFFFFFFFF) + "WAVE" + "ds64" + Le32Bytes(kDs64Body);
    AppendLe64(sizes, static_cast<uint64_t>(riffSize));
    AppendLe64(sizes, static_cast<uint64_t>(audioBytes));
    AppendLe64(sizes, static_cast<uint64_t>(frames));
    AppendLe32(sizes, 0);
  } else {
    sizes = Le32Bytes(static_cast<uint32_t>(riffSize));
  }
  bool ok = Put(sizes.data(), sizes.size(), rf64 ? 0 : 4);
  const std::string dataSize = Le32Bytes(Size32(rf64 ? kRiffLimit + 1 : audioBytes));
  ok = ok && Put(dataSize.data(), 4, dataAt + 4);
  if (factAt >= 0) {
    const std::string count = Le32Bytes(Size32(rf64 ? kRiffLimit + 1 : frames));
    ok = ok && Put(count.data(), 4, factAt);
  }
  if (peakAt >= 0) {
    std::string peak;
    AppendLe32(peak, 1);  // version
    AppendLe32(peak, 0);  // no time stamp: the same input gives the same file
    for (size_t c = 0; c < peaks.size(); ++c) {
      const float value = static_cast<float>(peaks[c]);
      uint32_t bits;
      std::memcpy(&bits, &value, 4);
      AppendLe32(peak, bits);
      AppendLe32(peak, Size32(peakFrames[c]));
    }
    ok = ok && Put(peak.data(), peak.size(), peakAt);
  }
  if (!ok) error = Reason("cannot write the sizes");
  return ok;
}
