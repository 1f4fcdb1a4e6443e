// What the plug-in core asks of its host, whatever the plug-in format: the
// format adapter implements it and hands it to PlugBase::SetHost.
#pragma once

#include <cstdint>

struct MidiMessage {
  int32_t frameOffset;
  uint8_t status;
  uint8_t data1;
  uint8_t data2;
};

class PlugHost {
 public:
  // [UI thread] The user set parameter `index` to `normalised` in the
  // editor; the host records it as automation. It comes between BeginEdit
  // and EndEdit: those of the user's gesture (a press on a control to its
  // release), or a pair of its own for an edit made at once (a wheel notch,
  // a typed value).
  virtual void AutomateParam(int index, float normalised) = 0;
  // [UI thread] A gesture on parameter `index` begins or ends. Hosts that
  // know no gestures ignore them.
  virtual void BeginEdit(int) {}
  virtual void EndEdit(int) {}
  // Whether the three calls above come with the plug-in's lock held (the
  // order a VST 2.x host relies on). A host whose callbacks may wait for its
  // audio thread, which waits for that lock during a block, says no, and is
  // called without it.
  virtual bool CalledUnderLock() const { return true; }
  // Whether the host applies the editor's edits itself, through ports of its
  // own that it then sets: the plug-in only reports them, and its values
  // change when the host sets them (the host may refuse, or be playing
  // automation). Otherwise the plug-in applies an edit as it reports it.
  virtual bool AppliesEdits() const { return false; }
  // [lock held] Passes a MIDI message out to the host.
  virtual void SendMidi(const MidiMessage& message) = 0;

 protected:
  ~PlugHost() = default;
};
