// A plug-in whose constructor throws, as one whose storage cannot be had
// would, and whose editor's factory throws too: the factories every format's
// entry calls, for the entry tests.
#include <new>

#include "plug/create_plugin.h"
#include "plug/plug_base.h"

namespace {

PlugDescription Description() {
  PlugDescription d;
  d.name = "Throwing";
  d.paramCount = 1;
  return d;
}

class ThrowingPlugin final : public PlugBase {
 public:
  ThrowingPlugin() : PlugBase(Description()) { throw std::bad_alloc(); }
};

}  // namespace

PlugBase* CreatePlugin() { return new ThrowingPlugin(); }

bool CreatePluginEditor(PlugBase&) { throw std::bad_alloc(); }
