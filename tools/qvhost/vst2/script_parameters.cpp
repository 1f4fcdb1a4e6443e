#include <climits>
#include <cstdio>

#include "vst2/dispatcher.h"
#include "tools/qvhost/vst2/dispatch_script.h"
#include "tools/qvhost/vst2/queries.h"
#include "tools/qvhost/report.h"

namespace {

void PrintTexts(LoadedPlugin& plugin, int32_t index) {
  PrintTextQuery(plugin, "effGetParamName", effGetParamName, index, kParamTextBytes);
  PrintTextQuery(plugin, "effGetParamLabel", effGetParamLabel, index, kParamTextBytes);
  PrintTextQuery(plugin, "effGetParamDisplay", effGetParamDisplay, index, kParamTextBytes);
}

void SetParameter(LoadedPlugin& plugin, int32_t index, float value) {
  EffectRecord& record = plugin.Record();
  record.setParameter(&record, index, value);
  std::printf("setParameter index %d value %s\n", static_cast<int>(index),
              FormatFloat(value).c_str());
}

// Sets one value, then reads back the value and the display text.
void SetAndReadBack(LoadedPlugin& plugin, int32_t index, float value) {
  SetParameter(plugin, index, value);
  PrintGetParameter(plugin, index);
  PrintTextQuery(plugin, "effGetParamDisplay", effGetParamDisplay, index, kParamTextBytes);
}

}  // namespace

void RunParameterScript(LoadedPlugin& plugin) {
  const int32_t count = plugin.Record().numParams;
  for (int32_t i = -1; i <= count; ++i) PrintTexts(plugin, i);
  for (int32_t index : {INT32_MIN, -1, count, 1000}) PrintGetParameter(plugin, index);
  for (int32_t index : {INT32_MIN, -1, count}) SetParameter(plugin, index, 0.7f);
  for (int32_t i = 0; i < count; ++i) PrintGetParameter(plugin, i);
  // Values between steps, above 1 and below 0 reach every
  // parameter; each is read back as value and text.
  for (int32_t i = 0; i < count; ++i) {
    for (float value : {0.0f, 0.04f, 0.5f, 0.52f, 1.0f, 1.2f, -0.1f})
      SetAndReadBack(plugin, i, value);
  }
}
