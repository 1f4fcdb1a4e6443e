// The parameters as CLAP lists them: ids 0 up in the plug-in's order, plain
// values in their own units, with the plug-in core's stepping and texts.
#include <cmath>
#include <string>

#include "clap/clap_plugin.h"
#include "core/text_copy.h"

namespace clap {

namespace {

bool Stepped(const Param& param) { return param.Kind() != ParamKind::Double; }

uint32_t QV_CLAP_CALL Count(const Plugin* plugin) {
  const ClapPlugin* self = ClapPlugin::From(plugin);
  return self ? self->ParamCount() : 0;
}

bool QV_CLAP_CALL Info(const Plugin* plugin, uint32_t index, ParamInfo* info) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->ParamInfoAt(index, info);
}

bool QV_CLAP_CALL Value(const Plugin* plugin, Id id, double* value) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->ParamValue(id, value);
}

bool QV_CLAP_CALL ToText(const Plugin* plugin, Id id, double value, char* text, uint32_t capacity) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->ValueToText(id, value, text, capacity);
}

bool QV_CLAP_CALL FromText(const Plugin* plugin, Id id, const char* text, double* value) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->TextToValue(id, text, value);
}

void QV_CLAP_CALL Flush(const Plugin* plugin, const InputEvents* in, const OutputEvents* out) {
  if (ClapPlugin* self = ClapPlugin::From(plugin)) self->Flush(in, out);
}

}  // namespace

const PluginParams kParamsExtension{Count, Info, Value, ToText, FromText, Flush};

uint32_t ClapPlugin::ParamCount() const { return static_cast<uint32_t>(defaults.size()); }

bool ClapPlugin::ParamInfoAt(uint32_t index, ParamInfo* info) {
  if (info == nullptr || index >= ParamCount()) return false;
  LockGuard guard(&plug->Lock());
  const Param& param = plug->ParamAt(static_cast<int>(index));
  *info = ParamInfo{};
  info->id = index;
  info->flags = kParamIsAutomatable | (Stepped(param) ? kParamIsStepped : 0) |
                (param.IsListKind() ? kParamIsEnum : 0);
  CopyBounded(info->name, param.Name(), kNameSize);
  info->minValue = param.Min();
  info->maxValue = param.Max();
  info->defaultValue = defaults[index];
  return true;
}

bool ClapPlugin::ParamValue(Id id, double* value) {
  if (value == nullptr || id >= ParamCount()) return false;
  LockGuard guard(&plug->Lock());
  *value = plug->ParamAt(static_cast<int>(id)).Value();
  return true;
}

bool ClapPlugin::ValueToText(Id id, double value, char* text, uint32_t capacity) {
  if (text == nullptr || capacity == 0 || id >= ParamCount() || std::isnan(value)) return false;
  CopyBounded(text, plug->ValueText(static_cast<int>(id), value), capacity);
  return true;
}

bool ClapPlugin::TextToValue(Id id, const char* text, double* value) {
  if (text == nullptr || value == nullptr || id >= ParamCount()) return false;
  const std::string typed(text, BoundedLength(text, kNameSize));
  return plug->ValueFromText(static_cast<int>(id), typed, *value);
}

}  // namespace clap
