#include "tools/quorvane/riff_chunks.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "tools/quorvane/little_endian.h"

namespace {

bool ReadAt(int descriptor, int64_t offset, void* into, size_t bytes) {
  return pread(descriptor, into, bytes, offset) == static_cast<ssize_t>(bytes);
}

bool Printable(const std::string& id) {
  for (char c : id) {
    if (c < 0x20 || c > 0x7e) return false;
  }
  return true;
}

std::string Damage(const std::string& id, int64_t claimed, int64_t left) {
  char text[160];
  std::snprintf(text, sizeof text, " (damaged: claims %lld bytes, the file holds %lld more)",
                static_cast<long long>(claimed), static_cast<long long>(left));
  return (Printable(id) ? id : std::string("a chunk")) + text;
}

std::string Unreadable(int64_t offset, int64_t bytes) {
  char text[160];
  std::snprintf(text, sizeof text, "%lld bytes at %lld (damaged: no chunk)",
                static_cast<long long>(bytes), static_cast<long long>(offset));
  return text;
}

// Counts the chunks past the most listed, or records one.
void Add(RiffLayout& layout, RiffChunk chunk, size_t& unlisted) {
  if (layout.chunks.size() < kMaxRiffChunks) {
    layout.chunks.push_back(std::move(chunk));
  } else {
    ++unlisted;
  }
}

void SayUnlisted(RiffLayout& layout, size_t unlisted) {
  if (unlisted > 0) {
    layout.damaged.push_back(std::to_string(unlisted) + " chunks past the first " +
                             std::to_string(kMaxRiffChunks));
  }
}

void WalkRiff(int descriptor, int64_t fileBytes, RiffLayout& layout) {
  // RF64's sizes: the data's and those of other chunks too large for 32 bits.
  int64_t dataSize = -1;
  std::map<std::string, std::vector<int64_t>> table;
  size_t unlisted = 0;
  for (int64_t at = 12; at + 8 <= fileBytes;) {
    unsigned char header[8];
    if (!ReadAt(descriptor, at, header, sizeof header)) break;
    const std::string id(reinterpret_cast<const char*>(header), 4);
    if (!Printable(id)) {
      layout.damaged.push_back(Unreadable(at, fileBytes - at));
      break;
    }
    const int64_t left = fileBytes - at - 8;
    int64_t size = ReadLe32(header + 4);
    if (layout.container == RiffContainer::kRf64 && size == 0xFFFFFFFF) {
      auto sizes = table.find(id);
      if (id == "data" && dataSize >= 0) {
        size = dataSize;
      } else if (sizes != table.end() && !sizes->second.empty()) {
        size = sizes->second.front();
        sizes->second.erase(sizes->second.begin());
      }
    }
    if (id == "data") {
      layout.dataOffset = at + 8;
      // A WAV written to a pipe could not give its size: its audio runs to
      // the end of the file, as does a truncated file's.
      if (size == 0 || size == 0xFFFFFFFF || size > left) break;
    } else if (size > left) {
      layout.damaged.push_back(Damage(id, size, left));
      break;
    } else if (id == "ds64" && layout.container == RiffContainer::kRf64 && size >= 28) {
      unsigned char ds64[28];
      if (!ReadAt(descriptor, at + 8, ds64, sizeof ds64)) break;
      dataSize = static_cast<int64_t>(ReadLe64(ds64 + 8) & INT64_MAX);
      const uint32_t entries = ReadLe32(ds64 + 24);
      for (uint32_t i = 0; i < entries && 28 + 12 * (i + 1) <= size && i < kMaxRiffChunks; ++i) {
        unsigned char entry[12];
        if (!ReadAt(descriptor, at + 8 + 28 + 12 * i, entry, sizeof entry)) break;
        table[std::string(reinterpret_cast<const char*>(entry), 4)].push_back(
            static_cast<int64_t>(ReadLe64(entry + 4) & INT64_MAX));
      }
    } else {
      Add(layout, RiffChunk{id, at + 8, size, layout.dataOffset >= 0}, unlisted);
    }
    at += 8 + size + (size & 1);
  }
  SayUnlisted(layout, unlisted);
}

// W64 names chunks by GUID. Those of the WAV family's chunks are the
// chunk's four characters followed by these twelve bytes.
constexpr unsigned char kWaveGuidTail[12] = {0xF3, 0xAC, 0xD3, 0x11, 0x8C, 0xD1,
                                             0x00, 0xC0, 0x4F, 0x8E, 0xDB, 0x8A};
constexpr unsigned char kW64Riff[16] = {'r',  'i',  'f',  'f',  0x2E, 0x91, 0xCF, 0x11,
                                        0xA5, 0xD6, 0x28, 0xDB, 0x04, 0xC1, 0x00, 0x00};

std::string GuidName(const unsigned char* guid) {
  if (std::memcmp(guid + 4, kWaveGuidTail, sizeof kWaveGuidTail) == 0) {
    const std::string fourCc(reinterpret_cast<const char*>(guid), 4);
    if (Printable(fourCc)) return fourCc;
  }
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                ReadLe32(guid), guid[4] | guid[5] << 8, guid[6] | guid[7] << 8, guid[8], guid[9],
                guid[10], guid[11], guid[12], guid[13], guid[14], guid[15]);
  return text;
}

void WalkW64(int descriptor, int64_t fileBytes, RiffLayout& layout) {
  constexpr int64_t kHeader = 24;  // GUID and 64-bit size, which counts them
  size_t unlisted = 0;
  for (int64_t at = 40; at + kHeader <= fileBytes;) {
    unsigned char header[kHeader];
    if (!ReadAt(descriptor, at, header, sizeof header)) break;
    const std::string id = GuidName(header);
    const uint64_t claimed = ReadLe64(header + 16);
    const int64_t left = fileBytes - at - kHeader;
    if (claimed < kHeader) {
      layout.damaged.push_back(Unreadable(at, fileBytes - at));
      break;
    }
    const int64_t size =
        claimed - kHeader > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : claimed - kHeader;
    if (id == "data") {
      layout.dataOffset = at + kHeader;
      if (size > left) break;
    } else if (size > left) {
      layout.damaged.push_back(Damage(id, size, left));
      break;
    } else {
      Add(layout, RiffChunk{id, at + kHeader, size, layout.dataOffset >= 0}, unlisted);
    }
    at += kHeader + ((size + 7) & ~int64_t{7});
  }
  SayUnlisted(layout, unlisted);
}

}  // namespace

RiffLayout WalkRiffChunks(int descriptor, int64_t fileBytes) {
  RiffLayout layout;
  unsigned char start[40];
  if (fileBytes < 12 || !ReadAt(descriptor, 0, start, 12)) return layout;
  if (std::memcmp(start + 8, "WAVE", 4) == 0) {
    if (std::memcmp(start, "RIFF", 4) == 0) {
      layout.container = RiffContainer::kRiff;
    } else if (std::memcmp(start, "RF64", 4) == 0 || std::memcmp(start, "BW64", 4) == 0) {
      layout.container = RiffContainer::kRf64;
    } else {
      return layout;
    }
    WalkRiff(descriptor, fileBytes, layout);
  } else if (fileBytes >= 40 && ReadAt(descriptor, 0, start, 40) &&
             std::memcmp(start, kW64Riff, sizeof kW64Riff) == 0 && GuidName(start + 24) == "wave") {
    layout.container = RiffContainer::kW64;
    WalkW64(descriptor, fileBytes, layout);
  }
  return layout;
}
