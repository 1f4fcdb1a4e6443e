// The editor opened and closed again and again while one thread processes
// audio without pause and another sets parameters, as a host's audio and
// automation threads do; the host's own interface meanwhile reads the
// parameters back on the user-interface thread.
#include <atomic>
#include <random>

#include "vst2/dispatcher.h"
#include "tools/qvhost/parent_window.h"
#include "tools/qvhost/vst2/validate_host.h"
#include "tools/qvhost/worker_thread.h"

namespace {

constexpr int kEditorCycles = 50;
constexpr int32_t kBlock = 512;
// Message loop time per cycle: long enough for frame timer ticks now and then.
constexpr int kOpenMs = 30;

void CycleEditor(LoadedPlugin& plugin, void* parent, int cycle, Findings& findings) {
  if (plugin.Dispatch(effEditOpen, 0, 0, parent) != 1) {
    findings.Add(Format("cycle %d: effEditOpen failed", cycle));
  }
  EditorRect* rect = nullptr;
  if (plugin.Dispatch(effEditGetRect, 0, 0, &rect) != 1 || rect == nullptr ||
      rect->right - rect->left != 500 || rect->bottom - rect->top != 525) {
    findings.Add(Format("cycle %d: no 500 x 525 editor rectangle", cycle));
  }
  PumpWindowMessages(kOpenMs);
  for (int32_t i = 0; i < kParamCount; ++i) {
    (void)GetParam(plugin, i);
    (void)ParamDisplay(plugin, i, findings);
  }
  plugin.Dispatch(effEditIdle);
  if (plugin.Dispatch(effEditClose) != 1)
    findings.Add(Format("cycle %d: effEditClose failed", cycle));
}

}  // namespace

void ValidateEditorThreads(const ValidateOptions& options, ValidationLog& log) {
  LoadedPlugin plugin;
  void* parent = CreateParentWindow(500, 525);
  if (!log.Check(parent != nullptr && plugin.Load(options.library),
                 "plug-in loads and a parent window opens for the editor checks")) {
    DestroyParentWindow(parent);
    return;
  }
  StartAudio(plugin, 44100.0f, kBlock);
  std::atomic<bool> stop{false};
  std::atomic<int64_t> blocks{0};
  std::atomic<int64_t> changes{0};
  Findings audio;
  Findings editor;
  WorkerThread audioThread([&] {
    for (int64_t b = 0; !stop.load(); ++b) {
      ProcessAndCheck(plugin, SineBlock(kBlock, b * kBlock), kFinestGridScale, audio);
      blocks.store(b + 1);
    }
  });
  WorkerThread automation([&] {
    std::mt19937 random(options.seed + 2);
    while (!stop.load()) {
      SetParam(plugin, static_cast<int32_t>(random() % kParamCount), RandomNormalised(random));
      changes.fetch_add(1);
      PauseThread(1);
    }
  });
  for (int cycle = 0; cycle < kEditorCycles; ++cycle) CycleEditor(plugin, parent, cycle, editor);
  stop.store(true);
  audioThread.Join();
  automation.Join();
  DestroyParentWindow(parent);
  log.Check(editor, Format("editor opened and closed %d times during audio and %lld parameter "
                           "changes from a third thread",
                           kEditorCycles, static_cast<long long>(changes.load())));
  if (blocks.load() == 0) audio.Add("the audio thread processed no block");
  log.Check(audio, Format("%lld blocks processed meanwhile, finite and on the grid",
                          static_cast<long long>(blocks.load())));
}
