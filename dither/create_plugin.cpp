#include "plug/create_plugin.h"

#include <new>

#include "dither/dither_plugin.h"

PlugBase* CreatePlugin() { return new (std::nothrow) DitherPlugin(); }
