// A recording host for the tests: answers the identity requests with texts
// the test chooses and keeps every automation and event request.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dither/dither_plugin.h"
#include "dither/editor/dither_editor.h"
#include "vst2/dispatcher.h"
#include "vst2/host_services.h"
#include "vst2/vst2_effect.h"

struct HostCall {
  EffectRecord* effect;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
  std::vector<unsigned char> event;  // first event of an event list, copied
};

struct TestHost {
  std::string vendor = "Test Vendor";
  std::string product = "Test Product";
  bool answerVendor = true;
  bool answerProduct = true;
  bool echoAutomation = false;  // sets each automated value at once, as some hosts do
  std::vector<HostCall> calls;

  static TestHost& Current();
  // Installs the recording callback with fresh answers.
  static TestHost& Install();
  std::vector<HostCall> CallsWith(int32_t opcode) const;
};

// A plain plug-in's description for tests: its name, parameter count and
// channels; version 1, unique id 1, nothing else.
PlugDescription TestDescription(const char* name, int params, int inputs = 2, int outputs = 2);

// Plug-ins under test, presented behind their VST 2.x effect as the entry
// does, opened and closed through the dispatcher as a host would.
DitherPlugin* NewPlugin();  // as the entry makes it, with its editor, not opened
// The plug-in and its editor as the factories make them, with no format's
// adapter around it.
std::unique_ptr<DitherPlugin> BarePlugin();
DitherPlugin* OpenPlugin();
// The effect that presents `plug`: the host the plug-in was given.
Vst2Effect* EffectOf(PlugBase* plug);
EffectRecord* RecordOf(PlugBase* plug);
intptr_t Dispatch(PlugBase* plug, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f);
void ClosePlugin(PlugBase* plug);
// The editor of a plug-in made with one: the plug-in's display.
inline DitherEditor* EditorOf(PlugBase* plug) {
  return static_cast<DitherEditor*>(plug->GetEditor());
}

// Owns a plug-in behind its effect, made as the entry makes it (not opened),
// and closes it through the dispatcher when the handle goes, even after a
// failed assertion.
template <typename Plug>
class PluginHandle {
 public:
  explicit PluginHandle(Plug* plug) : plug(plug) { new Vst2Effect(plug); }
  ~PluginHandle() { ClosePlugin(plug); }
  PluginHandle(const PluginHandle&) = delete;
  PluginHandle& operator=(const PluginHandle&) = delete;

  Plug* operator->() const { return plug; }
  Plug& operator*() const { return *plug; }
  Plug* get() const { return plug; }
  EffectRecord* Record() const { return RecordOf(plug); }

 private:
  Plug* plug;
};
