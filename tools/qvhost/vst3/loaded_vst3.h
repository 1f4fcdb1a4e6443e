// A VST 3 module loaded the way a host loads it: open the library, call
// ModuleEntry where the platform has it, take the factory from
// GetPluginFactory, make the first audio effect class's component and ask it
// for its processor and controller (the component itself, or the class its
// getControllerClassId names).
#pragma once

#include "vst3/vst3_interfaces.h"

class LoadedVst3 {
 public:
  LoadedVst3() = default;
  // Terminates and releases what Load made, then unloads the module.
  ~LoadedVst3();
  LoadedVst3(const LoadedVst3&) = delete;
  LoadedVst3& operator=(const LoadedVst3&) = delete;

  // Loads a module, or the module of this platform in a bundle folder
  // (Name.vst3/). On failure prints the reason to stderr and returns false.
  [[nodiscard]] bool Load(const char* bundleOrModule);

  // [after a successful Load]
  vst3::IComponent& Component() { return *component; }
  vst3::IAudioProcessor& Processor() { return *processor; }
  vst3::IEditController& Controller() { return *controller; }

 private:
  void* library = nullptr;
  vst3::IPluginFactory* factory = nullptr;
  vst3::IComponent* component = nullptr;
  vst3::IAudioProcessor* processor = nullptr;
  vst3::IEditController* controller = nullptr;
  bool separateController = false;  // made from its own class, terminated apart
};

// Whether `path` names a VST 3 module: one named .vst3, or one inside a
// .vst3 bundle.
bool IsVst3Path(const char* path);
