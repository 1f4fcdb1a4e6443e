// The base of a plug-in: the effect record the host sees, the lock, the
// parameters, the programs, the state buffer, the scratch audio buffers and
// the editor. The concrete plug-in overrides the virtual hooks it needs.
//
// Threads: the host's user-interface thread drives the dispatcher and the
// editor; the audio thread calls the audio callbacks; parameter get and set
// may come from either. The lock is held for a whole audio block, for
// parameter get/set, for editor changes, for program recalls and for the
// dispatcher's open, rate, size, on/off, chunk and event requests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/param.h"
#include "core/preset.h"
#include "core/state_chunk.h"
#include "host/channel_buffers.h"
#include "host/effect_record.h"
#include "host/host_services.h"
#include "host/plug_lock.h"

class Editor;

class PlugBase {
 public:
  PlugBase(int numParams, int numInputs, int numOutputs, const char* effectName,
           const char* productString, const char* vendorString, int version, int uniqueId,
           int latency, bool doesMidi, bool canMono, bool programChunks);
  virtual ~PlugBase();
  PlugBase(const PlugBase&) = delete;
  PlugBase& operator=(const PlugBase&) = delete;

  // ---- Hooks for the concrete plug-in --------------------------------------
  // [lock held] Derive the processing state from rate, block size and values.
  virtual void ResetProcessing() {}
  // [lock held, except where a host re-enters] A parameter's value changed.
  virtual void ParamChanged(int) {}
  // [audio thread, lock held] One block of double audio; default copies
  // inputs to outputs.
  virtual void ProcessBlock(double** inputs, double** outputs, int frames);
  // [audio thread, lock held] One block of float audio; default widens,
  // calls ProcessBlock and narrows.
  virtual void ProcessFloatBlock(float** inputs, float** outputs, int frames);
  virtual void EditorOpened() {}
  virtual void EditorClosing() {}
  virtual void Idle() {}
  virtual void ActiveChanged(bool) {}
  // [lock held] Default passes the message back to the host.
  virtual void HandleMidi(const MidiMessage& message);
  // Writes a name for the key into a 64-byte buffer; false if none.
  virtual bool KeyName(int key, char* name);
  virtual bool SaveState(StateChunk&) { return false; }
  virtual bool LoadState(StateChunk&) { return false; }

  // ---- Parameters ----------------------------------------------------------
  // The parameter at index, or the process-wide inert parameter when the index
  // is out of range.
  Param& ParamAt(int index);
  int ParamCount() const { return static_cast<int>(params.size()); }
  // [UI thread] A change made in the editor: reports automation to the host,
  // sets the value and calls ParamChanged, under the lock.
  void SetParamFromEditor(int index, double normalised);
  // [constructor, or UI thread with the lock held] Hands the finished editor
  // to the plug-in, which owns it, in place of any it had.
  void AttachEditor(Editor* newEditor);
  // [UI thread, window closed] Deletes the editor; the plug-in has none after.
  void DetachEditor();
  Editor* GetEditor() const { return editor; }

  // ---- Programs ------------------------------------------------------------
  void AddPresetsFromCurrent(const char* name, int count);
  void AddPreset(const char* name, std::initializer_list<double> values);
  void StoreCurrentPreset();
  void RecallPreset(int index);
  int ProgramCount() const { return static_cast<int>(programs.size()); }
  int CurrentProgram() const { return currentProgram; }
  const std::string& CurrentProgramName() const { return currentProgramName; }
  void SetCurrentProgramName(const std::string& name) { currentProgramName = name; }
  const Preset& ProgramAt(int index) const { return programs[index]; }

  // ---- Host requests, for every format ------------------------------------
  // Each takes the lock. Open: every parameter's change hook in index order,
  // then one ResetProcessing. A new rate or block size runs ResetProcessing.
  // Switching processing on runs ActiveChanged(true); off runs
  // ActiveChanged(false), then ResetProcessing.
  void Open();
  void SetSampleRate(double rate);
  void SetBlockSize(int32_t frames);
  void SetActive(bool active);
  // [not the audio thread] Sizes the scratch buffers of the float path for
  // blocks of up to `frames`, so that such blocks allocate nothing; false
  // when the storage could not be had.
  [[nodiscard]] bool PrepareScratch(int32_t frames);

  // ---- Host-facing state ---------------------------------------------------
  EffectRecord* Record() { return &record; }
  PlugLock& Lock() { return lock; }
  double SampleRate() const { return sampleRate; }
  int32_t BlockSize() const { return blockSize; }
  int32_t InputsInUse() const { return inputsInUse; }
  int32_t OutputsInUse() const { return outputsInUse; }
  int32_t HostCode() const { return hostId; }
  int32_t HostVersion() const { return hostVersion; }
  const std::string& EffectName() const { return effectName; }
  const std::string& ProductString() const { return productString; }
  const std::string& VendorString() const { return vendorString; }
  bool DoesMidi() const { return doesMidi; }
  // How often the scratch audio buffers were (re)allocated.
  int32_t ScratchAllocations() const {
    return inputBuffers.Allocations() + outputBuffers.Allocations();
  }

  void SendMidi(const MidiMessage& message) { SendMidiToHost(&record, message); }

  // The plug-in behind a record, or null.
  static PlugBase* FromRecord(EffectRecord* effect) {
    return effect ? static_cast<PlugBase*>(effect->object) : nullptr;
  }

 private:
  friend struct Dispatcher;
  friend struct AudioEntry;

  void AskHostIdentity();
  void NotifyAllParamsChanged();
  // First block: limits the channels in use to 2 each unless the host is one
  // that sends more on purpose; a speaker arrangement settles them instead.
  void SettleChannels();
  // A block whose scratch buffers cannot be had is not processed: the
  // replacing paths write silence to the outputs the plug-in declared (at
  // most those in use, so that a huge speaker arrangement reads no channel
  // pointer beyond them), the accumulating path adds nothing, and no other
  // state changes.
  void ProcessFloat(float** inputs, float** outputs, int32_t frames, bool accumulate);
  template <typename Sample>
  void SilenceOutputs(Sample** outputs, int32_t frames);

  PlugLock lock;
  int32_t blockSize = 0;
  int32_t inputsInUse;
  int32_t outputsInUse;
  double sampleRate = 44100.0;
  bool channelsSettled = false;
  bool doesMidi;
  std::string effectName;
  std::string productString;
  std::string vendorString;
  int32_t hostId = kHostUnknown;
  int32_t hostVersion = 0;
  std::vector<Preset> programs;
  int32_t currentProgram = 0;
  std::string currentProgramName;
  StateChunk stateChunk;
  ChannelBuffers inputBuffers;
  ChannelBuffers outputBuffers;
  std::vector<Param> params;
  Editor* editor = nullptr;
  EffectRecord record;
};
