#include "host/module.h"

void* ModuleHandle() { return nullptr; }
