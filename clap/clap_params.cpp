// The parameters as CLAP lists them: ids 0 up in the plug-in's order, plain
// values in their own units, the VST 2.x build's display texts, and the
// value box's rules for typed text.
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

double HostValue(const Param& param, double value) {
  value = value < param.Min() ? param.Min() : value > param.Max() ? param.Max() : value;
  if (!Stepped(param)) return value;
  return param.Min() + std::trunc((value - param.Min()) / param.Step()) * param.Step();
}

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
  // The text the VST 2.x build shows for the parameter at that value.
  Param param;
  {
    LockGuard guard(&plug->Lock());
    param = plug->ParamAt(static_cast<int>(id));
  }
  param.SetClamped(HostValue(param, value));
  CopyBounded(text, param.DisplayText(), capacity);
  return true;
}

bool ClapPlugin::TextToValue(Id id, const char* text, double* value) {
  if (text == nullptr || value == nullptr || id >= ParamCount()) return false;
  LockGuard guard(&plug->Lock());
  const Param& param = plug->ParamAt(static_cast<int>(id));
  const std::string typed(text, BoundedLength(text, kNameSize));
  // Every text value_to_text gives reads back as its value ("off" for no
  // shaping); other text follows the value box's rules: a number, where
  // the parameter is not a list.
  for (const auto& shown : param.DisplayTexts()) {
    if (shown.second == typed) {
      *value = shown.first;
      return true;
    }
  }
  double number = 0.0;
  if (param.IsListKind() || !param.ValueForTypedText(typed, number)) return false;
  *value = HostValue(param, number);
  return true;
}

}  // namespace clap
