#include "tools/qvhost/vst2/queries.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "vst2/dispatcher.h"
#include "tools/qvhost/vst2/guarded_text.h"
#include "tools/qvhost/report.h"

namespace {
constexpr unsigned char kPinFill = 0xa5;
}  // namespace

void PrintAnswer(const char* name, intptr_t answer) {
  std::printf("%s -> %s\n", name, FormatAnswer(answer).c_str());
}

void PrintTextQuery(LoadedPlugin& plugin, const char* name, int32_t opcode, int32_t index,
                    size_t capacity) {
  GuardedText text(capacity);
  const intptr_t answer = plugin.Dispatch(opcode, index, 0, text.Data());
  std::printf("%s index %d -> %s %s\n", name, static_cast<int>(index), FormatAnswer(answer).c_str(),
              text.Describe().c_str());
}

void PrintCanDo(LoadedPlugin& plugin, const char* text) {
  const intptr_t answer = plugin.Dispatch(effCanDo, 0, 0, const_cast<char*>(text));
  std::printf("effCanDo %s -> %s\n", QuoteText(text).c_str(), FormatAnswer(answer).c_str());
}

namespace {

// True when `count` bytes from `bytes` all still hold the fill.
bool StillFilled(const void* bytes, size_t count) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < count; ++i) {
    if (p[i] != kPinFill) return false;
  }
  return true;
}

}  // namespace

void PrintPinQuery(LoadedPlugin& plugin, const char* name, int32_t opcode, int32_t index) {
  PinProperties pin;
  std::memset(&pin, kPinFill, sizeof pin);
  const intptr_t answer = plugin.Dispatch(opcode, index, 0, &pin);
  std::printf("%s index %d -> %s", name, static_cast<int>(index), FormatAnswer(answer).c_str());
  if (StillFilled(&pin, sizeof pin)) {
    std::printf(" untouched\n");
    return;
  }
  const char* begin = pin.label;
  const char* end = static_cast<const char*>(std::memchr(begin, 0, sizeof pin.label));
  const std::string label(begin, end ? end : begin + sizeof pin.label);
  const size_t restOffset = offsetof(PinProperties, arrangementType);
  const bool restUntouched =
      StillFilled(reinterpret_cast<const char*>(&pin) + restOffset, sizeof pin - restOffset);
  std::printf(" label %s flags %s rest %s\n", QuoteText(label).c_str(),
              FormatAnswer(pin.flags).c_str(), restUntouched ? "untouched" : "CHANGED");
}

void PrintGetParameter(LoadedPlugin& plugin, int32_t index) {
  EffectRecord& record = plugin.Record();
  const float value = record.getParameter(&record, index);
  std::printf("getParameter index %d -> %s\n", static_cast<int>(index), FormatFloat(value).c_str());
}
