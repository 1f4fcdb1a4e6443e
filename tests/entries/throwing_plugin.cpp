// A plug-in whose constructor throws, as one whose storage cannot be had
// would: the factory every format's entry calls, for the entry tests.
#include <new>

#include "host/create_plugin.h"
#include "host/plug_base.h"

namespace {

class ThrowingPlugin final : public PlugBase {
 public:
  ThrowingPlugin()
      : PlugBase(1, 2, 2, "Throwing", "", "Test", 1, 0x54687277, 0, false, true, false) {
    throw std::bad_alloc();
  }
};

}  // namespace

PlugBase* CreatePlugin() { return new ThrowingPlugin(); }
