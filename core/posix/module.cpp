#include "core/module.h"

void* ModuleHandle() { return nullptr; }
