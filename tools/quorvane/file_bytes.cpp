#include "tools/quorvane/file_bytes.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

bool WriteAt(int descriptor, const void* bytes, size_t size, int64_t at, int& failure) {
  const auto* from = static_cast<const char*>(bytes);
  while (size > 0) {
    const ssize_t put = pwrite(descriptor, from, size, at);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      failure = put == 0 ? EIO : errno;
      return false;
    }
    from += put;
    size -= static_cast<size_t>(put);
    at += put;
  }
  return true;
}

bool CopyAt(int from, int64_t offset, int64_t size, int to, int64_t at, int& failure) {
  constexpr int64_t kPiece = 1 << 20;
  std::vector<char> piece(static_cast<size_t>(size < kPiece ? size : kPiece));
  for (int64_t done = 0; done < size;) {
    const auto want = static_cast<size_t>(size - done < kPiece ? size - done : kPiece);
    const ssize_t got = pread(from, piece.data(), want, offset + done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      failure = got == 0 ? EIO : errno;
      return false;
    }
    if (!WriteAt(to, piece.data(), static_cast<size_t>(got), at + done, failure)) return false;
    done += got;
  }
  return true;
}
