// Loading and closing: many cycles in a row, and many instances at once,
// driven in turn from one thread and then each from its own.
#include <memory>
#include <string>
#include <vector>

#include "vst2/dispatcher.h"
#include "tools/qvhost/parent_window.h"
#include "tools/qvhost/vst2/validate_host.h"
#include "tools/qvhost/worker_thread.h"

namespace {

constexpr int kCycles = 100;
constexpr int kInstances = 8;
constexpr int32_t kBlock = 256;
constexpr int kEditorWidth = 500;
constexpr int kEditorHeight = 525;

void CheckRecord(const EffectRecord& r, Findings& findings) {
  if (r.numParams != kParamCount || r.numPrograms != 8 || r.numInputs != 2 || r.numOutputs != 2 ||
      r.object == nullptr) {
    findings.Add(Format("record shows %d parameters, %d programs, %d in, %d out", r.numParams,
                        r.numPrograms, r.numInputs, r.numOutputs));
  }
}

// Load, open, process, editor, close and unload. Every other cycle leaves the
// editor open for effClose to close.
void RunCycle(const ValidateOptions& options, int cycle, void* parent, Findings& findings) {
  LoadedPlugin plugin;
  if (!plugin.Load(options.library)) {
    findings.Add(Format("cycle %d: the library did not load", cycle));
    return;
  }
  CheckRecord(plugin.Record(), findings);
  StartAudio(plugin, 44100.0f, kBlock);
  ProcessAndCheck(plugin, SineBlock(kBlock, 0), GridScale(plugin, findings), findings);
  if (plugin.Dispatch(effEditOpen, 0, 0, parent) != 1) {
    findings.Add(Format("cycle %d: the editor did not open", cycle));
  }
  PumpWindowMessages(1);
  if (cycle % 2 == 0) plugin.Dispatch(effEditClose);
  plugin.Dispatch(effMainsChanged, 0, 0);
  plugin.Close();
}

// "target bits" of instance i: 6, 9, ... 27, so that each has its own grid.
float InstanceBits(int i) { return static_cast<float>(3 * i) / 26.0f; }

using Instances = std::vector<std::unique_ptr<LoadedPlugin>>;

bool LoadInstances(const ValidateOptions& options, Instances& instances) {
  for (int i = 0; i < kInstances; ++i) {
    instances.push_back(std::make_unique<LoadedPlugin>());
    if (!instances.back()->Load(options.library)) return false;
    StartAudio(*instances.back(), 48000.0f, kBlock);
    SetParam(*instances.back(), kTargetBitsParam, InstanceBits(i));
  }
  return true;
}

// Round after round, each instance in turn processes a block, one has its
// "dither" switched, and every instance must still show its own bits.
void Interleave(Instances& instances, int rounds, Findings& findings) {
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < kInstances; ++i) {
      LoadedPlugin& plugin = *instances[static_cast<size_t>(i)];
      ProcessAndCheck(plugin, SineBlock(kBlock, round * kBlock), GridScale(plugin, findings),
                      findings);
    }
    SetParam(*instances[static_cast<size_t>(round % kInstances)], 0, static_cast<float>(round % 2));
    for (int i = 0; i < kInstances; ++i) {
      const std::string bits =
          ParamDisplay(*instances[static_cast<size_t>(i)], kTargetBitsParam, findings);
      if (bits != std::to_string(6 + 3 * i)) {
        findings.Add(Format("round %d: instance %d shows %s target bits", round, i, bits.c_str()));
      }
    }
  }
}

// Each instance on its own thread at once, changing its own parameters.
void ProcessConcurrently(Instances& instances, int blocks, Findings& findings) {
  std::vector<Findings> perThread(kInstances);
  std::vector<std::unique_ptr<WorkerThread>> threads;
  for (int i = 0; i < kInstances; ++i) {
    LoadedPlugin& plugin = *instances[static_cast<size_t>(i)];
    Findings& found = perThread[static_cast<size_t>(i)];
    threads.push_back(std::make_unique<WorkerThread>([&plugin, &found, i, blocks] {
      for (int b = 0; b < blocks; ++b) {
        SetParam(plugin, (b + i) % kParamCount, static_cast<float>((b * 7 + i) % 27) / 26.0f);
        ProcessAndCheck(plugin, SineBlock(kBlock, b * kBlock), GridScale(plugin, found), found);
      }
    }));
  }
  for (auto& thread : threads) thread->Join();
  for (const Findings& found : perThread) {
    if (!found.Clean()) findings.Add(found.First());
  }
}

}  // namespace

void ValidateLifecycle(const ValidateOptions& options, ValidationLog& log) {
  void* parent = CreateParentWindow(kEditorWidth, kEditorHeight);
  Findings cycles;
  for (int cycle = 0; cycle < kCycles; ++cycle) RunCycle(options, cycle, parent, cycles);
  DestroyParentWindow(parent);
  log.Check(cycles, Format("%d cycles of load, open, process, editor, close, unload", kCycles));

  Instances instances;
  if (!log.Check(LoadInstances(options, instances),
                 Format("%d instances loaded at once", kInstances))) {
    return;
  }
  Findings interleaved;
  Interleave(instances, options.quick ? 8 : 32, interleaved);
  log.Check(interleaved,
            Format("%d instances with interleaved calls keep their own state", kInstances));
  Findings concurrent;
  ProcessConcurrently(instances, options.quick ? 32 : 200, concurrent);
  log.Check(concurrent,
            Format("%d instances processing on %d threads at once", kInstances, kInstances));
  for (auto& instance : instances) instance->Close();
}
