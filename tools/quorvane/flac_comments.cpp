#include "tools/quorvane/flac_comments.h"

#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "tools/quorvane/little_endian.h"

std::vector<std::string> ReadFlacComments(int descriptor, const FlacLayout& layout) {
  std::vector<std::string> comments;
  for (const FlacBlock& block : layout.blocks) {
    if (block.type != kVorbisComment) continue;
    // A block's 24-bit length bounds what is read.
    std::string body(static_cast<size_t>(block.size), '\0');
    if (pread(descriptor, &body[0], body.size(), block.offset) != block.size) break;
    const auto* bytes = reinterpret_cast<const unsigned char*>(body.data());
    // vendor length and string, comment count, then each length and text
    size_t at = 0;
    auto fits = [&](size_t n) { return at + n <= body.size(); };
    if (!fits(4)) break;
    at += 4 + ReadLe32(bytes);
    uint32_t count = fits(4) ? ReadLe32(bytes + at) : 0;
    at += 4;
    for (; count > 0 && fits(4); --count) {
      const uint32_t size = ReadLe32(bytes + at);
      at += 4;
      if (!fits(size)) break;
      comments.emplace_back(body, at, size);
      at += size;
    }
    break;
  }
  return comments;
}

std::string VorbisCommentBody(const std::vector<std::string>& comments) {
  static const std::string kVendor = "quorvane 1.0";
  std::string body;
  AppendLe32(body, static_cast<uint32_t>(kVendor.size()));
  body += kVendor;
  AppendLe32(body, static_cast<uint32_t>(comments.size()));
  for (const std::string& comment : comments) {
    AppendLe32(body, static_cast<uint32_t>(comment.size()));
    body += comment;
  }
  return body;
}
