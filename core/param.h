// A plug-in setting: a named actual value with a range, a step, optional
// display texts per exact value, and its normalised form for host and editor.
#pragma once

#include <map>
#include <string>
#include <vector>

enum class ParamKind : int { None = 0, Bool = 1, Int = 2, Enum = 3, Double = 4 };

class Param {
 public:
  // Definitions. The first definition decides the kind.
  void DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                    const char* label);
  void DefineInt(const char* name, int defaultValue, int min, int max, const char* label);
  // The third argument exists for callers that pass a label; it is not used.
  void DefineBool(const char* name, bool defaultValue, const char* unused);
  void SetValueText(float value, const char* text);

  // normalised = ((clamp(v) - min) / (max - min)) ^ (1 / shape)
  double ToNormalized(double v) const;
  double Normalized() const { return ToNormalized(value); }
  double FromNormalized(double x) const;
  // Sets from a host or editor value: not rounded for Double, rounded to the
  // step otherwise, limited from above only. A NaN is ignored.
  void SetFromNormalized(float x);
  // The value SetFromNormalized(x) would set, for a number that is not NaN.
  double ValueFromNormalized(float x) const;
  // Sets an actual value limited to [min, max], without step rounding.
  void SetClamped(double v);
  // The value a host's value in the parameter's own units stands for: unless
  // the kind is Double, rounded to the nearest step (a midpoint goes up);
  // then limited to [min, max]. For a number that is not NaN.
  double SteppedValue(double v) const;
  // Sets SteppedValue(v). A NaN is ignored.
  void SetStepped(double v);

  // Host texts: at most kParamTextCapacity bytes are written, terminated.
  void CopyName(char* buffer) const;
  void CopyLabel(char* buffer) const;
  void FormatValue(char* buffer) const;
  std::string DisplayText() const;

  // The value of the first display text equal to `text`, or -1.
  int ValueForText(const std::string& text) const;
  // The actual value that text typed by a user stands for: for a list kind,
  // ValueForText; otherwise the leading decimal number (blanks skipped, the
  // longest valid prefix), negated when the display is. False, and `value`
  // untouched, when a number is wanted and the text holds none (or NaN):
  // such text is refused rather than read as 0.
  [[nodiscard]] bool ValueForTypedText(const std::string& text, double& value) const;
  std::vector<std::string> ValueTexts() const;
  // Every display text by its exact value, for any kind.
  const std::map<double, std::string>& DisplayTexts() const { return displayTexts; }
  bool IsListKind() const { return kind == ParamKind::Bool || kind == ParamKind::Enum; }

  ParamKind Kind() const { return kind; }
  double Value() const { return value; }
  double Min() const { return min; }
  double Max() const { return max; }
  double Step() const { return step; }
  int Precision() const { return precision; }
  const std::string& Name() const { return name; }
  const std::string& Label() const { return label; }
  // Numbers are displayed, and typed in the editor, with the opposite sign.
  bool IsDisplayNegated() const { return displayNegated; }
  void SetDisplayNegated(bool negated) { displayNegated = negated; }

 private:
  ParamKind kind = ParamKind::None;
  double value = 0.0;
  double min = 0.0;
  double max = 1.0;
  double step = 1.0;
  double shape = 1.0;  // exponent of the normalised curve; always 1 here
  int precision = 0;   // decimal places of the display text, from the step
  std::map<double, std::string> displayTexts;
  std::string name;
  std::string label;
  bool displayNegated = false;
};
