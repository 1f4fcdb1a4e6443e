// The Turtle files of the LV2 bundle, written from the plug-in's own
// definitions (parameters with kinds, ranges, defaults and value texts;
// programs with names and values), so the description cannot drift from the
// code.
#pragma once

#include <string>

class PlugBase;

// manifest.ttl: the plug-in, its UI when `withUi`, and every preset.
std::string ManifestTtl(PlugBase& plug, bool withUi);
// The plug-in's description: name, features, options, ports.
std::string PluginTtl(PlugBase& plug, bool withUi);
// One preset per named program. A program whose name holds no letter or
// digit ("-") is an empty slot and is left out.
std::string PresetsTtl(PlugBase& plug);

// Port symbol of a parameter name: letters and digits kept, anything else
// becomes '_' ("psychoacoustic power" gives psychoacoustic_power).
std::string PortSymbol(const std::string& name);
// The URI suffix of a program name: lower-case letters and digits, runs of
// anything else become one '-', none at the ends ("CD render (hard)" gives
// cd-render-hard); empty for a name without letters or digits.
std::string PresetSlug(const std::string& name);
