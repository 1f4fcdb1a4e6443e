// The LV2 format adapter, DSP side: one plug-in per LV2 instance, driven the
// way the VST 2.x dispatcher and audio callbacks drive it.
//
//   instantiate  the entry, open, sample rate, block size = the host's
//                nominal block length, else its maximum block length
//                (kLv2DefaultBlockLength without one)
//   activate     processing on
//   run          changed control ports set their parameters, then the float
//                audio path, a run of any length (the plug-in core cuts it
//                into pieces)
//   deactivate   processing off (which resets the engine)
//   cleanup      close
//
// The UI binary reaches an instance through the host's instance-access
// feature (the LV2_Handle is an Lv2Instance) and uses only what is inline
// here: Plugin() and SetEditSink().
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/plug_lock.h"
#include "lv2/bundle.h"
#include "plug/plug_host.h"

#include "plug/plug_base.h"

// The block lengths a host announces in its options: the longest it sends
// and, when it says so, the one it usually runs (0 when it does not).
struct Lv2BlockLengths {
  int32_t longest;
  int32_t usual;
};

class Lv2Instance final : public PlugHost {
 public:
  // [host's loading thread] Open, and prepared for the rate and the host's
  // blocks (Ready() tells whether it could be).
  Lv2Instance(std::unique_ptr<PlugBase> plugin, double rate, Lv2BlockLengths blocks);
  ~Lv2Instance();
  Lv2Instance(const Lv2Instance&) = delete;
  Lv2Instance& operator=(const Lv2Instance&) = delete;

  // [instantiation thread] Ports outside the layout are ignored.
  void ConnectPort(uint32_t port, void* data);
  void Activate();
  void Deactivate();
  // [audio thread] Allocates nothing, does no I/O and makes no window-system
  // calls. Does nothing while an audio port is unconnected.
  void Run(uint32_t frames);

  // Where edits made in the editor go: the UI's function, with its context,
  // or none (null). [UI thread] Set under the plug-in's lock.
  using EditSink = void (*)(void* context, int index, float normalised);
  void SetEditSink(EditSink function, void* context) {
    LockGuard guard(&plugin->Lock());
    editSink = function;
    editContext = context;
  }

  // [lock held] Whether a UI has its sink set.
  bool HasEditSink() const { return editSink != nullptr; }

  // PlugHost: the editor's edits go to the UI's sink, which writes them to
  // the host; a value reaches the plug-in only through its control port.
  // MIDI has no port.
  void AutomateParam(int index, float normalised) override;
  bool AppliesEdits() const override { return true; }
  void SendMidi(const MidiMessage&) override {}

  bool Ready() const { return ready; }
  PlugBase* Plugin() const { return plugin.get(); }

 private:
  // [audio thread, lock held] Every parameter whose port value differs from
  // the last one applied takes the new value in its own units.
  void ApplyControlPorts();

  std::unique_ptr<PlugBase> plugin;
  Lv2PortLayout layout;
  bool ready = false;                  // prepared for the host's blocks
  std::vector<const float*> controls;  // one per parameter
  std::vector<float> applied;          // the port value last applied per parameter
  std::vector<float*> audio;           // the host's buffers: inputs, then outputs
  EditSink editSink = nullptr;         // [lock] the UI's, while it is open
  void* editContext = nullptr;         // what the UI's sink is called with
};
