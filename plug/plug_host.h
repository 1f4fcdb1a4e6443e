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
  // [UI thread, plug-in's lock held] The user set parameter `index` to
  // `normalised` in the editor; the host records it as automation.
  virtual void AutomateParam(int index, float normalised) = 0;
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
