#include "tools/quorvane/flac_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/quorvane/file_bytes.h"

namespace {

constexpr size_t kPiece = 1 << 20;
constexpr uint32_t kPaddingBytes = 8192;  // as the flac tool leaves
constexpr int kSeekPointBytes = 18;
constexpr size_t kLongestFrameHeader = 16;

std::string BlockHeader(bool last, int type, uint32_t length) {
  return {static_cast<char>((last ? 0x80 : 0) | type), static_cast<char>(length >> 16 & 0xff),
          static_cast<char>(length >> 8 & 0xff), static_cast<char>(length & 0xff)};
}

void Be64(std::string& out, uint64_t value) {
  for (int i = 7; i >= 0; --i) out += static_cast<char>(value >> (8 * i) & 0xff);
}

uint8_t Crc8(const unsigned char* bytes, size_t size) {
  uint8_t crc = 0;
  for (size_t i = 0; i < size; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = static_cast<uint8_t>(crc & 0x80 ? crc << 1 ^ 0x07 : crc << 1);
  }
  return crc;
}

// FLAC's CRC-16 (polynomial 0x8005, no reflection), a byte at a time.
class Crc16 {
 public:
  Crc16() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t crc = i << 8;
      for (int bit = 0; bit < 8; ++bit) crc = crc & 0x8000 ? crc << 1 ^ 0x8005 : crc << 1;
      table[i] = static_cast<uint16_t>(crc);
    }
  }
  uint16_t Add(uint16_t crc, unsigned char byte) const {
    return static_cast<uint16_t>(crc << 8 ^ table[(crc >> 8) ^ byte]);
  }

 private:
  uint16_t table[256];
};

// Whether `bytes` (of which `available` can be read) start the header of
// frame `number` of a stream of fixed-size blocks: the sync code, valid
// codes, that frame number and a matching CRC-8.
bool FrameHeaderAt(const unsigned char* bytes, size_t available, uint64_t number) {
  if (available < 6 || bytes[0] != 0xFF || bytes[1] != 0xF8) return false;
  const int sizeCode = bytes[2] >> 4, rateCode = bytes[2] & 15;
  if (sizeCode == 0 || rateCode == 15 || (bytes[3] >> 4) > 10 || (bytes[3] & 1)) return false;
  // The frame number, UTF-8 coded.
  size_t at = 4;
  uint64_t value = bytes[at];
  int more = 0;
  if (value >= 0x80) {
    while (more < 7 && (bytes[at] << (more + 1) & 0x80)) ++more;
    if (more == 0 || more > 5) return false;
    value &= 0x3f >> more;
  }
  ++at;
  for (int i = 0; i < more; ++i, ++at) {
    if (at >= available || (bytes[at] & 0xC0) != 0x80) return false;
    value = value << 6 | (bytes[at] & 0x3f);
  }
  if (value != number) return false;
  at += sizeCode == 6 ? 1 : sizeCode == 7 ? 2 : 0;
  at += rateCode == 12 ? 1 : rateCode == 13 || rateCode == 14 ? 2 : 0;
  return at < available && Crc8(bytes, at) == bytes[at];
}

// A cue sheet of no CD with a track at each of `positions` (sorted, at most
// 254, before `totalSamples`), each with one index point at its start,
// then the lead-out track at the end.
std::string CueSheet(const std::vector<uint64_t>& positions, uint64_t totalSamples) {
  std::string sheet(128 + 8 + 259, '\0');  // catalogue, lead-in, flags and reserved
  std::vector<uint64_t> tracks;
  for (uint64_t position : positions) {
    if (position < totalSamples && (tracks.empty() || position > tracks.back()) &&
        tracks.size() < 254)
      tracks.push_back(position);
  }
  sheet += static_cast<char>(tracks.size() + 1);
  auto track = [&](uint64_t offset, int number, bool indexed) {
    Be64(sheet, offset);
    sheet += static_cast<char>(number);
    sheet.append(12 + 14, '\0');  // no ISRC; audio, no pre-emphasis; reserved
    sheet += static_cast<char>(indexed ? 1 : 0);
    if (indexed) {
      Be64(sheet, 0);
      sheet += '\x01';
      sheet.append(3, '\0');
    }
  };
  for (size_t i = 0; i < tracks.size(); ++i) track(tracks[i], static_cast<int>(i + 1), true);
  track(totalSamples, 255, false);
  return sheet;
}

class Assembler {
 public:
  Assembler(int encoded, int target) : encoded(encoded), target(target) {}
  bool Run(const FlacExtras& extras, std::string& error);

 private:
  bool Put(const void* bytes, size_t size);
  bool Put(const std::string& bytes) { return Put(bytes.data(), bytes.size()); }
  bool CopyBlock(int source, const FlacBlock& block);
  bool CopyFrames(int64_t from, int64_t to);
  void NoteFrame(uint64_t number, int64_t offset);

  int encoded, target;
  int64_t written = 0;
  // The stream, from STREAMINFO.
  uint32_t blockSize = 0;
  uint64_t totalSamples = 0;
  // The seek table: the samples it points to, the points made so far, and
  // where it lies.
  std::vector<uint64_t> targets;
  size_t nextTarget = 0;
  std::string points;
  int64_t seekTableAt = -1;
  int failure = 0;
};

bool Assembler::Put(const void* bytes, size_t size) {
  if (!WriteAt(target, bytes, size, written, failure)) return false;
  written += static_cast<int64_t>(size);
  return true;
}

bool Assembler::CopyBlock(int source, const FlacBlock& block) {
  if (!CopyAt(source, block.offset, block.size, target, written, failure)) return false;
  written += block.size;
  return true;
}

void Assembler::NoteFrame(uint64_t number, int64_t offset) {
  // A point for each target in the frame; one for several.
  const uint64_t first = number * blockSize;
  bool inFrame = false;
  for (; nextTarget < targets.size() && targets[nextTarget] < first + blockSize; ++nextTarget)
    inFrame = inFrame || targets[nextTarget] >= first;
  if (!inFrame) return;
  std::string point;
  Be64(point, first);
  Be64(point, static_cast<uint64_t>(offset));
  const uint64_t samples = totalSamples - first < blockSize ? totalSamples - first : blockSize;
  point += static_cast<char>(samples >> 8 & 0xff);
  point += static_cast<char>(samples & 0xff);
  points += point;
}

// Copies the frames, finding where each begins when there is a seek table
// to fill: at a frame's header, with the frame before it ending in its
// CRC-16 (the CRC of all its bytes is then 0).
bool Assembler::CopyFrames(int64_t from, int64_t to) {
  if (targets.empty()) {
    if (!CopyAt(encoded, from, to - from, target, written, failure)) return false;
    written += to - from;
    return true;
  }
  const Crc16 crc16;
  std::vector<unsigned char> buffer(kPiece + kLongestFrameHeader);
  size_t held = 0;      // bytes in the buffer
  int64_t base = 0;     // the frames' offset of buffer[0]
  uint16_t crc = 0;     // of the current frame so far
  uint64_t number = 0;  // of the current frame
  int64_t frameStart = 0;
  NoteFrame(0, 0);
  for (int64_t read = from; read < to || held > 0;) {
    const size_t want = static_cast<size_t>(to - read < int64_t{kPiece} ? to - read : kPiece);
    ssize_t got = 0;
    if (want > 0) {
      got = pread(encoded, buffer.data() + held, want, read);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        failure = got == 0 ? EIO : errno;
        return false;
      }
      if (!Put(buffer.data() + held, static_cast<size_t>(got))) return false;
      read += got;
      held += static_cast<size_t>(got);
    }
    const bool end = read >= to;
    // A header is looked at whole: the last bytes wait for the next piece.
    const size_t done = end ? held : held > kLongestFrameHeader ? held - kLongestFrameHeader : 0;
    for (size_t i = 0; i < done; ++i) {
      const int64_t offset = base + static_cast<int64_t>(i);
      if (crc == 0 && buffer[i] == 0xFF && offset > frameStart &&
          FrameHeaderAt(buffer.data() + i, held - i, number + 1)) {
        ++number;
        frameStart = offset;
        NoteFrame(number, offset);
      }
      crc = crc16.Add(crc, buffer[i]);
    }
    std::memmove(buffer.data(), buffer.data() + done, held - done);
    held -= done;
    base += static_cast<int64_t>(done);
    if (end) held = 0;
  }
  return true;
}

bool Assembler::Run(const FlacExtras& extras, std::string& error) {
  struct stat status;
  if (fstat(encoded, &status) != 0) {
    error = std::string("cannot read the encoded audio: ") + std::strerror(errno);
    return false;
  }
  const FlacLayout layout = WalkFlacBlocks(encoded, status.st_size);
  unsigned char info[34];
  if (!layout.isFlac || layout.framesAt < 0 || layout.blocks.empty() ||
      layout.blocks[0].type != kStreamInfo || layout.blocks[0].size != sizeof info ||
      pread(encoded, info, sizeof info, layout.blocks[0].offset) != sizeof info) {
    error = "libsndfile wrote no FLAC stream it could be read back from";
    return false;
  }
  const uint32_t minBlock = info[0] << 8 | info[1];
  blockSize = info[2] << 8 | info[3];
  totalSamples = static_cast<uint64_t>(info[13] & 0x0f) << 32 |
                 static_cast<uint64_t>(info[14]) << 24 | info[15] << 16 | info[16] << 8 | info[17];
  // Fixed-size blocks, as libsndfile writes them, are what the seek table
  // is made for; without them it holds placeholders only.
  const size_t tableSize = extras.seekSamples.size();
  if (minBlock == blockSize && blockSize > 0) targets = extras.seekSamples;
  std::string head = "fLaC" + BlockHeader(false, kStreamInfo, sizeof info);
  head.append(reinterpret_cast<const char*>(info), sizeof info);
  bool ok = Put(head.data(), head.size());
  if (ok && tableSize > 0) {
    const auto length = static_cast<uint32_t>(tableSize * kSeekPointBytes);
    const std::string header = BlockHeader(false, kSeekTable, length);
    ok = Put(header.data(), header.size());
    seekTableAt = written;
    ok = ok && Put(std::string(length, '\0').data(), length);
  }
  if (ok && !extras.comments.empty()) {
    const std::string block =
        BlockHeader(false, kVorbisComment, static_cast<uint32_t>(extras.comments.size())) +
        extras.comments;
    ok = Put(block.data(), block.size());
  }
  if (ok && !extras.cuePositions.empty()) {
    const std::string sheet = CueSheet(extras.cuePositions, totalSamples);
    ok = Put(BlockHeader(false, kCueSheet, static_cast<uint32_t>(sheet.size())) + sheet);
  }
  for (const FlacBlock& block : extras.kept) {
    const std::string header = BlockHeader(false, block.type, static_cast<uint32_t>(block.size));
    ok = ok && Put(header.data(), header.size()) && CopyBlock(extras.source, block);
  }
  const std::string padding =
      BlockHeader(true, kPadding, kPaddingBytes) + std::string(kPaddingBytes, '\0');
  ok = ok && Put(padding.data(), padding.size());
  ok = ok && CopyFrames(layout.framesAt, status.st_size);
  if (ok && seekTableAt >= 0) {
    // Placeholders, after the points, take the place of targets that share
    // a frame or lie past the audio.
    std::string table = points;
    while (table.size() < tableSize * kSeekPointBytes)
      table += std::string(8, '\xff') + std::string(10, '\0');
    ok = WriteAt(target, table.data(), table.size(), seekTableAt, failure);
  }
  if (!ok) error = std::string("cannot write the FLAC file: ") + std::strerror(failure);
  return ok;
}

}  // namespace

bool AssembleFlac(int encoded, int target, const FlacExtras& extras, std::string& error) {
  return Assembler(encoded, target).Run(extras, error);
}
