// The core of a plug-in, whatever its format: the lock, the parameters, the
// programs, the channels in use, the scratch audio buffers and the editor.
// The concrete plug-in overrides the virtual hooks it needs and defines
// the factories of plug/create_plugin.h; a format adapter presents
// it to a host and drives it through the operations below.
//
// Threads: the host's user-interface thread opens, closes and idles the
// plug-in and its editor; the audio thread processes blocks; parameter get
// and set may come from either. The lock is held for a whole audio block, for
// parameter get/set, for editor changes, for program recalls and for the
// adapter's open, rate, size, on/off, chunk and event requests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/param.h"
#include "core/plug_editor.h"
#include "core/plug_lock.h"
#include "core/plug_params.h"
#include "core/preset.h"
#include "core/state_chunk.h"
#include "plug/channel_buffers.h"
#include "plug/plug_host.h"

// The longest piece of a block RunBlock hands the plug-in at once: a host's
// longer blocks go through in pieces of this length, so that the scratch
// buffers and the plug-in's accumulators stay bounded whatever maximum a host
// announces.
constexpr int32_t kLongestBlock = 1 << 16;

// What a plug-in is, as every format's adapter presents it: read once, when
// the plug-in is made. Texts may be null for none.

struct PlugDescription {
  const char* name = "";       // the effect's name
  const char* product = "";    // the product's name, when it differs
  const char* vendor = "";     // who makes it
  int version = 0;             // 1000 for 1.0.0.0
  int uniqueId = 0;            // the VST 2.x unique id
  int paramCount = 0;          // parameters
  int inputCount = 2;          // audio channels in
  int outputCount = 2;         // audio channels out
  int latency = 0;             // frames the output lags the input
  bool doesMidi = false;       // takes and sends MIDI
  bool canMono = false;        // may be fed one channel
  bool programChunks = false;  // its state is saved as a chunk
};

class PlugBase : public PlugParams {
 public:
  explicit PlugBase(const PlugDescription& description);
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
  // [lock held] The editor is about to be deleted: drop every pointer into it.
  virtual void ForgetEditor() {}
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
  Param& ParamAt(int index) override;
  int ParamCount() const { return static_cast<int>(params.size()); }
  // [any thread] A value from the host: the editor's controls follow, the
  // value is set and ParamChanged called, under the lock. An index out of
  // range changes nothing.
  void SetParamFromHost(int index, float normalised);
  // [any thread] A value from a host that gives values in the parameter's
  // own units ("plain" values), by PlainValue's rule: the editor's controls
  // follow (as ShowHostValue says), the value is set and ParamChanged
  // called, under the lock. A NaN or an index out of range changes nothing.
  void SetParamPlain(int index, double plain);
  // [takes the lock] The value parameter `index` takes for a plain value:
  // limited to its range and, unless its kind is Double, rounded to the
  // nearest step, a midpoint going up. A NaN gives the current value; an
  // index out of range, 0.
  double PlainValue(int index, double plain);
  // [takes the lock] The text parameter `index` shows at a plain value (its
  // display text, "off" for a value named so); empty for an index out of
  // range or a NaN.
  std::string ValueText(int index, double plain);
  // [takes the lock] The plain value that text stands for: every text
  // ValueText shows reads back as its value; a list also takes the number
  // of one of its values ("1" for "on"); other text, where the parameter is
  // not a list, by the value box's rules (its leading number), then by
  // PlainValue's rule. False, and `plain` untouched, for text that
  // stands for no value or an index out of range.
  [[nodiscard]] bool ValueFromText(int index, const std::string& text, double& plain);
  // [any thread] A host's value for parameter `index`, in its own units, as
  // the editor shows it. The echo of the value last sent to the host (what
  // SetParamFromEditor reported, stepped) only redraws the controls: a host
  // that answers each edit with the stepped value must not move a knob back
  // to the step, or a slow drag or a wheel notch, each less than a step,
  // would never get past it. Any other value moves the controls and ends
  // the echo.
  void ShowHostValue(int index, double plain);
  // [UI thread] A change made in the editor: reports automation to the host,
  // remembering the stepped value for ShowHostValue, and, unless the host
  // applies edits itself (PlugHost::AppliesEdits), sets the value and calls
  // ParamChanged, under the lock. Outside a gesture on the parameter the
  // edit is a gesture of its own for the host.
  void SetParamFromEditor(int index, double normalised) override;
  // [UI thread] The host hears that a gesture on `index` begins or ends; one
  // gesture is open at a time, and a begin ends the one before.
  void BeginGesture(int index) override;
  void EndGesture(int index) override;
  // [UI thread, lock held] Hands the finished editor
  // to the plug-in, which owns it, in place of any it had:
  // every control receives its parameter's value, then drawing is prepared.
  void AttachEditor(PlugEditor* newEditor);
  PlugEditor* GetEditor() const { return editor; }
  // [UI thread, window closed] Deletes the editor; the plug-in has none after.
  void DetachEditor();
  // [UI thread] Opens the editor's window in the host's `parent` (an HWND on
  // Windows, an X window elsewhere), its events run on `loop` when given
  // (null: in the window layer's own way), then EditorOpened. False when the
  // plug-in has no editor or the window cannot be opened (or is open).
  bool OpenEditor(void* parent, HostLoop* loop = nullptr);
  // [UI thread] EditorClosing, then the editor's window closes; false when
  // the plug-in has no editor.
  bool CloseEditor();
  // [takes the lock] Every parameter's ParamChanged, then ResetProcessing.
  void NotifyAllParamsChanged();

  // ---- Programs ------------------------------------------------------------
  void AddPresetsFromCurrent(const char* name, int count);
  void AddPreset(const char* name, std::initializer_list<double> values);
  void StoreCurrentPreset();
  void RecallPreset(int index);
  // [takes the lock] A host's program change: the current program keeps the
  // edits made to it, then program `index` is recalled. False, and nothing
  // changed, for an index past the list.
  bool SelectProgram(int index);
  // [takes the lock] What a host restores: program `index` becomes the
  // current one (the old one keeps its edits) with `values`, one per
  // parameter and each within its range, in place of its stored values; then
  // every parameter's ParamChanged and one ResetProcessing. False, and
  // nothing changed, for an index or a count that does not fit.
  bool RestoreProgram(int index, const std::vector<double>& values);
  int ProgramCount() const { return static_cast<int>(programs.size()); }
  int CurrentProgram() const { return currentProgram; }
  const std::string& CurrentProgramName() const { return currentProgramName; }
  void SetCurrentProgramName(const std::string& name) { currentProgramName = name; }
  const Preset& ProgramAt(int index) const { return programs[index]; }

  // ---- Processing set-up [takes the lock] ------------------------------------
  void SetSampleRate(double rate);
  void SetBlockSize(int32_t frames);
  // Switching off also resets the processing.
  void SetActive(bool active);
  // The processing starts again from silence, as after Prepare, with the
  // same rate, block and values.
  void RestartProcessing();
  // The channels the host really passes; negative counts are ignored.
  void SetChannelsInUse(int32_t inputs, int32_t outputs);
  // [not the audio thread] Sizes the scratch buffers of the float path for
  // blocks of up to `frames`, so that such blocks allocate nothing; false
  // when the storage could not be had.
  [[nodiscard]] bool PrepareScratch(int32_t frames);
  // [not the audio thread] What every format does when its host announces a
  // rate and the longest block it will send: the rate and the block size
  // are set and the scratch buffers made for the longest piece RunBlock
  // hands the plug-in, min(maxBlock, kLongestBlock). The processing is
  // designed for the block the host says it usually runs (`usualBlock`)
  // when it gives one within maxBlock, and for maxBlock otherwise, so that a
  // host announcing a large maximum sounds as one announcing its real block.
  // Answers the piece length; 0 when the scratch could not be had (RunBlock
  // then runs unprepared) or maxBlock is not positive (nothing is changed).
  int32_t Prepare(double rate, int64_t maxBlock, int64_t usualBlock = 0);
  int32_t PieceLength() const { return pieceLength; }

  // ---- Audio [audio thread, lock held] ---------------------------------------
  // A block of float audio through the scratch buffers, replacing or adding
  // to the outputs.
  void ProcessFloat(float** inputs, float** outputs, int32_t frames, bool accumulate);
  // A block of double audio; a null array or channel reads as silence and is
  // not written.
  void ProcessDouble(double** inputs, double** outputs, int32_t frames);
  // A block of any length, in place or not, in pieces of at most the piece
  // length (before Prepare, of the block size, at most kLongestBlock); a
  // null array or channel reads as silence and is not written. An empty
  // block is one empty piece.
  void RunBlock(float** inputs, float** outputs, int64_t frames);
  void RunBlock(double** inputs, double** outputs, int64_t frames);
  // A block whose scratch buffers cannot be had is not processed: the
  // replacing paths write silence to the outputs the plug-in declared (at
  // most those in use, so that a huge speaker arrangement reads no channel
  // pointer beyond them), the accumulating path adds nothing, and no other
  // state changes.

  // ---- Host-facing state -----------------------------------------------------
  PlugLock& Lock() override { return lock; }
  // [adapter] Where host requests go; null (the start) sends nothing.
  void SetHost(PlugHost* newHost) { host = newHost; }
  PlugHost* Host() const { return host; }
  double SampleRate() const { return sampleRate; }
  int32_t BlockSize() const { return blockSize; }
  int32_t InputsInUse() const { return inputsInUse; }
  int32_t OutputsInUse() const { return outputsInUse; }
  int32_t NumInputs() const { return numInputs; }
  int32_t NumOutputs() const { return numOutputs; }
  int32_t Version() const { return version; }
  int32_t UniqueId() const { return uniqueId; }
  int32_t Latency() const { return latency; }
  bool CanMono() const { return canMono; }
  bool ProgramChunks() const { return programChunks; }
  const std::string& EffectName() const { return effectName; }
  const std::string& ProductString() const { return productString; }
  const std::string& VendorString() const { return vendorString; }
  bool DoesMidi() const { return doesMidi; }
  // How often the scratch audio buffers were (re)allocated.
  int32_t ScratchAllocations() const {
    return inputBuffers.Allocations() + outputBuffers.Allocations();
  }

  void SendMidi(const MidiMessage& message) {
    if (host) host->SendMidi(message);
  }

 private:
  // The declared outputs, at most those in use, silenced: a block whose
  // scratch buffers cannot be had writes this instead.
  template <typename Sample>
  void SilenceOutputs(Sample** outputs, int64_t frames);
  // RunBlock's pieces, through the channel pointers kept for them.
  template <typename Sample>
  void RunPieces(Sample** inputs, Sample** outputs, int64_t frames,
                 std::vector<Sample*>& pieceChannels);
  void ProcessPiece(float** inputs, float** outputs, int32_t frames);
  void ProcessPiece(double** inputs, double** outputs, int32_t frames);
  // [lock held] The controls bound to `index` follow a host's value.
  void FollowHost(int index, double plain, double normalised);
  // [UI thread] `call` on the host, if any, under the lock or not as the
  // host wants (PlugHost::CalledUnderLock).
  template <typename Call>
  void TellHost(Call call);

  PlugLock lock;
  int32_t blockSize = 0;
  int32_t numInputs;
  int32_t numOutputs;
  int32_t inputsInUse;
  int32_t outputsInUse;
  double sampleRate = 44100.0;
  int32_t version;
  int32_t uniqueId;
  int32_t latency;
  bool doesMidi;
  bool canMono;
  bool programChunks;
  std::string effectName;
  std::string productString;
  std::string vendorString;
  std::vector<Preset> programs;
  int32_t currentProgram = 0;
  std::string currentProgramName;
  ChannelBuffers inputBuffers;
  ChannelBuffers outputBuffers;
  std::vector<Param> params;
  // [lock] Per parameter, the stepped value last sent to the host from the
  // editor; NaN once the host set another.
  std::vector<double> sentValues;
  int32_t pieceLength = 0;  // Prepare's answer
  // The channel pointers of a piece, inputs then outputs, for each sample
  // size: as many as the channels declared.
  std::vector<float*> floatPiece;
  std::vector<double*> doublePiece;
  PlugEditor* editor = nullptr;
  PlugHost* host = nullptr;
  int gestureParam = -1;  // [UI thread] the parameter of the open gesture
};
