#include "lv2/bundle_ttl.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "lv2/bundle.h"
#include "plug/plug_identity.h"
#include "plug/plug_base.h"

namespace {

constexpr const char* kPrefixes =
    "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
    "@prefix pset:  <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix urid:  <http://lv2plug.in/ns/ext/urid#> .\n\n";

std::string Uri(const std::string& uri) { return "<" + uri + ">"; }

// A Turtle string literal.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A decimal literal that reads back as the same double: whole numbers as
// "16.0", anything else with all the digits a double needs.
std::string Number(double v) {
  char text[40];
  if (v == std::floor(v) && std::fabs(v) < 1e15) {
    std::snprintf(text, sizeof text, "%.1f", v);
  } else {
    std::snprintf(text, sizeof text, "%.17g", v);
  }
  return text;
}

bool IsNamedProgram(const std::string& name) { return !PresetSlug(name).empty(); }

std::string ControlPort(Param& param, uint32_t index) {
  std::string port = "[\n    a lv2:InputPort , lv2:ControlPort ;\n";
  port += "    lv2:index " + std::to_string(index) + " ;\n";
  port += "    lv2:symbol " + Quoted(PortSymbol(param.Name())) + " ;\n";
  port += "    lv2:name " + Quoted(param.Name()) + " ;\n";
  port += "    lv2:default " + Number(param.Value()) + " ;\n";
  port += "    lv2:minimum " + Number(param.Min()) + " ;\n";
  port += "    lv2:maximum " + Number(param.Max());
  if (param.Kind() == ParamKind::Bool) {
    // A toggle speaks for itself; its "off"/"on" texts are not scale points.
    port += " ;\n    lv2:portProperty lv2:toggled";
  } else {
    if (param.Kind() == ParamKind::Int || param.Kind() == ParamKind::Enum) {
      port += " ;\n    lv2:portProperty lv2:integer";
    }
    if (param.Kind() == ParamKind::Enum) port += " , lv2:enumeration";
    for (const auto& [value, text] : param.DisplayTexts()) {
      port += " ;\n    lv2:scalePoint [ rdfs:label " + Quoted(text) + " ; rdf:value " +
              Number(value) + " ]";
    }
  }
  return port + "\n  ]";
}

std::string AudioPort(bool input, uint32_t index, int channel) {
  const std::string symbol = std::string(input ? "in_" : "out_") + std::to_string(channel + 1);
  const std::string name = std::string(input ? "Input " : "Output ") + std::to_string(channel + 1);
  return std::string("[\n    a lv2:AudioPort , ") + (input ? "lv2:InputPort" : "lv2:OutputPort") +
         " ;\n    lv2:index " + std::to_string(index) + " ;\n    lv2:symbol " + Quoted(symbol) +
         " ;\n    lv2:name " + Quoted(name) + "\n  ]";
}

}  // namespace

std::string PortSymbol(const std::string& name) {
  std::string symbol;
  for (char c : name) symbol += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return symbol;
}

std::string PresetSlug(const std::string& name) {
  std::string slug;
  bool gap = false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u)) {
      if (gap && !slug.empty()) slug += '-';
      slug += static_cast<char>(std::tolower(u));
      gap = false;
    } else {
      gap = true;
    }
  }
  return slug;
}

std::string ManifestTtl(PlugBase& plug, bool withUi) {
  std::string ttl = kPrefixes;
  ttl += Uri(PluginIdentity().lv2Uri) + "\n  a lv2:Plugin ;\n  lv2:binary " + Uri(kLv2DspBinary) +
         " ;\n  rdfs:seeAlso <quorvane.ttl> .\n\n";
  if (withUi) {
    ttl += Uri(PluginIdentity().lv2UiUri) + "\n  a ui:X11UI ;\n  ui:binary " + Uri(kLv2UiBinary) +
           " ;\n  rdfs:seeAlso <quorvane.ttl> .\n\n";
  }
  for (int i = 0; i < plug.ProgramCount(); ++i) {
    const std::string& name = plug.ProgramAt(i).name;
    if (!IsNamedProgram(name)) continue;
    ttl += Uri(PluginIdentity().lv2PresetPrefix + PresetSlug(name)) +
           "\n  a pset:Preset ;\n  lv2:appliesTo " + Uri(PluginIdentity().lv2Uri) +
           " ;\n  rdfs:label " + Quoted(name) + " ;\n  rdfs:seeAlso <presets.ttl> .\n\n";
  }
  return ttl;
}

std::string PluginTtl(PlugBase& plug, bool withUi) {
  std::string ttl = kPrefixes;
  ttl += Uri(PluginIdentity().lv2Uri) + "\n  a lv2:Plugin , lv2:UtilityPlugin , doap:Project ;\n";
  ttl += "  doap:name " + Quoted(plug.EffectName()) + " ;\n";
  ttl += "  doap:maintainer [ foaf:name " + Quoted(plug.VendorString()) + " ] ;\n";
  ttl += "  lv2:optionalFeature urid:map , opts:options ;\n";
  ttl += "  opts:supportedOption bufsz:maxBlockLength , bufsz:nominalBlockLength ;\n";
  if (withUi) ttl += "  ui:ui " + Uri(PluginIdentity().lv2UiUri) + " ;\n";
  const Lv2PortLayout layout{static_cast<uint32_t>(plug.ParamCount()),
                             static_cast<uint32_t>(plug.InputsInUse()),
                             static_cast<uint32_t>(plug.OutputsInUse())};
  ttl += "  lv2:port ";
  for (uint32_t i = 0; i < layout.params; ++i) {
    ttl += ControlPort(plug.ParamAt(static_cast<int>(i)), i) + " , ";
  }
  for (uint32_t c = 0; c < layout.inputs; ++c) {
    ttl += AudioPort(true, layout.FirstInput() + c, static_cast<int>(c)) + " , ";
  }
  for (uint32_t c = 0; c < layout.outputs; ++c) {
    ttl += AudioPort(false, layout.FirstOutput() + c, static_cast<int>(c));
    ttl += c + 1 < layout.outputs ? " , " : " .\n";
  }
  if (withUi) {
    // The UI embeds itself in the host's window when given one, and shows a
    // window of its own through the show interface otherwise.
    ttl += "\n" + Uri(PluginIdentity().lv2UiUri) +
           "\n  a ui:X11UI ;\n"
           "  lv2:requiredFeature ui:idleInterface ,"
           " <http://lv2plug.in/ns/ext/instance-access> ;\n"
           "  lv2:optionalFeature ui:parent , ui:resize ;\n"
           "  lv2:extensionData ui:idleInterface , ui:showInterface , ui:resize .\n";
  }
  return ttl;
}

std::string PresetsTtl(PlugBase& plug) {
  std::string ttl = kPrefixes;
  for (int i = 0; i < plug.ProgramCount(); ++i) {
    const Preset& preset = plug.ProgramAt(i);
    if (!IsNamedProgram(preset.name)) continue;
    ttl += Uri(PluginIdentity().lv2PresetPrefix + PresetSlug(preset.name)) +
           "\n  a pset:Preset ;\n  lv2:appliesTo " + Uri(PluginIdentity().lv2Uri) +
           " ;\n  rdfs:label " + Quoted(preset.name) + " ;\n  lv2:port ";
    for (size_t p = 0; p < preset.values.size(); ++p) {
      ttl += "[ lv2:symbol " + Quoted(PortSymbol(plug.ParamAt(static_cast<int>(p)).Name())) +
             " ; pset:value " + Number(preset.values[p]) + " ]";
      ttl += p + 1 < preset.values.size() ? " ,\n    " : " .\n\n";
    }
  }
  return ttl;
}
