#include "tools/qvhost/vst2/loaded_plugin.h"

#include <cstdio>
#include <string>

#include "vst2/dispatcher.h"
#include "tools/qvhost/vst2/host_callback.h"
#include "tools/qvhost/plugin_library.h"

namespace {
using EntryFunction = EffectRecord*(QV_CDECL*)(HostCallback callback);
}  // namespace

LoadedPlugin::~LoadedPlugin() {
  Close();
  CloseLibrary(library);
}

bool LoadedPlugin::Load(const char* path) {
  std::string error;
  library = OpenLibrary(path, error);
  if (library == nullptr) {
    std::fprintf(stderr, "qvhost: cannot open %s: %s\n", path, error.c_str());
    return false;
  }
  void* entry = FindLibraryFunction(library, "VSTPluginMain");
  if (entry == nullptr) entry = FindLibraryFunction(library, "main");
  if (entry == nullptr) {
    std::fprintf(stderr, "qvhost: %s exports no plug-in entry\n", path);
    return false;
  }
  record = reinterpret_cast<EntryFunction>(entry)(AnswerHostRequest);
  if (record == nullptr || record->magic != kEffectMagic) {
    std::fprintf(stderr, "qvhost: the entry of %s returned no effect record\n", path);
    record = nullptr;
    return false;
  }
  return true;
}

intptr_t LoadedPlugin::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
  return record->dispatcher(record, opcode, index, value, ptr, opt);
}

intptr_t LoadedPlugin::Close() {
  if (record == nullptr) return 0;
  const intptr_t answer = Dispatch(effClose);
  record = nullptr;
  return answer;
}
