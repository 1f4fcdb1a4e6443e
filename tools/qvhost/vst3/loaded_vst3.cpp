#include "tools/qvhost/vst3/loaded_vst3.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "tools/qvhost/plugin_library.h"

using namespace vst3;

namespace {

using FactoryFunction = IPluginFactory*(QV_VST3_CALL*)();
using ModuleFunction = bool (*)(void*);
using ExitFunction = bool (*)();

template <typename Interface>
Interface* Ask(FUnknown* object, const Tuid& iid) {
  void* asked = nullptr;
  if (object->queryInterface(iid.bytes, &asked) != kResultOk) return nullptr;
  return static_cast<Interface*>(asked);
}

}  // namespace

bool IsVst3Path(const char* path) { return std::strstr(path, ".vst3") != nullptr; }

LoadedVst3::~LoadedVst3() {
  if (processor) processor->release();
  if (controller) {
    if (separateController) controller->terminate();
    controller->release();
  }
  if (component) {
    component->terminate();
    component->release();
  }
  if (factory) factory->release();
  if (library) {
#ifndef _WIN32
    if (auto exit = reinterpret_cast<ExitFunction>(FindLibraryFunction(library, "ModuleExit"))) {
      exit();
    }
#endif
    CloseLibrary(library);
  }
}

namespace {

// The module a bundle folder holds for this platform
// (Name.vst3/Contents/<architecture>/Name.<ending>); any other path as it is.
std::string ModulePath(const std::string& path) {
  std::error_code failed;
  if (!std::filesystem::is_directory(path, failed)) return path;
  const std::filesystem::path bundle = std::filesystem::path(path).lexically_normal();
  const std::string name = (bundle.has_filename() ? bundle : bundle.parent_path()).stem().string();
#if defined(_WIN32)
  const char* architecture = sizeof(void*) == 8 ? "x86_64-win" : "x86-win";
  const std::string file = name + ".vst3";
#else
  const char* architecture = "x86_64-linux";
  const std::string file = name + ".so";
#endif
  return (bundle / "Contents" / architecture / file).string();
}

}  // namespace

bool LoadedVst3::Load(const char* bundleOrModule) {
  const std::string module = ModulePath(bundleOrModule);
  const char* path = module.c_str();
  std::string error;
  library = OpenLibrary(path, error);
  if (library == nullptr) {
    std::fprintf(stderr, "qvhost: cannot open %s: %s\n", path, error.c_str());
    return false;
  }
#ifndef _WIN32
  auto entry = reinterpret_cast<ModuleFunction>(FindLibraryFunction(library, "ModuleEntry"));
  if (entry == nullptr || !entry(library)) {
    std::fprintf(stderr, "qvhost: %s has no ModuleEntry, or it failed\n", path);
    return false;
  }
#endif
  auto getFactory =
      reinterpret_cast<FactoryFunction>(FindLibraryFunction(library, "GetPluginFactory"));
  if (getFactory == nullptr || (factory = getFactory()) == nullptr) {
    std::fprintf(stderr, "qvhost: %s exports no plug-in factory\n", path);
    return false;
  }
  // The first audio effect class.
  const int32_t classes = factory->countClasses();
  for (int32_t i = 0; i < classes && component == nullptr; ++i) {
    PClassInfo info;
    if (factory->getClassInfo(i, &info) != kResultOk ||
        std::strcmp(info.category, "Audio Module Class") != 0) {
      continue;
    }
    void* made = nullptr;
    if (factory->createInstance(info.cid.bytes, kIComponentIid.bytes, &made) == kResultOk) {
      component = static_cast<IComponent*>(made);
    }
  }
  if (component == nullptr || component->initialize(nullptr) != kResultOk) {
    std::fprintf(stderr, "qvhost: %s made no audio effect\n", path);
    return false;
  }
  processor = Ask<IAudioProcessor>(component, kIAudioProcessorIid);
  controller = Ask<IEditController>(component, kIEditControllerIid);
  if (controller == nullptr) {
    Tuid controllerClass;
    void* made = nullptr;
    if (component->getControllerClassId(controllerClass.bytes) == kResultOk &&
        factory->createInstance(controllerClass.bytes, kIEditControllerIid.bytes, &made) ==
            kResultOk) {
      controller = static_cast<IEditController*>(made);
      separateController = true;
      controller->initialize(nullptr);
    }
  }
  if (processor == nullptr || controller == nullptr) {
    std::fprintf(stderr, "qvhost: %s has no audio processor or no controller\n", path);
    return false;
  }
  return true;
}
