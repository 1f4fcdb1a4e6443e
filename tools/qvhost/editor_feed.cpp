#include "tools/qvhost/editor_feed.h"

EditorFeed::EditorFeed(const AudioData& audio, double seconds, int32_t block)
    : frames(audio.Frames()), rate(audio.rate > 0.0 ? audio.rate : 44100.0), block(block) {
  const auto wanted = static_cast<size_t>(seconds * rate);
  if (wanted > 0 && wanted < frames) frames = wanted;
  left.resize(frames);
  right.resize(frames);
  for (size_t i = 0; i < frames; ++i) {
    left[i] = static_cast<float>(audio.samples[2 * i]);
    right[i] = static_cast<float>(audio.samples[2 * i + 1]);
  }
  outLeft.resize(static_cast<size_t>(block));
  outRight.resize(static_cast<size_t>(block));
}

bool EditorFeed::Advance(EffectRecord& record, double elapsedMs) {
  const auto due = static_cast<size_t>(elapsedMs * rate / 1000.0);
  while (next < frames && next < due) {
    const size_t remaining = frames - next;
    const auto n = static_cast<int32_t>(remaining < static_cast<size_t>(block) ? remaining : block);
    float* in[2] = {left.data() + next, right.data() + next};
    float* out[2] = {outLeft.data(), outRight.data()};
    record.processReplacing(&record, in, out, n);
    next += static_cast<size_t>(n);
  }
  return next < frames;
}
