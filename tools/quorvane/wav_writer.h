// Writes a WAV file, or an RF64 one when its sizes need 64 bits, around
// audio it is given as it streams: the format, the chunks to keep before
// and after the audio, in the order given, then the sizes once the audio
// ends. Chunks copied from another file go through in pieces, so that their
// size never decides the memory taken.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/quorvane/audio_sink.h"

// A chunk to write: its four-character id and its body, either held here or
// lying in a file.
struct ChunkSource {
  std::string id;
  std::string bytes;    // the body, when held
  int descriptor = -1;  // else the file holding it,
  int64_t offset = 0;   // where,
  int64_t size = 0;     // and how long

  static ChunkSource Held(std::string id, std::string bytes);
  static ChunkSource InFile(std::string id, int descriptor, int64_t offset, int64_t size);
  int64_t Size() const { return descriptor >= 0 ? size : static_cast<int64_t>(bytes.size()); }
};

struct WavShape {
  int channels = 0;
  int rate = 0;
  int containerBits = 16;  // 16, 24 or 32 for integers, 32 or 64 for floats
  bool isFloat = false;
  uint32_t channelMask = 0;     // WAVE_FORMAT_EXTENSIBLE's speaker bits; 0 for a plain WAV
  int64_t expectedFrames = -1;  // -1 when not known before the end
  // A frame count (`fact`) and the peak of each channel (`PEAK`) of the
  // new audio; a float file has both whatever these say.
  bool frameCount = false;
  bool channelPeaks = false;
};

class WavWriter : public AudioSink {
 public:
  // Writes everything before the audio on `descriptor`, from its start.
  // `before` and `after` are the chunks around the audio. A file whose length is
  // not known starts as a WAV with room to become RF64. False, with the
  // reason, when writing fails.
  [[nodiscard]] bool Begin(int descriptor, const WavShape& shape,
                           const std::vector<ChunkSource>& before,
                           const std::vector<ChunkSource>& after, std::string& error);

  // Appends interleaved frames: left-justified integers, or samples for a
  // float file.
  bool WriteInts(const int32_t* words, int64_t frames) override;
  bool WriteDoubles(const double* samples, int64_t frames) override;
  std::string WriteError() const override { return Reason("cannot write the audio"); }

  // Writes the chunks after the audio and the sizes. False, with the reason,
  // when writing fails.
  [[nodiscard]] bool Finish(std::string& error);

  // Whether the file is RF64, as Finish leaves it.
  bool Rf64() const { return rf64; }

 private:
  bool Put(const void* bytes, size_t size, int64_t at);
  bool PutChunk(const ChunkSource& chunk, int64_t& at);
  bool PutAudio(size_t bytes);
  void NotePeak(int channel, double magnitude, int64_t frame);
  std::string Reason(const char* what) const;

  int descriptor = -1;
  WavShape shape;
  std::vector<ChunkSource> after;
  bool rf64 = false;
  bool roomForRf64 = false;  // a JUNK chunk that a ds64 can take the place of
  int64_t factAt = -1;       // body offsets of the chunks Finish fills
  int64_t peakAt = -1;
  int64_t dataAt = 0;  // of the data chunk's header
  int64_t audioBytes = 0;
  int64_t frames = 0;
  std::vector<double> peaks;        // largest |sample| per channel, full scale 1
  std::vector<int64_t> peakFrames;  // the frame of each
  std::vector<unsigned char> encoded;
  int failure = 0;  // errno of the last failure
};
