#include "tools/qvhost/vst2/validate_host.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "vst2/dispatcher.h"
#include "tools/qvhost/vst2/guarded_channels.h"
#include "tools/qvhost/vst2/guarded_text.h"
#include "tools/qvhost/vst2/queries.h"

void StartAudio(LoadedPlugin& plugin, float rate, int32_t block) {
  plugin.Dispatch(effOpen);
  plugin.Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  plugin.Dispatch(effSetBlockSize, 0, block);
  plugin.Dispatch(effMainsChanged, 0, 1);
}

std::string TextAnswer(LoadedPlugin& plugin, int32_t opcode, int32_t index, size_t capacity,
                       Findings& findings) {
  GuardedText text(capacity);
  plugin.Dispatch(opcode, index, 0, text.Data());
  const std::string answer = text.Text();
  if (answer.size() >= capacity || text.Overrun() > 0) {
    findings.Add(Format("opcode %d index %d: %s", static_cast<int>(opcode), static_cast<int>(index),
                        text.Describe().c_str()));
  }
  return answer;
}

std::string ParamDisplay(LoadedPlugin& plugin, int32_t index, Findings& findings) {
  return TextAnswer(plugin, effGetParamDisplay, index, kParamTextBytes, findings);
}

float GetParam(LoadedPlugin& plugin, int32_t index) {
  EffectRecord& record = plugin.Record();
  return record.getParameter(&record, index);
}

void SetParam(LoadedPlugin& plugin, int32_t index, float value) {
  EffectRecord& record = plugin.Record();
  record.setParameter(&record, index, value);
}

double GridScale(LoadedPlugin& plugin, Findings& findings) {
  const std::string text = ParamDisplay(plugin, kTargetBitsParam, findings);
  char* end = nullptr;
  const long bits = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || bits < 1 || bits > 32) {
    findings.Add("target bits display \"" + text + "\" is no word length");
    return 0.0;
  }
  return std::ldexp(1.0, static_cast<int>(bits) - 1);
}

bool OnGrid(double sample, double scale) {
  if (!std::isfinite(sample) || std::fpclassify(sample) == FP_SUBNORMAL) return false;
  const double steps = sample * scale;
  return steps == std::floor(steps);
}

float RandomNormalised(std::mt19937& random) {
  switch (random() % 8) {
    case 0: return 0.0f;
    case 1: return 1.0f;
    default: return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
  }
}

void ProcessAndCheck(LoadedPlugin& plugin, const std::vector<float>& input, double scale,
                     Findings& findings) {
  const auto frames = static_cast<int32_t>(input.size());
  GuardedChannels<float> inputs(2, frames);
  GuardedChannels<float> outputs(2, frames);
  for (int32_t c = 0; c < 2; ++c) std::copy(input.begin(), input.end(), inputs.Channel(c));
  EffectRecord& record = plugin.Record();
  record.processReplacing(&record, inputs.Pointers(), outputs.Pointers(), frames);
  int32_t channel = 0, frame = 0;
  if (!outputs.GuardsIntact(&channel, &frame)) {
    findings.Add(Format("block of %d frames: guard sample %d of channel %d overwritten",
                        static_cast<int>(frames), static_cast<int>(frame),
                        static_cast<int>(channel)));
  }
  for (int32_t c = 0; c < 2; ++c) {
    for (int32_t j = 0; j < frames; ++j) {
      const double y = outputs.Channel(c)[j];
      if (!OnGrid(y, scale)) {
        findings.Add(Format("channel %d frame %d: %.17g is off the grid of 1/%.0f",
                            static_cast<int>(c), static_cast<int>(j), y, scale));
      }
    }
  }
}

std::vector<float> SineBlock(int32_t frames, int64_t phase) {
  std::vector<float> block(static_cast<size_t>(frames));
  for (int32_t j = 0; j < frames; ++j) {
    block[static_cast<size_t>(j)] =
        static_cast<float>(0.4 * std::sin(0.03 * static_cast<double>(phase + j)));
  }
  return block;
}
