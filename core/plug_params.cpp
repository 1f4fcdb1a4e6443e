#include "core/plug_params.h"

std::string LockedDisplayText(PlugParams* plug, const Param& param) {
  LockGuard guard(plug ? &plug->Lock() : nullptr);
  return param.DisplayText();
}
