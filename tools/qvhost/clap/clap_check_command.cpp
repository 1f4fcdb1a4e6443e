// `qvhost clap MODULE [--gui]`, and its entry and parameter groups.
#include <cmath>
#include <cstring>
#include <string>

#include "plug/plug_identity.h"
#include "tools/qvhost/clap/clap_checks.h"
#include "tools/qvhost/clap/clap_host_objects.h"
#include "tools/qvhost/commands.h"
#include "tools/qvhost/clap/loaded_clap.h"

using namespace clap;

namespace {

bool HasFeature(const PluginDescriptor& descriptor, const char* feature) {
  for (const char* const* f = descriptor.features; f && *f; ++f) {
    if (std::strcmp(*f, feature) == 0) return true;
  }
  return false;
}

bool Same(const char* text, const char* expected) {
  return text && std::strcmp(text, expected) == 0;
}

}  // namespace

void CheckThreads(const ClapHost& host, ValidationLog& log, const char* group) {
  const char* first = host.firstViolation.load();
  if (!log.Check(host.violations == 0, Format("%s: no host call broke the thread rules", group))) {
    log.Note(Format("%d calls, the first %s", host.violations.load(), first ? first : "?"));
  }
}

void CheckClapEntry(const ClapCheckOptions& options, ValidationLog& log) {
  LoadedClap module;
  if (!log.Check(module.Load(options.path), "entry: the module loads and makes its plug-in"))
    return;
  const PluginEntry& entry = module.Entry();
  log.Check(entry.version.major >= 1 && entry.getFactory("clap.no-such-factory") == nullptr &&
                entry.getFactory(nullptr) == nullptr,
            "entry: version 1.x; unknown factory ids give null");
  const PluginFactory& factory = module.Factory();
  const clap::Host* host = module.Host().Record();
  const PlugIdentity& identity = PluginIdentity();
  const std::string id = identity.clapId;
  log.Check(factory.getPluginCount(&factory) == 1 &&
                factory.getPluginDescriptor(&factory, 1) == nullptr &&
                factory.createPlugin(&factory, host, (id + ".other").c_str()) == nullptr &&
                factory.createPlugin(&factory, host, nullptr) == nullptr &&
                factory.createPlugin(&factory, nullptr, id.c_str()) == nullptr,
            "factory: one plug-in; other indices, ids and a null host give null");
  const PluginDescriptor& d = *factory.getPluginDescriptor(&factory, 0);
  log.Note(Format("plug-in %s \"%s\" by %s, version %s", d.id, d.name, d.vendor,
                  d.versionText ? d.versionText : "(none)"));
  bool features = true;
  for (const char* const* f = identity.clapFeatures; *f; ++f) features &= HasFeature(d, *f);
  log.Check(d.version.major >= 1 && Same(d.id, identity.clapId) && Same(d.name, identity.name) &&
                Same(d.vendor, identity.vendor) &&
                Same(d.versionText, VersionText(identity.version).c_str()) && features,
            "descriptor: id, name, vendor, version and features");
  // Repeated init and deinit, in pairs on top of the loader's own.
  bool paired = true;
  for (int i = 0; i < 3; ++i) paired = entry.init(options.path) && paired;
  for (int i = 0; i < 3; ++i) entry.deinit();
  const Plugin* another = module.CreateAnother();
  const bool made = another && another->init(another);
  if (another) another->destroy(another);
  log.Check(paired && made && entry.getFactory(kPluginFactoryId) == &factory,
            "entry: init and deinit repeated in pairs leave the module working");
  CheckThreads(module.Host(), log, "entry");
  // Unloaded and loaded again at once, three times.
  bool reloaded = true;
  for (int i = 0; i < 3; ++i) {
    LoadedClap again;
    reloaded = again.Load(options.path) && again.Host().violations == 0 && reloaded;
  }
  log.Check(reloaded, "entry: the module unloaded and loaded again works each time");
}

void CheckClapParams(const ClapCheckOptions& options, ValidationLog& log) {
  LoadedClap module;
  if (!module.Load(options.path)) return;
  const Plugin* p = &module.Plugin();
  const auto* params = module.Ask<PluginParams>(kExtParams);
  if (!log.Check(params != nullptr, "params: the extension is there")) return;
  struct Expected {
    const char* name;
    double min, max;
  };
  const Expected expected[] = {{"dither", 0, 1},
                               {"psychoacoustic power", 0, 12},
                               {"target bits", 6, 32},
                               {"show graph", 0, 1}};
  Findings infos;
  if (params->count(p) != 4) infos.Add(Format("%u parameters", params->count(p)));
  for (uint32_t i = 0; i < 4; ++i) {
    ParamInfo info;
    double value = NAN;
    if (!params->getInfo(p, i, &info) || !params->getValue(p, info.id, &value)) {
      infos.Add(Format("no info or value for %u", i));
      continue;
    }
    const Expected& e = expected[i];
    if (info.id != i || !Same(info.name, e.name) || info.minValue != e.min ||
        info.maxValue != e.max || !(info.flags & kParamIsStepped) ||
        !(info.flags & kParamIsAutomatable) || info.defaultValue < e.min ||
        info.defaultValue > e.max || info.defaultValue != std::floor(info.defaultValue) ||
        value != info.defaultValue) {
      infos.Add(Format("parameter %u: id %u \"%s\" %g..%g default %g value %g flags %x", i, info.id,
                       info.name, info.minValue, info.maxValue, info.defaultValue, value,
                       info.flags));
    }
    log.Note(Format("%u %s %g..%g default %g", info.id, info.name, info.minValue, info.maxValue,
                    info.defaultValue));
  }
  ParamInfo info;
  double value = 0.0;
  if (params->getInfo(p, 4, &info) || params->getInfo(p, 0, nullptr) ||
      params->getValue(p, 99, &value) || params->getValue(p, 0, nullptr)) {
    infos.Add("an index or id past the list, or a null result, was answered");
  }
  log.Check(infos, "params: ids 0-3 in order, named, stepped plain ranges, defaults as values");

  // The VST 2.x build's display texts at plain values stepped to the nearest
  // step (a midpoint going up), and the value box's rules.
  Findings texts;
  struct Text {
    Id id;
    double value;
    const char* text;
  };
  const Text shown[] = {{0, 0, "off"},   {0, 1, "on"},    {1, 0, "off"}, {1, 7, "7"},
                        {1, 12, "12"},   {2, 16, "16"},   {2, 24, "24"}, {2, 19.7, "20"},
                        {2, 19.5, "20"}, {2, 19.4, "19"}, {2, 99, "32"}, {3, 0, "off"},
                        {3, 1, "on"}};
  for (const Text& t : shown) {
    char text[64] = {};
    if (!params->valueToText(p, t.id, t.value, text, sizeof text) || !Same(text, t.text)) {
      texts.Add(Format("%u at %g shows \"%s\", not \"%s\"", t.id, t.value, text, t.text));
    }
  }
  char small[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
  if (!params->valueToText(p, 2, 24, small, 2) || small[0] != '2' || small[1] != '\0' ||
      small[2] != 'x') {
    texts.Add("a 2-byte buffer was not respected");
  }
  char text[64];
  if (params->valueToText(p, 2, NAN, text, sizeof text) ||
      params->valueToText(p, 9, 1, text, sizeof text) ||
      params->valueToText(p, 2, 20, nullptr, 64) || params->valueToText(p, 2, 20, text, 0)) {
    texts.Add("NaN, an unknown id or no buffer was answered");
  }
  struct Typed {
    Id id;
    const char* text;
    bool accepted;
    double value;
  };
  const Typed typed[] = {{2, "20", true, 20},     {2, " 20 bits", true, 20}, {2, "15.5", true, 16},
                         {2, "twenty", false, 0}, {2, "40", true, 32},       {2, "", false, 0},
                         {0, "on", true, 1},      {0, "maybe", false, 0},    {1, "off", true, 0},
                         {1, "5", true, 5},       {9, "5", false, 0}};
  for (const Typed& t : typed) {
    double read = -1.0;
    const bool accepted = params->textToValue(p, t.id, t.text, &read);
    if (accepted != t.accepted || (accepted && read != t.value)) {
      texts.Add(Format("\"%s\" for %u gave %d, %g", t.text, t.id, accepted ? 1 : 0, read));
    }
  }
  if (params->textToValue(p, 2, nullptr, &value) || params->textToValue(p, 2, "20", nullptr)) {
    texts.Add("a null text or result was answered");
  }
  // Every text value_to_text gives reads back as its value.
  for (Id id = 0; id < 4; ++id) {
    ParamInfo info;
    if (!params->getInfo(p, id, &info)) continue;
    for (double v = info.minValue; v <= info.maxValue; v += 1.0) {
      char shown[64] = {};
      double read = -1.0;
      if (!params->valueToText(p, id, v, shown, sizeof shown) ||
          !params->textToValue(p, id, shown, &read) || read != v) {
        texts.Add(Format("%u at %g shows \"%s\", which reads back as %g", id, v, shown, read));
      }
    }
  }
  log.Check(texts, "params: value_to_text and text_to_value, which reads back every text shown");

  // Flushed while inactive: known ids apply, limited; the rest is ignored.
  double before[4];
  for (Id id = 0; id < 4; ++id) params->getValue(p, id, &before[id]);
  InputEventList events;
  events.AddValue(2, 0, 20.0);
  events.AddValue(99, 0, 1.0);
  events.AddValue(kInvalidId, 0, 1.0);
  events.AddValue(1, 0, NAN);
  events.AddValue(1, 5000, 100.0);
  events.AddForeign(1, kEventParamValue, 0);
  events.AddForeign(kCoreEventSpace, 6, 0);
  params->flush(p, events.Record(), nullptr);
  params->flush(p, nullptr, nullptr);
  double after[4];
  for (Id id = 0; id < 4; ++id) params->getValue(p, id, &after[id]);
  log.Check(after[2] == 20.0 && after[1] == 12.0 && after[0] == before[0] && after[3] == before[3],
            "params: flush while inactive applies known ids, limited, and skips the rest");
  CheckThreads(module.Host(), log, "params");
}

int ClapCommand(int argc, char** argv) {
  if (argc < 3) return kExitUsage;
  ClapCheckOptions options;
  options.path = argv[2];
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--gui") != 0) return kExitUsage;
    options.gui = true;
  }
  ValidationLog log;
  CheckClapEntry(options, log);
  CheckClapParams(options, log);
  CheckClapState(options, log);
  CheckClapAudio(options, log);
  CheckClapPresets(options, log);
  CheckClapGui(options, log);
  return log.Failures() == 0 ? kExitSuccess : kExitFailure;
}
