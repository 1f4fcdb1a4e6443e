// The chunks of a WAV, RF64 (or BW64) or W64 file, found by walking their
// headers: where each body lies, never what it holds. Only headers are
// read, so that no size a file claims decides how much memory is taken.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class RiffContainer { kNone, kRiff, kRf64, kW64 };

struct RiffChunk {
  // Four characters for a RIFF chunk and for a W64 chunk named by one
  // (the GUIDs of the WAV family's chunks); a W64 chunk of another GUID
  // has the GUID's text, "{...}", which no WAV can name.
  std::string id;
  int64_t offset = 0;  // of the body, in the file
  int64_t size = 0;    // of the body, pad byte not counted
  bool afterData = false;
};

struct RiffLayout {
  RiffContainer container = RiffContainer::kNone;
  // Every chunk in file order, the audio's own (`data`) and the container's
  // (RF64's `ds64`) left out.
  std::vector<RiffChunk> chunks;
  int64_t dataOffset = -1;  // of the audio; -1 when the file has no data chunk
  // The chunks not read, one line each for the report: damaged headers
  // ("LIST (damaged: claims 4294967040 bytes, the file holds 58 more)"),
  // and those past the most listed.
  std::vector<std::string> damaged;
};

// The most chunks listed: a file of many empty chunks must not decide the
// memory taken either.
constexpr size_t kMaxRiffChunks = 4096;

// Walks the file of `fileBytes` bytes open on `descriptor`. A file that is
// none of the three gives kNone and no chunks.
RiffLayout WalkRiffChunks(int descriptor, int64_t fileBytes);
