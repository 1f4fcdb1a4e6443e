#include "tools/quorvane/flac_comments.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "tools/quorvane/little_endian.h"

namespace {

// A metadata block's header: one byte of last-block flag (0x80) and type,
// then the body's length in 24 bits, big-endian.
constexpr int kBlockHeader = 4;
constexpr int kVorbisComment = 4;
constexpr int kPadding = 1;
constexpr uint32_t kMaxBlockLength = (1u << 24) - 1;

std::string BlockHeader(bool last, int type, uint32_t length) {
  std::string header(kBlockHeader, '\0');
  header[0] = static_cast<char>((last ? 0x80 : 0) | type);
  header[1] = static_cast<char>(length >> 16 & 0xff);
  header[2] = static_cast<char>(length >> 8 & 0xff);
  header[3] = static_cast<char>(length & 0xff);
  return header;
}

// Walks the metadata blocks from the start of `descriptor` to the one of
// `type`: its offset and header. False when there is none.
bool FindBlock(int descriptor, int type, off_t& offset, unsigned char header[kBlockHeader]) {
  char magic[4];
  if (pread(descriptor, magic, 4, 0) != 4 || std::memcmp(magic, "fLaC", 4) != 0) return false;
  offset = 4;
  for (;;) {
    if (pread(descriptor, header, kBlockHeader, offset) != kBlockHeader) return false;
    if ((header[0] & 0x7f) == type) return true;
    if (header[0] & 0x80) return false;
    offset += kBlockHeader + (header[1] << 16 | header[2] << 8 | header[3]);
  }
}

}  // namespace

std::vector<std::string> ReadFlacComments(const std::string& path) {
  std::vector<std::string> comments;
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return comments;
  off_t offset = 0;
  unsigned char header[kBlockHeader];
  if (FindBlock(descriptor, kVorbisComment, offset, header)) {
    const uint32_t length = header[1] << 16 | header[2] << 8 | header[3];
    std::string body(length, '\0');
    if (pread(descriptor, &body[0], length, offset + kBlockHeader) ==
        static_cast<ssize_t>(length)) {
      const auto* bytes = reinterpret_cast<const unsigned char*>(body.data());
      // vendor length and string, comment count, then each length and text
      size_t at = 0;
      auto fits = [&](size_t n) { return at + n <= body.size(); };
      if (fits(4)) {
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
      }
    }
  }
  close(descriptor);
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

bool ReplaceFlacComments(int descriptor, const std::string& body) {
  off_t offset = 0;
  unsigned char header[kBlockHeader];
  if (!FindBlock(descriptor, kVorbisComment, offset, header)) return false;
  const uint32_t room = header[1] << 16 | header[2] << 8 | header[3];
  const bool last = header[0] & 0x80;
  // The new block, then a padding block (header and zeros) over the rest.
  if (body.size() > kMaxBlockLength || body.size() + kBlockHeader > room) return false;
  const auto padding = static_cast<uint32_t>(room - body.size() - kBlockHeader);
  std::string blocks = BlockHeader(false, kVorbisComment, static_cast<uint32_t>(body.size())) +
                       body + BlockHeader(last, kPadding, padding) + std::string(padding, '\0');
  return pwrite(descriptor, blocks.data(), blocks.size(), offset) ==
         static_cast<ssize_t>(blocks.size());
}
