// A plug-in whose constructor throws, as one whose storage cannot be had
// would, and whose editor's factory throws too: the identity and factories
// every format's entry calls, for the entry tests.
#include <new>

#include "plug/create_plugin.h"
#include "plug/plug_base.h"
#include "plug/plug_identity.h"

namespace {

const char* const kNoFeatures[] = {nullptr};

const PlugIdentity kIdentity{"Throwing",
                             "Tests",
                             "A plug-in that cannot be made",
                             1000,
                             0x74687277,  // 'thrw'
                             {1, 2, 3, 4},
                             "Fx",
                             "test.throwing",
                             kNoFeatures,
                             "urn:test:throwing",
                             "urn:test:throwing#ui",
                             "urn:test:throwing#preset-",
                             "test.throwing.programs"};

PlugDescription Description() {
  PlugDescription d;
  d.name = kIdentity.name;
  d.paramCount = 1;
  return d;
}

class ThrowingPlugin final : public PlugBase {
 public:
  ThrowingPlugin() : PlugBase(Description()) { throw std::bad_alloc(); }
};

}  // namespace

const PlugIdentity& PluginIdentity() { return kIdentity; }

PlugBase* CreatePlugin() { return new ThrowingPlugin(); }

bool CreatePluginEditor(PlugBase&) { throw std::bad_alloc(); }
