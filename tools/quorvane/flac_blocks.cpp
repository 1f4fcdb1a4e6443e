#include "tools/quorvane/flac_blocks.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int64_t kHeader = 4;  // last-block flag and type, then a 24-bit length

}  // namespace

FlacLayout WalkFlacBlocks(int descriptor, int64_t fileBytes) {
  FlacLayout layout;
  char magic[4];
  if (fileBytes < 4 || pread(descriptor, magic, 4, 0) != 4 || std::memcmp(magic, "fLaC", 4) != 0)
    return layout;
  layout.isFlac = true;
  size_t unlisted = 0;
  for (int64_t at = 4;;) {
    unsigned char header[kHeader];
    if (at + kHeader > fileBytes || pread(descriptor, header, kHeader, at) != kHeader) {
      layout.damaged.push_back("metadata blocks (damaged: the file ends among them)");
      break;
    }
    const int type = header[0] & 0x7f;
    const int64_t size = header[1] << 16 | header[2] << 8 | header[3];
    if (type == 127 || size > fileBytes - at - kHeader) {
      layout.damaged.push_back(FlacBlockName(type) + " (damaged: claims " + std::to_string(size) +
                               " bytes, the file holds " +
                               std::to_string(fileBytes - at - kHeader) + " more)");
      break;
    }
    if (layout.blocks.size() < kMaxFlacBlocks) {
      layout.blocks.push_back(FlacBlock{type, at + kHeader, size});
    } else {
      ++unlisted;
    }
    at += kHeader + size;
    if (header[0] & 0x80) {
      layout.framesAt = at;
      break;
    }
  }
  if (unlisted > 0) {
    layout.damaged.push_back(std::to_string(unlisted) + " blocks past the first " +
                             std::to_string(kMaxFlacBlocks));
  }
  return layout;
}

std::string FlacBlockName(int type) {
  static const char* const kNames[] = {"STREAMINFO",     "PADDING",  "APPLICATION", "SEEKTABLE",
                                       "VORBIS_COMMENT", "CUESHEET", "PICTURE"};
  return type >= 0 && type < 7 ? kNames[type] : "block type " + std::to_string(type);
}

std::vector<std::string> FlacBlocksLeftBehind(const FlacLayout& layout, int descriptor) {
  std::vector<std::string> names;
  for (const FlacBlock& block : layout.blocks) {
    bool saysMore = false;
    if (block.type == kCueSheet) {
      if (CueSheetPositions(descriptor, block, saysMore).empty()) names.push_back("CUESHEET block");
      if (saysMore) names.push_back("CUESHEET catalogue number and ISRCs");
    } else if (block.type != kStreamInfo && block.type != kPadding && block.type != kSeekTable &&
               block.type != kVorbisComment) {
      names.push_back(FlacBlockName(block.type) + " block");
    }
  }
  names.insert(names.end(), layout.damaged.begin(), layout.damaged.end());
  return names;
}

std::vector<uint64_t> CueSheetPositions(int descriptor, const FlacBlock& block, bool& saysMore) {
  // Catalogue (128), lead-in (8), flags and reserved (259), track count;
  // each track: offset (8), number, ISRC (12), flags and reserved (14),
  // index count, then per index point its offset (8), number and 3 reserved.
  constexpr size_t kHead = 396, kTrack = 36, kIndex = 12;
  std::vector<uint64_t> positions;
  if (block.size < static_cast<int64_t>(kHead) || block.size > (1 << 24)) return positions;
  std::string sheet(static_cast<size_t>(block.size), '\0');
  if (pread(descriptor, &sheet[0], sheet.size(), block.offset) != block.size) return positions;
  auto be64 = [&](size_t at) {
    uint64_t value = 0;
    for (size_t b = 0; b < 8; ++b) value = value << 8 | static_cast<unsigned char>(sheet[at + b]);
    return value;
  };
  saysMore = sheet.compare(0, 128, std::string(128, '\0')) != 0;
  const int tracks = static_cast<unsigned char>(sheet[kHead - 1]);
  size_t at = kHead;
  for (int t = 0; t < tracks && at + kTrack <= sheet.size(); ++t) {
    const uint64_t offset = be64(at);
    const int number = static_cast<unsigned char>(sheet[at + 8]);
    saysMore = saysMore || sheet.compare(at + 9, 12, std::string(12, '\0')) != 0;
    const int indices = static_cast<unsigned char>(sheet[at + kTrack - 1]);
    at += kTrack;
    for (int i = 0; i < indices && at + kIndex <= sheet.size(); ++i, at += kIndex) {
      if (number != 170 && number != 255) positions.push_back(offset + be64(at));
    }
  }
  std::sort(positions.begin(), positions.end());
  return positions;
}

std::vector<uint64_t> SeekTargets(int descriptor, const FlacBlock& block) {
  constexpr size_t kPoint = 18;  // sample number, offset, frame samples
  std::vector<uint64_t> targets;
  std::vector<unsigned char> points(kPoint * 4096);
  for (int64_t at = 0; at < block.size;) {
    const auto want = static_cast<size_t>(
        block.size - at < static_cast<int64_t>(points.size()) ? block.size - at : points.size());
    const ssize_t got = pread(descriptor, points.data(), want, block.offset + at);
    if (got < static_cast<ssize_t>(kPoint)) break;
    for (size_t p = 0; p + kPoint <= static_cast<size_t>(got); p += kPoint) {
      uint64_t sample = 0;
      for (size_t b = 0; b < 8; ++b) sample = sample << 8 | points[p + b];
      if (sample != UINT64_MAX && (targets.empty() || sample > targets.back()))
        targets.push_back(sample);
    }
    at += got / static_cast<ssize_t>(kPoint) * static_cast<ssize_t>(kPoint);
  }
  return targets;
}
