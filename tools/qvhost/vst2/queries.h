// Dispatcher requests that both `info` and `dispatch` make, each printed as
// one line: what was asked, "->", the answer, then what the plug-in wrote.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/qvhost/vst2/loaded_plugin.h"

// Buffer sizes qvhost offers, as common hosts do: parameter texts get 64
// bytes, program names 24, effect, vendor and product names 64.
constexpr size_t kParamTextBytes = 64;
constexpr size_t kProgramNameBytes = 24;
constexpr size_t kNameBytes = 64;

// "NAME -> ANSWER"
void PrintAnswer(const char* name, intptr_t answer);

// A request that writes a text into ptr, offered `capacity` bytes with a
// guard zone after them: "NAME index I -> ANSWER "TEXT"[ UNTERMINATED][ OVERRUN n]".
void PrintTextQuery(LoadedPlugin& plugin, const char* name, int32_t opcode, int32_t index,
                    size_t capacity);

// effCanDo with `text`.
void PrintCanDo(LoadedPlugin& plugin, const char* text);

// effGetInputProperties or effGetOutputProperties for one index: label,
// flags, and whether the fields after the flags were left alone.
void PrintPinQuery(LoadedPlugin& plugin, const char* name, int32_t opcode, int32_t index);

// getParameter for one index: the float and its bits.
void PrintGetParameter(LoadedPlugin& plugin, int32_t index);
