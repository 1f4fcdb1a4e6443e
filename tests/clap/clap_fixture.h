// A plug-in made by the module's factory as a CLAP host makes it, with
// qvhost's host objects, destroyed when the handle goes.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "clap/clap_plugin.h"
#include "tools/qvhost/clap/clap_host.h"
#include "tools/qvhost/clap/clap_host_objects.h"

namespace clap {

class HostedClap {
 public:
  HostedClap();
  ~HostedClap();
  HostedClap(const HostedClap&) = delete;
  HostedClap& operator=(const HostedClap&) = delete;

  // Activates for blocks of up to `maxFrames` at 44.1 kHz and starts processing.
  void Start(uint32_t maxFrames);

  // One block of stereo audio in place, with the events given.
  template <typename Sample>
  int32_t Process(std::vector<Sample>& left, std::vector<Sample>& right,
                  const InputEventList& events = InputEventList(),
                  OutputEventList* sink = nullptr) {
    Sample* channels[2] = {left.data(), right.data()};
    AudioBuffer port = StereoPort(channels);
    OutputEventList none;
    const clap::Process process =
        InPlaceProcess(port, static_cast<uint32_t>(left.size()), 0, events, sink ? *sink : none);
    return plugin->process(plugin, &process);
  }

  // The plug-in's extension `id`.
  template <typename Extension>
  const Extension& Ask(const char* id) const {
    return *static_cast<const Extension*>(plugin->getExtension(plugin, id));
  }
  ClapPlugin& Instance() const { return *ClapPlugin::From(plugin); }

  ClapHost host;
  const Plugin* plugin = nullptr;
};

}  // namespace clap
