#include "tools/quorvane/sample_counts.h"

#include <strings.h>

#include <cmath>
#include <cstdlib>

#include "tools/quorvane/little_endian.h"

namespace {

// The time reference of a bext body, two 32-bit halves after the fixed
// texts (256 + 32 + 32 + 10 + 8 bytes).
constexpr size_t kTimeReference = 338;

uint32_t Scaled32(uint32_t position, double ratio) {
  const int64_t scaled = ScaledPosition(position, ratio);
  return scaled > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(scaled);
}

uint32_t Le32At(const std::string& body, size_t at) {
  return ReadLe32(reinterpret_cast<const unsigned char*>(body.data() + at));
}

void PutLe32At(std::string& body, size_t at, uint32_t value) {
  std::string bytes;
  AppendLe32(bytes, value);
  body.replace(at, 4, bytes);
}

// The 32-bit field at `at` of `body`, scaled, where the body holds it.
void ScaleLe32At(std::string& body, size_t at, double ratio) {
  if (at + 4 <= body.size()) PutLe32At(body, at, Scaled32(Le32At(body, at), ratio));
}

}  // namespace

int64_t ScaledPosition(int64_t position, double ratio) {
  return std::llround(static_cast<double>(position) * ratio);
}

void ScaleSampleCounts(FileMetadata& metadata, double ratio) {
  BroadcastInfo& b = metadata.broadcast;
  const auto reference = static_cast<int64_t>(static_cast<uint64_t>(b.time_reference_high) << 32 |
                                              b.time_reference_low);
  const auto scaled = static_cast<uint64_t>(ScaledPosition(reference, ratio));
  b.time_reference_low = static_cast<uint32_t>(scaled);
  b.time_reference_high = static_cast<uint32_t>(scaled >> 32);
  for (uint32_t i = 0; i < metadata.cues.cue_count && i < 1000; ++i) {
    SF_CUE_POINT& cue = metadata.cues.cue_points[i];
    cue.position = Scaled32(cue.position, ratio);
    cue.sample_offset = Scaled32(cue.sample_offset, ratio);
  }
  for (int i = 0; i < metadata.instrument.loop_count && i < 16; ++i) {
    metadata.instrument.loops[i].start = Scaled32(metadata.instrument.loops[i].start, ratio);
    metadata.instrument.loops[i].end = Scaled32(metadata.instrument.loops[i].end, ratio);
  }
  for (std::string& comment : metadata.flacComments) {
    constexpr size_t kKey = sizeof "time_reference=" - 1;
    if (comment.size() <= kKey || strncasecmp(comment.c_str(), "time_reference=", kKey) != 0)
      continue;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(comment.c_str() + kKey, &end, 10);
    if (end != nullptr && *end == '\0') {
      comment = comment.substr(0, kKey) +
                std::to_string(ScaledPosition(static_cast<int64_t>(value), ratio));
    }
  }
}

bool CountsSamples(const std::string& id, const std::string& listType) {
  return id == "bext" || id == "cue " || id == "smpl" || (id == "LIST" && listType == "adtl") ||
         id == "iXML" || id == "cart";
}

ChunkAtRate ChunkAtNewRate(const std::string& id, const std::string& listType, std::string& body,
                           double ratio, int rate) {
  if (id == "bext") {
    if (body.size() < kTimeReference + 8) return ChunkAtRate::kUntouched;
    const uint64_t reference = static_cast<uint64_t>(Le32At(body, kTimeReference + 4)) << 32 |
                               Le32At(body, kTimeReference);
    const auto scaled =
        static_cast<uint64_t>(ScaledPosition(static_cast<int64_t>(reference), ratio));
    PutLe32At(body, kTimeReference, static_cast<uint32_t>(scaled));
    PutLe32At(body, kTimeReference + 4, static_cast<uint32_t>(scaled >> 32));
    return ChunkAtRate::kConverted;
  }
  if (id == "cue ") {
    // A count, then points of 24 bytes: id, position, chunk, chunk start,
    // block start, sample offset.
    for (size_t at = 4; at + 24 <= body.size(); at += 24) {
      ScaleLe32At(body, at + 4, ratio);
      ScaleLe32At(body, at + 20, ratio);
    }
    return ChunkAtRate::kConverted;
  }
  if (id == "smpl") {
    // 36 bytes with the sample period (ns) third, then loops of 24 bytes:
    // id, type, start, end, fraction, play count.
    if (body.size() >= 12) PutLe32At(body, 8, static_cast<uint32_t>(std::lround(1e9 / rate)));
    for (size_t at = 36; at + 24 <= body.size(); at += 24) {
      ScaleLe32At(body, at + 8, ratio);
      ScaleLe32At(body, at + 12, ratio);
    }
    return ChunkAtRate::kConverted;
  }
  if (id == "LIST" && listType == "adtl") {
    // Sub-chunks after the type; a ltxt's sample length follows its cue id.
    for (size_t at = 4; at + 8 <= body.size();) {
      const size_t length = Le32At(body, at + 4);
      if (length > body.size() - at - 8) break;
      if (body.compare(at, 4, "ltxt") == 0 && length >= 8) ScaleLe32At(body, at + 12, ratio);
      at += 8 + length + (length & 1);
    }
    return ChunkAtRate::kConverted;
  }
  if (id == "iXML" || id == "cart") return ChunkAtRate::kCannot;
  return ChunkAtRate::kUntouched;
}
