#include "core/param.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/text_copy.h"

namespace {

int PrecisionFromStep(double step) {
  int precision = 0;
  while (step != std::floor(step) && precision < 6) {
    ++precision;
    step *= 10.0;
  }
  return precision;
}

// Clears the first 8 bytes (what hosts nominally read) and then writes the
// text, cut to the 64 bytes hosts really give.
void CopyParamText(char* buffer, const std::string& text) {
  if (buffer == nullptr) return;
  std::memset(buffer, 0, 8);
  size_t n = text.size() < kParamTextCapacity - 1 ? text.size() : kParamTextCapacity - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

}  // namespace

void Param::DefineDouble(const char* newName, double defaultValue, double newMin, double newMax,
                         double newStep, const char* newLabel) {
  if (kind == ParamKind::None) kind = ParamKind::Double;
  name = newName ? newName : "";
  label = newLabel ? newLabel : "";
  value = defaultValue;
  min = newMin;
  max = newMax > newMin + newStep ? newMax : newMin + newStep;
  step = newStep;
  precision = PrecisionFromStep(newStep);
}

void Param::DefineInt(const char* newName, int defaultValue, int newMin, int newMax,
                      const char* newLabel) {
  if (kind == ParamKind::None) kind = ParamKind::Int;
  DefineDouble(newName, defaultValue, newMin, newMax, 1.0, newLabel);
}

void Param::DefineBool(const char* newName, bool defaultValue, const char*) {
  if (kind == ParamKind::None) kind = ParamKind::Bool;
  DefineDouble(newName, defaultValue ? 1.0 : 0.0, 0.0, 1.0, 1.0, nullptr);
  displayTexts[0.0] = "off";
  displayTexts[1.0] = "on";
}

void Param::SetValueText(float v, const char* text) {
  displayTexts[static_cast<double>(v)] = text ? text : "";
}

double Param::ToNormalized(double v) const {
  if (v < min) v = min;
  if (v > max) v = max;
  return std::pow((v - min) / (max - min), 1.0 / shape);
}

double Param::FromNormalized(double x) const { return std::pow(x, shape) * (max - min) + min; }

void Param::SetFromNormalized(float x) {
  if (std::isnan(x)) return;
  value = ValueFromNormalized(x);
}

double Param::ValueFromNormalized(float x) const {
  double v = FromNormalized(x);
  if (kind != ParamKind::Double) v = std::floor(v / step + 0.5) * step;
  return v < max ? v : max;
}

double Param::SteppedValue(double v) const {
  if (kind != ParamKind::Double) v = std::floor(v / step + 0.5) * step;
  return v < min ? min : (v > max ? max : v);
}

void Param::SetStepped(double v) {
  if (!std::isnan(v)) value = SteppedValue(v);
}

void Param::SetClamped(double v) {
  if (kind == ParamKind::None) kind = ParamKind::Double;
  if (std::isnan(v)) return;
  value = v < min ? min : (v > max ? max : v);
}

void Param::CopyName(char* buffer) const { CopyParamText(buffer, name); }

void Param::CopyLabel(char* buffer) const { CopyParamText(buffer, label); }

void Param::FormatValue(char* buffer) const { CopyParamText(buffer, DisplayText()); }

std::string Param::DisplayText() const {
  auto text = displayTexts.find(value);
  if (text != displayTexts.end()) return text->second;
  if (value == 0.0) return "0";
  double v = displayNegated ? -value : value;
  char out[kParamTextCapacity];
  if (precision == 0) {
    std::snprintf(out, sizeof out, "%d", TruncToInt(v));
  } else {
    char format[16];
    std::snprintf(format, sizeof format, "%%.%df", precision);
    std::snprintf(out, sizeof out, format, v);
  }
  return out;
}

int Param::ValueForText(const std::string& text) const {
  for (const auto& entry : displayTexts) {
    if (entry.second == text) return TruncToInt(entry.first);
  }
  return -1;
}

bool Param::ValueForTypedText(const std::string& text, double& value) const {
  if (IsListKind()) {
    value = ValueForText(text);
    return true;
  }
  const char* start = text.c_str();
  char* end = nullptr;
  const double number = std::strtod(start, &end);
  if (end == start || std::isnan(number)) return false;
  value = displayNegated ? -number : number;
  return true;
}

std::vector<std::string> Param::ValueTexts() const {
  std::vector<std::string> texts;
  if (!IsListKind()) return texts;
  for (const auto& entry : displayTexts) texts.push_back(entry.second);
  return texts;
}
