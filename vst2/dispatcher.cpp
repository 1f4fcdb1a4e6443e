#include "vst2/dispatcher.h"

#include <cstdio>
#include <cstring>

#include "core/text_copy.h"
#include "plug/plug_base.h"
#include "vst2/host_services.h"
#include "vst2/vst2_effect.h"

namespace {

constexpr intptr_t kIdentifyAnswer = 0x4E764566;  // 'NvEf'
constexpr intptr_t kCockosExtensionsAnswer = static_cast<intptr_t>(0xbeef0000);
constexpr intptr_t kVstVersion = 2400;
constexpr intptr_t kCategoryEffect = 1;

// The rectangle answered to every effEditGetRect in the process; filled on
// the first request.
EditorRect editorRect;
bool editorRectFilled = false;

intptr_t SetProgram(PlugBase& plug, intptr_t value) {
  const auto program = static_cast<uintptr_t>(value);
  if (program >= static_cast<uintptr_t>(plug.ProgramCount())) return 0;
  return plug.SelectProgram(static_cast<int>(program)) ? 1 : 0;
}

intptr_t SetProgramName(PlugBase& plug, const char* text) {
  if (text == nullptr) return 0;
  plug.SetCurrentProgramName(std::string(text, BoundedLength(text, kProgramNameCapacity)));
  return 1;
}

intptr_t GetProgramNameIndexed(PlugBase& plug, int32_t index, char* buffer) {
  const auto program = static_cast<uint32_t>(index);
  if (buffer == nullptr || program >= static_cast<uint32_t>(plug.ProgramCount())) return 0;
  const bool current =
      static_cast<int32_t>(program) == plug.CurrentProgram() && !plug.CurrentProgramName().empty();
  CopyBounded(buffer,
              current ? plug.CurrentProgramName() : plug.ProgramAt(static_cast<int>(program)).name,
              kProgramNameCapacity);
  return 1;
}

intptr_t EditGetRect(PlugBase& plug, void* ptr) {
  PlugEditor* editor = plug.GetEditor();
  if (editor == nullptr || ptr == nullptr) return 0;
  if (!editorRectFilled) {
    editorRect = EditorRect{0, 0, static_cast<int16_t>(editor->Height()),
                            static_cast<int16_t>(editor->Width())};
    editorRectFilled = true;
  }
  *static_cast<EditorRect**>(ptr) = &editorRect;
  return 1;
}

intptr_t ProcessEvents(Vst2Effect& effect, const EventList* list) {
  PlugBase& plug = effect.Plug();
  if (list == nullptr) return 0;
  LockGuard guard(&plug.Lock());
  // The list holds numEvents pointers, however many its declaration shows;
  // they are read through a pointer, not as elements of the declared array.
  Event* const* entries = list->events;
  for (int32_t i = 0; i < list->numEvents; ++i) {
    const Event* event = entries[i];
    if (event == nullptr) continue;
    if (event->type == 1) {
      const auto* midi = reinterpret_cast<const MidiEvent*>(event);
      plug.HandleMidi(MidiMessage{midi->deltaFrames, static_cast<uint8_t>(midi->midiData[0]),
                                  static_cast<uint8_t>(midi->midiData[1]),
                                  static_cast<uint8_t>(midi->midiData[2])});
    } else {
      SendEventToHost(effect.Record(), event);
    }
  }
  return 1;
}

intptr_t GetPinProperties(int32_t index, int32_t count, const char* format, void* ptr) {
  if (ptr == nullptr || index < 0 || index >= count) return 0;
  auto* pin = static_cast<PinProperties*>(ptr);
  std::snprintf(pin->label, sizeof pin->label, format, index);
  pin->flags = index % 2 == 0 ? 3 : 1;  // active and stereo for the first of a pair
  return 1;
}

intptr_t CanDo(const PlugBase& plug, const char* text) {
  if (text == nullptr) return 0;
  if (std::strcmp(text, "receiveVstTimeInfo") == 0) return 1;
  if (plug.DoesMidi()) {
    for (const char* midi :
         {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"}) {
      if (std::strcmp(text, midi) == 0) return 1;
    }
  }
  if (std::strcmp(text, "hasCockosExtensions") == 0) return kCockosExtensionsAnswer;
  return 0;
}

intptr_t GetMidiKeyName(PlugBase& plug, MidiKeyName* request) {
  if (request == nullptr) return 0;
  request->keyName[0] = '\0';
  const bool named = plug.KeyName(request->thisKeyNumber, request->keyName);
  request->keyName[sizeof request->keyName - 1] = '\0';
  return named ? 1 : 0;
}

// A host asks for the display text on its interface thread while its
// automation may set the same parameter on another; the lock keeps the value
// from changing under the formatting. Names and labels never change.
intptr_t ParamDisplay(PlugBase& plug, int32_t index, char* text) {
  LockGuard guard(&plug.Lock());
  plug.ParamAt(index).FormatValue(text);
  return 0;
}

intptr_t CopyText(char* buffer, const std::string& text, size_t capacity) {
  if (buffer == nullptr) return 0;
  CopyBounded(buffer, text, capacity);
  return 1;
}

intptr_t GetChunk(Vst2Effect& effect, void* ptr) {
  if (ptr == nullptr) return 0;
  PlugBase& plug = effect.Plug();
  StateChunk& chunk = effect.Chunk();
  LockGuard guard(&plug.Lock());
  if (!chunk.Resize(0, true)) return 0;
  if (!plug.SaveState(chunk) || chunk.Size() == 0) return 0;
  *static_cast<void**>(ptr) = chunk.Data();
  return chunk.Size();
}

intptr_t SetChunk(Vst2Effect& effect, intptr_t value, const void* ptr) {
  // A null buffer or a size that is no byte count reads nothing.
  if ((ptr == nullptr && value != 0) || value < 0 || value > INT32_MAX) return 0;
  PlugBase& plug = effect.Plug();
  StateChunk& chunk = effect.Chunk();
  LockGuard guard(&plug.Lock());
  const auto size = static_cast<int32_t>(value);
  if (!chunk.Resize(size, false)) return 0;
  if (size > 0) std::memcpy(chunk.Data(), ptr, static_cast<size_t>(size));
  if (!plug.LoadState(chunk)) return 0;
  plug.NotifyAllParamsChanged();
  return 1;
}

intptr_t SetSpeakerArrangement(Vst2Effect& effect, intptr_t value, const void* ptr) {
  // The audio callbacks read the channel counts, so they change under the lock.
  PlugBase& plug = effect.Plug();
  LockGuard guard(&plug.Lock());
  const auto* in = reinterpret_cast<const SpeakerArrangement*>(value);
  const auto* out = static_cast<const SpeakerArrangement*>(ptr);
  plug.SetChannelsInUse(in ? in->numChannels : -1, out ? out->numChannels : -1);
  effect.SetChannelsSettled();
  return 1;
}

intptr_t Dispatch(Vst2Effect* effect, EffectRecord* record, int32_t opcode, int32_t index,
                  intptr_t value, void* ptr, float opt) {
  PlugBase& plug = effect->Plug();
  auto* text = static_cast<char*>(ptr);

  switch (opcode) {
    case effOpen: plug.NotifyAllParamsChanged(); return 0;
    case effClose:
      if (PlugEditor* editor = plug.GetEditor()) editor->CloseWindow();
      delete effect;
      return 0;
    case effSetProgram: return SetProgram(plug, value);
    case effGetProgram: return plug.CurrentProgram();
    case effSetProgramName: return SetProgramName(plug, text);
    case effGetProgramName: return CopyText(text, plug.CurrentProgramName(), kProgramNameCapacity);
    case effGetParamLabel: plug.ParamAt(index).CopyLabel(text); return 0;
    case effGetParamDisplay: return ParamDisplay(plug, index, text);
    case effGetParamName: plug.ParamAt(index).CopyName(text); return 0;
    case effSetSampleRate: plug.SetSampleRate(opt); return 0;
    case effSetBlockSize: plug.SetBlockSize(static_cast<int32_t>(value)); return 0;
    case effMainsChanged: plug.SetActive(value != 0); return 0;
    case effEditGetRect: return EditGetRect(plug, ptr);
    case effEditOpen: return plug.OpenEditor(ptr) ? 1 : 0;
    case effEditClose: return plug.CloseEditor() ? 1 : 0;
    case effEditIdle:
    case effIdle: plug.Idle(); return 0;
    case effIdentify: return kIdentifyAnswer;
    case effGetChunk: return GetChunk(*effect, ptr);
    case effSetChunk: return SetChunk(*effect, value, ptr);
    case effProcessEvents: return ProcessEvents(*effect, static_cast<const EventList*>(ptr));
    case effCanBeAutomated: return 1;
    case effGetProgramNameIndexed: return GetProgramNameIndexed(plug, index, text);
    case effGetInputProperties: return GetPinProperties(index, record->numInputs, "Input %d", ptr);
    case effGetOutputProperties:
      return GetPinProperties(index, record->numOutputs, "Output %d", ptr);
    case effGetPlugCategory: return kCategoryEffect;
    case effSetSpeakerArrangement: return SetSpeakerArrangement(*effect, value, ptr);
    case effGetEffectName: return CopyText(text, plug.EffectName(), kEffectNameCapacity);
    case effGetVendorString: return CopyText(text, plug.VendorString(), kVendorStringCapacity);
    case effGetProductString: return CopyText(text, plug.ProductString(), kProductStringCapacity);
    case effCanDo: return CanDo(plug, text);
    case effGetVstVersion: return kVstVersion;
    case effGetMidiKeyName: return GetMidiKeyName(plug, static_cast<MidiKeyName*>(ptr));
    default: return 0;
  }
}

}  // namespace

intptr_t QV_CDECL Dispatcher::Entry(EffectRecord* record, int32_t opcode, int32_t index,
                                    intptr_t value, void* ptr, float opt) {
  Vst2Effect* effect = Vst2Effect::FromRecord(record);
  if (effect == nullptr) return 0;
  // Nothing may throw into the host: a request that runs out of storage
  // (opening the editor's window, naming a program) is a request refused.
  try {
    return Dispatch(effect, record, opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}
