#include <climits>
#include <cstdio>
#include <cstring>

#include "vst2/dispatcher.h"
#include "tools/qvhost/vst2/dispatch_script.h"
#include "tools/qvhost/vst2/host_callback.h"
#include "tools/qvhost/vst2/queries.h"
#include "tools/qvhost/report.h"

namespace {

void GetChunk(LoadedPlugin& plugin, int32_t index) {
  void* data = nullptr;
  const intptr_t answer = plugin.Dispatch(effGetChunk, index, 0, &data);
  std::printf("effGetChunk index %d -> %s data %s\n", static_cast<int>(index),
              FormatAnswer(answer).c_str(), data ? "set" : "null");
}

void SetChunk(LoadedPlugin& plugin, intptr_t size, void* bytes) {
  const intptr_t answer = plugin.Dispatch(effSetChunk, 0, size, bytes);
  std::printf("effSetChunk value %s ptr %s -> %s\n", FormatAnswer(size).c_str(),
              bytes ? "set" : "null", FormatAnswer(answer).c_str());
}

const EditorRect* GetEditorRect(LoadedPlugin& plugin) {
  EditorRect* rect = nullptr;
  const intptr_t answer = plugin.Dispatch(effEditGetRect, 0, 0, &rect);
  std::printf("effEditGetRect -> %s", FormatAnswer(answer).c_str());
  if (rect) {
    std::printf(" top %d left %d bottom %d right %d", rect->top, rect->left, rect->bottom,
                rect->right);
  }
  std::printf("\n");
  return rect;
}

void SetSpeakers(LoadedPlugin& plugin, int32_t channels) {
  SpeakerArrangement in{0, channels};
  SpeakerArrangement out{0, channels};
  const intptr_t answer =
      plugin.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out);
  std::printf("effSetSpeakerArrangement channels %d -> %s\n", static_cast<int>(channels),
              FormatAnswer(answer).c_str());
}

void GetKeyName(LoadedPlugin& plugin, int32_t key) {
  MidiKeyName request;
  std::memset(&request, 0, sizeof request);
  request.thisKeyNumber = key;
  std::strcpy(request.keyName, "untouched");
  const intptr_t answer = plugin.Dispatch(effGetMidiKeyName, 0, 0, &request);
  request.keyName[sizeof request.keyName - 1] = '\0';
  std::printf("effGetMidiKeyName key %d -> %s name %s\n", static_cast<int>(key),
              FormatAnswer(answer).c_str(), QuoteText(request.keyName).c_str());
}

// An event list with room for three entries (EventList declares two).
struct EventListOf3 {
  int32_t numEvents;
  intptr_t reserved;
  Event* events[3];
};

MidiEvent NoteOn() {
  MidiEvent note;
  std::memset(&note, 0, sizeof note);
  note.type = 1;
  note.byteSize = sizeof note;
  note.deltaFrames = 17;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  return note;
}

// An event of a kind the plug-in does not handle, which it hands back.
Event OtherEvent() {
  Event event;
  std::memset(&event, 0, sizeof event);
  event.type = 6;
  event.byteSize = sizeof event;
  event.deltaFrames = 5;
  std::memcpy(event.data, "qvhost event", 12);
  return event;
}

}  // namespace

void RunChunkScript(LoadedPlugin& plugin) {
  GetChunk(plugin, 0);
  GetChunk(plugin, 1);
  PrintAnswer("effGetChunk null ptr", plugin.Dispatch(effGetChunk));
  char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  SetChunk(plugin, sizeof bytes, bytes);
  SetChunk(plugin, 0, bytes);
  SetChunk(plugin, -1, bytes);
  SetChunk(plugin, sizeof bytes, nullptr);
  for (int32_t i = 0; i < plugin.Record().numParams; ++i) PrintGetParameter(plugin, i);
}

void RunQuestionScript(LoadedPlugin& plugin) {
  for (const char* text : {"receiveVstTimeInfo", "ReceiveVstTimeInfo", "receiveVstTimeInfo ",
                           "receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents",
                           "sendVstMidiEvent", "hasCockosExtensions", "bypass", ""}) {
    PrintCanDo(plugin, text);
  }
  for (int32_t index : {INT32_MIN, -1, 0, 1, 2, INT32_MAX}) {
    PrintPinQuery(plugin, "effGetInputProperties", effGetInputProperties, index);
    PrintPinQuery(plugin, "effGetOutputProperties", effGetOutputProperties, index);
  }
  // The rectangle is one record for the whole process, handed out again.
  const EditorRect* first = GetEditorRect(plugin);
  const EditorRect* second = GetEditorRect(plugin);
  if (first) std::printf("effEditGetRect same record twice: %s\n", first == second ? "yes" : "no");
  PrintAnswer("effEditClose", plugin.Dispatch(effEditClose));
  SetSpeakers(plugin, 2);
  GetKeyName(plugin, 60);
  for (int32_t index : {-1, 0, 4}) {
    std::printf("effCanBeAutomated index %d -> %s\n", static_cast<int>(index),
                FormatAnswer(plugin.Dispatch(effCanBeAutomated, index)).c_str());
  }
  PrintAnswer("effIdentify", plugin.Dispatch(effIdentify));
  PrintAnswer("effGetVstVersion", plugin.Dispatch(effGetVstVersion));
  PrintAnswer("effGetPlugCategory", plugin.Dispatch(effGetPlugCategory));
  PrintTextQuery(plugin, "effGetEffectName", effGetEffectName, 0, kNameBytes);
  PrintTextQuery(plugin, "effGetVendorString", effGetVendorString, 0, kNameBytes);
  PrintTextQuery(plugin, "effGetProductString", effGetProductString, 0, kNameBytes);
}

void RunEventScript(LoadedPlugin& plugin) {
  MidiEvent note = NoteOn();
  Event other = OtherEvent();
  EventListOf3 list{3, 0, {reinterpret_cast<Event*>(&note), nullptr, &other}};
  PrintHostRequests(&plugin.Record());
  PrintAnswer("effProcessEvents 3 events", plugin.Dispatch(effProcessEvents, 0, 0, &list));
  PrintHostRequests(&plugin.Record());
  list.numEvents = 0;
  PrintAnswer("effProcessEvents 0 events", plugin.Dispatch(effProcessEvents, 0, 0, &list));
  PrintHostRequests(&plugin.Record());
}
