// The plug-in's state: its program state (plug/program_state.h) under the
// tag "QVcl", written to and read from the host's streams, which may move
// fewer bytes than asked at a time.
#include <new>
#include <vector>

#include "clap/clap_plugin.h"
#include "plug/program_state.h"

namespace clap {

namespace {

constexpr char kTag[] = "QVcl";
// Far more than a state of this plug-in holds: a stream that goes on past
// it is not one.
constexpr size_t kLongestState = 4096;

bool QV_CLAP_CALL Save(const Plugin* plugin, const OutStream* stream) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->SaveState(stream);
}

bool QV_CLAP_CALL Load(const Plugin* plugin, const InStream* stream) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->LoadState(stream);
}

}  // namespace

const PluginState kStateExtension{Save, Load};

bool ClapPlugin::SaveState(const OutStream* stream) {
  if (stream == nullptr || stream->write == nullptr) return false;
  try {
    const std::vector<unsigned char> bytes = SaveProgramState(*plug, kTag);
    size_t done = 0;
    while (done < bytes.size()) {
      const uint64_t left = bytes.size() - done;
      const int64_t written = stream->write(stream, bytes.data() + done, left);
      if (written <= 0 || static_cast<uint64_t>(written) > left) return false;
      done += static_cast<size_t>(written);
    }
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool ClapPlugin::LoadState(const InStream* stream) {
  if (stream == nullptr || stream->read == nullptr) return false;
  // The whole stream is read before anything is checked or changed.
  unsigned char bytes[kLongestState + 1];
  size_t size = 0;
  for (;;) {
    const uint64_t room = sizeof bytes - size;
    const int64_t read = stream->read(stream, bytes + size, room);
    if (read == 0) break;
    if (read < 0 || static_cast<uint64_t>(read) > room) return false;
    size += static_cast<size_t>(read);
    if (size > kLongestState) return false;
  }
  try {
    return LoadProgramState(*plug, kTag, bytes, size);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace clap
