// One plug-in presented to a VST 2.x host: the effect record the host holds,
// filled from the plug-in's description; the host's identity; the state
// chunk handed to the host; the channel limit of the first block. It owns the
// plug-in, and the host's close request deletes both. As the plug-in's
// PlugHost it turns editor changes and MIDI into host callbacks.
#pragma once

#include <cstdint>
#include <memory>

#include "core/state_chunk.h"
#include "plug/plug_base.h"
#include "plug/plug_host.h"
#include "vst2/effect_record.h"
#include "vst2/host_services.h"

class Vst2Effect final : public PlugHost {
 public:
  // The record with its callbacks, before any plug-in: asks the host who it
  // is, so that the host hears this before anything the plug-in's
  // construction asks of it.
  Vst2Effect();
  // Takes ownership of `plug` (not null) and fills the record from its
  // description; until then every callback of the record does nothing.
  void Present(PlugBase* plug);
  // Both steps, for a plug-in made beforehand.
  explicit Vst2Effect(PlugBase* plug) : Vst2Effect() { Present(plug); }
  ~Vst2Effect();
  Vst2Effect(const Vst2Effect&) = delete;
  Vst2Effect& operator=(const Vst2Effect&) = delete;

  EffectRecord* Record() { return &record; }
  // [after Present]
  PlugBase& Plug() { return *plug; }
  int32_t HostCode() const { return hostId; }
  int32_t HostVersion() const { return hostVersion; }
  // The buffer that effGetChunk hands to the host and effSetChunk fills.
  StateChunk& Chunk() { return stateChunk; }

  // [lock held] Before a block: the first one limits the channels in use to
  // 2 each unless the host is one that sends more on purpose. A speaker
  // arrangement settles them instead (SetChannelsSettled).
  void SettleChannels();
  void SetChannelsSettled() { channelsSettled = true; }

  void AutomateParam(int index, float normalised) override;
  void SendMidi(const MidiMessage& message) override;

  // The effect behind a record, or null when there is none or it presents no
  // plug-in yet.
  static Vst2Effect* FromRecord(EffectRecord* effect) {
    auto* found = effect ? static_cast<Vst2Effect*>(effect->object) : nullptr;
    return found && found->plug ? found : nullptr;
  }

 private:
  void AskHostIdentity();

  std::unique_ptr<PlugBase> plug;
  EffectRecord record;
  int32_t hostId = kHostUnknown;
  int32_t hostVersion = 0;
  bool channelsSettled = false;
  StateChunk stateChunk;
};
