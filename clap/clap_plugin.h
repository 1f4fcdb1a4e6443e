// One plug-in presented to a CLAP host: the plug-in record the host calls,
// the extensions it asks for (audio ports, parameters, state, GUI, the
// host-loop callbacks and preset loading) and, as the plug-in's PlugHost,
// the editor's edits turned into parameter events for the host.
//
// It owns the plug-in; destroy deletes both.
//
// Threads, as CLAP assigns them: [main] init, destroy, activate, deactivate,
// parameters (but flush), state, GUI, ports, presets; [audio] process,
// start and stop processing, reset, and flush while active. Everything that
// touches the plug-in takes its lock, as every adapter does; process holds
// it for the call. The only host functions called off the main thread are
// thread-safe ones: request_flush, from the editor.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "clap/clap_abi.h"
#include "clap/edit_queue.h"
#include "plug/plug_base.h"
#include "plug/plug_host.h"

namespace clap {

class HostLoopBridge;

class ClapPlugin final : public PlugHost {
 public:
  // Takes ownership of `plug` (not null). `host` must outlive the instance.
  ClapPlugin(const Host* host, PlugBase* plug, const PluginDescriptor* descriptor);
  ~ClapPlugin();
  ClapPlugin(const ClapPlugin&) = delete;
  ClapPlugin& operator=(const ClapPlugin&) = delete;

  // The record handed to the host.
  const Plugin* Record() const { return &record; }
  // The instance behind a record of this adapter's; null for null.
  static ClapPlugin* From(const Plugin* plugin);
  PlugBase& Plug() { return *plug; }

  // ---- The plug-in record (clap_plugin.cpp) -------------------------------------
  bool Init();
  const void* Extension(const char* id) const;

  // ---- Processing (clap_process.cpp) --------------------------------------------
  // False unless 1 <= minFrames <= maxFrames and the rate is a positive
  // finite number, or while already active.
  bool Activate(double rate, uint32_t minFrames, uint32_t maxFrames);
  void Deactivate();
  bool StartProcessing();
  void StopProcessing();
  void Reset();
  int32_t ProcessBlock(const Process* process);
  // Applies every parameter event of `in` and passes the editor's edits to
  // `out`; either may be null.
  void Flush(const InputEvents* in, const OutputEvents* out);

  // ---- Parameters (clap_params.cpp) -----------------------------------------------
  uint32_t ParamCount() const;
  bool ParamInfoAt(uint32_t index, ParamInfo* info);
  bool ParamValue(Id id, double* value);
  bool ValueToText(Id id, double value, char* text, uint32_t capacity);
  bool TextToValue(Id id, const char* text, double* value);

  // ---- State (clap_state.cpp) --------------------------------------------------------
  bool SaveState(const OutStream* stream);
  bool LoadState(const InStream* stream);

  // ---- GUI (clap_gui.cpp) -------------------------------------------------------------
  bool IsGuiApiSupported(const char* api, bool isFloating) const;
  bool CreateGui(const char* api, bool isFloating);
  void DestroyGui();
  bool GuiSize(uint32_t* width, uint32_t* height) const;
  bool SetGuiSize(uint32_t width, uint32_t height) const;
  bool SetGuiParent(const Window* window);
  bool ShowGui();
  bool HideGui();
  void OnFd(int fd);
  void OnTimer(Id timerId);

  // ---- Presets (clap_presets.cpp) ------------------------------------------------------
  bool LoadPreset(uint32_t locationKind, const char* location, const char* loadKey);

  // ---- PlugHost --------------------------------------------------------------------------
  // [editor's thread, lock not held] The editor's gestures and edits: kept
  // for the next process or flush, which sends them as events; the host is
  // asked for a flush when it is not processing.
  void AutomateParam(int index, float normalised) override;
  void BeginEdit(int index) override;
  void EndEdit(int index) override;
  bool CalledUnderLock() const override { return false; }
  void SendMidi(const MidiMessage&) override {}

 private:
  template <typename Extension>
  const Extension* HostExtension(const char* id) const;
  // [lock held] A parameter event from the host; unknown ids and NaN change
  // nothing, values outside the range are limited.
  void ApplyEvent(const EventHeader* event);
  // [lock held] Sends the queued edits; an event the list refuses stays.
  void SendEdits(const OutputEvents* out);
  // [lock not held] Queues an editor's event for parameter `index` with
  // `add`, then asks the host for a flush when it is not processing.
  template <typename Add>
  void QueueEdit(int index, Add add);
  // [audio, lock held] Frames first .. first + count of the block.
  void RunFrames(const Process& process, bool wide, uint32_t first, uint32_t count);
  // The GUI is created while the plug-in has its editor.
  bool GuiCreated() const { return plug->GetEditor() != nullptr; }
  bool Active() const { return active; }
  // Opens the editor's window in the parent set; false when it cannot.
  bool OpenWindow();
  void CloseWindow();

  Plugin record;
  const Host* host;
  std::unique_ptr<PlugBase> plug;
  std::vector<double> defaults;  // each parameter's value when made
  EditQueue edits;               // [lock] the editor's, not yet sent
  bool flushAsked = false;       // [lock] a flush was requested and has not come
  const HostParams* hostParams = nullptr;
  const HostPresetLoad* hostPresetLoad = nullptr;
  std::unique_ptr<HostLoopBridge> loop;  // the host's loop for the window, when offered
  bool active = false;                   // [lock] between activate and deactivate
  bool processing = false;
  bool windowOpen = false;
  void* parent = nullptr;  // the host's window, once set
};

// The extensions' tables, each beside its functions.
extern const PluginAudioPorts kAudioPortsExtension;
extern const PluginParams kParamsExtension;
extern const PluginState kStateExtension;
extern const PluginGui kGuiExtension;
extern const PluginPosixFdSupport kPosixFdExtension;
extern const PluginTimerSupport kTimerExtension;
extern const PluginPresetLoad kPresetLoadExtension;

// The window system of this platform's GUI, and the host's window in it
// (posix/ and win32/).
extern const char* const kGuiApi;
void* ParentHandle(const Window& window);

}  // namespace clap
