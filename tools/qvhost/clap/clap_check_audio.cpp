// `qvhost clap`: the audio group, run as a host runs it: activation on the
// main thread, processing on an audio thread of qvhost's own. Bad set-ups
// are refused; bad blocks and events get a sound answer and never a NaN;
// events apply at their frames; instances come and go; state and values are
// read and written on the main thread while the audio thread processes.
#include <cmath>
#include <functional>
#include <vector>

#include "tools/qvhost/clap/clap_checks.h"
#include "tools/qvhost/clap/clap_host_objects.h"
#include "tools/qvhost/clap/loaded_clap.h"
#include "tools/qvhost/worker_thread.h"

using namespace clap;

namespace {

// Stereo 64-bit audio processed in place.
struct Block {
  explicit Block(uint32_t frames, double fill = 0.0)
      : left(frames, fill), right(frames, fill), channels{left.data(), right.data()} {
    bus = StereoPort(channels);
  }
  // A quiet sine, so that requantising has something to do.
  void Sine(uint32_t from) {
    for (size_t i = 0; i < left.size(); ++i) {
      left[i] = 0.25 * std::sin(0.01 * static_cast<double>(from + i));
      right[i] = 0.25 * std::cos(0.013 * static_cast<double>(from + i));
    }
  }
  bool Finite() const {
    for (size_t i = 0; i < left.size(); ++i) {
      if (!std::isfinite(left[i]) || !std::isfinite(right[i])) return false;
    }
    return true;
  }
  Process Make(const InputEventList& events, const OutputEventList& sink) {
    return InPlaceProcess(bus, static_cast<uint32_t>(left.size()), 0, events, sink);
  }

  std::vector<double> left, right;
  double* channels[2];
  AudioBuffer bus{};
};

// Runs `body` on an audio thread of qvhost's own and waits for it.
void OnAudioThread(const std::function<void()>& body) {
  WorkerThread audio([&body] {
    ClapHost::BecomeAudioThread();
    body();
    ClapHost::LeaveAudioThread();
  });
  audio.Join();
}

// Processes `block` with `events` on the audio thread; the status.
int32_t ProcessOnce(const Plugin* p, Block& block, const InputEventList& events) {
  OutputEventList sink;
  int32_t status = kProcessError;
  OnAudioThread([&] {
    const Process process = block.Make(events, sink);
    status = p->process(p, &process);
  });
  return status;
}

void CheckSetUp(LoadedClap& module, ValidationLog& log) {
  const Plugin* p = &module.Plugin();
  Block block(256, 0.5);
  InputEventList none;
  const int32_t early = ProcessOnce(p, block, none);
  log.Check(early == kProcessError, "audio: process before activate is an error");
  const bool refused = !p->activate(p, 44100, 0, 0) && !p->activate(p, 44100, 64, 32) &&
                       !p->activate(p, 0, 1, 512) && !p->activate(p, -44100, 1, 512) &&
                       !p->activate(p, NAN, 1, 512) && !p->activate(p, INFINITY, 1, 512);
  const bool twice = p->activate(p, 44100, 1, 512) && !p->activate(p, 48000, 1, 512);
  p->deactivate(p);
  p->deactivate(p);
  log.Check(
      refused && twice,
      "audio: activate refuses min > max, zero frames, a rate not above 0, and a second call");
}

void CheckBlocks(LoadedClap& module, ValidationLog& log) {
  const Plugin* p = &module.Plugin();
  const auto* params = module.Ask<PluginParams>(kExtParams);
  if (!p->activate(p, 48000, 1, 512)) return;
  Findings bad;
  OnAudioThread([&] {
    if (!p->startProcessing(p)) bad.Add("start_processing refused");
    InputEventList none;
    OutputEventList sink;
    Block nan(512, NAN);
    Process process = nan.Make(none, sink);
    if (p->process(p, &process) == kProcessError || !nan.Finite()) {
      bad.Add("NaN input gave an error or a NaN");
    }
    Block empty(0);
    process = empty.Make(none, sink);
    if (p->process(p, &process) != kProcessContinue) bad.Add("a zero-frame block was refused");
    InputEventList wild;
    wild.AddValue(99, 0, 1.0);
    wild.AddValue(kInvalidId, 3, 1.0);
    wild.AddValue(1, 10, NAN);
    wild.AddValue(2, 20, 1000.0);
    wild.AddValue(1, 400, -5.0);
    wild.AddValue(0, 5000, 0.0);  // past the block
    wild.AddValue(3, 7, 1.0);     // out of order
    wild.AddForeign(3, kEventParamValue, 30);
    wild.AddForeign(kCoreEventSpace, 9, 40);
    Block tone(512);
    tone.Sine(0);
    process = tone.Make(wild, sink);
    if (p->process(p, &process) != kProcessContinue || !tone.Finite()) {
      bad.Add("wild events gave an error or a NaN");
    }
    Block unwritable(64);
    process = unwritable.Make(none, sink);
    process.audioOutputs = nullptr;
    process.audioOutputsCount = 0;
    if (p->process(p, &process) != kProcessError) bad.Add("a block without outputs was processed");
    process = tone.Make(none, sink);
    process.inEvents = nullptr;
    process.audioInputsCount = 0;
    if (p->process(p, &process) == kProcessError || !tone.Finite()) {
      bad.Add("a block without inputs or events failed");
    }
    if (p->process(p, nullptr) != kProcessError) bad.Add("a null process was not an error");
    p->stopProcessing(p);
    p->reset(p);
  });
  double bits = 0.0;
  double shaping = 0.0;
  double dither = 1.0;
  params->getValue(p, 2, &bits);
  params->getValue(p, 1, &shaping);
  params->getValue(p, 0, &dither);
  if (bits != 32.0 || shaping != 0.0 || dither != 0.0) {
    bad.Add(Format("the events left bits %g, shaping %g, dither %g", bits, shaping, dither));
  }
  p->deactivate(p);
  log.Check(bad, "audio: NaN input, empty blocks, missing buses and wild events get sound answers");

  // A block longer than the maximum announced still runs, in pieces.
  Block longer(1000);
  longer.Sine(0);
  InputEventList none;
  const bool ran = p->activate(p, 44100, 1, 64) &&
                   ProcessOnce(p, longer, none) == kProcessContinue && longer.Finite();
  p->deactivate(p);
  log.Check(ran, "audio: a block longer than the announced maximum runs");
}

// A change at frame 100 of a 512-frame block sounds as the same change at
// the start of a second block of 412 frames after a first of 100.
void CheckEventFrames(LoadedClap& module, ValidationLog& log) {
  const Plugin* a = &module.Plugin();
  const Plugin* b = module.CreateAnother();
  if (b == nullptr || !b->init(b)) return;
  bool same = a->activate(a, 44100, 1, 512) && b->activate(b, 44100, 1, 512);
  // Both start from the same values, whatever the instances went through.
  const auto settle = [](InputEventList& events) {
    events.AddValue(0, 0, 0.0);
    events.AddValue(1, 0, 9.0);
    events.AddValue(2, 0, 24.0);
    events.AddValue(3, 0, 1.0);
  };
  InputEventList atHundred;
  settle(atHundred);
  atHundred.AddValue(2, 100, 8.0);
  Block whole(512);
  whole.Sine(0);
  InputEventList start;
  settle(start);
  InputEventList change;
  change.AddValue(2, 0, 8.0);
  Block first(100);
  first.Sine(0);
  Block second(412);
  second.Sine(100);
  same = same && ProcessOnce(a, whole, atHundred) == kProcessContinue &&
         ProcessOnce(b, first, start) == kProcessContinue &&
         ProcessOnce(b, second, change) == kProcessContinue;
  for (size_t i = 0; same && i < 512; ++i) {
    const double left = i < 100 ? first.left[i] : second.left[i - 100];
    const double right = i < 100 ? first.right[i] : second.right[i - 100];
    same = whole.left[i] == left && whole.right[i] == right;
  }
  a->deactivate(a);
  b->destroy(b);
  log.Check(same, "audio: an event applies at its frame, bit for bit");
}

void CheckCycles(LoadedClap& module, ValidationLog& log) {
  bool cycled = true;
  for (int i = 0; i < 100 && cycled; ++i) {
    const Plugin* p = module.CreateAnother();
    cycled = p && p->init(p) && p->activate(p, 44100, 32, 256);
    Block block(256);
    block.Sine(0);
    InputEventList none;
    cycled = cycled && ProcessOnce(p, block, none) == kProcessContinue;
    // Destroyed while active, as a host may.
    if (p) p->destroy(p);
  }
  log.Check(cycled, "audio: 100 create, init, activate, process, destroy cycles");
}

// The main thread saves, loads and reads while the audio thread processes.
void CheckConcurrency(LoadedClap& module, ValidationLog& log) {
  const Plugin* p = &module.Plugin();
  const auto* params = module.Ask<PluginParams>(kExtParams);
  const auto* state = module.Ask<PluginState>(kExtState);
  if (!p->activate(p, 44100, 1, 128)) return;
  bool finite = true;
  WorkerThread audio([&] {
    ClapHost::BecomeAudioThread();
    p->startProcessing(p);
    OutputEventList sink;
    for (int i = 0; i < 400; ++i) {
      InputEventList events;
      events.AddValue(2, static_cast<uint32_t>(i % 128), 8.0 + i % 20);
      Block block(128);
      block.Sine(static_cast<uint32_t>(i) * 128);
      const Process process = block.Make(events, sink);
      finite = p->process(p, &process) == kProcessContinue && block.Finite() && finite;
    }
    p->stopProcessing(p);
    ClapHost::LeaveAudioThread();
  });
  bool loaded = true;
  for (int i = 0; i < 200; ++i) {
    MemoryOutStream out;
    loaded = state->save(p, out.Record()) && loaded;
    MemoryInStream in(out.bytes);
    loaded = state->load(p, in.Record()) && loaded;
    double value = 0.0;
    char text[64];
    params->getValue(p, 2, &value);
    params->valueToText(p, 2, value, text, sizeof text);
  }
  audio.Join();
  p->deactivate(p);
  log.Check(finite && loaded, "audio: state and values on the main thread while processing");
}

}  // namespace

void CheckClapAudio(const ClapCheckOptions& options, ValidationLog& log) {
  LoadedClap module;
  if (!module.Load(options.path)) return;
  CheckSetUp(module, log);
  CheckBlocks(module, log);
  CheckEventFrames(module, log);
  CheckCycles(module, log);
  CheckConcurrency(module, log);
  CheckThreads(module.Host(), log, "audio");
}
