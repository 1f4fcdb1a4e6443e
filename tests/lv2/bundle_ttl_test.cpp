// The Turtle writer's naming and number rules; the files themselves are
// checked through real hosts (tests/lv2/run.sh).
#include <gtest/gtest.h>

#include "dither/dither_plugin.h"
#include "lv2/bundle_ttl.h"

TEST(BundleTtl, PortSymbolsAreParameterNamesWithUnderscores) {
  EXPECT_EQ(PortSymbol("psychoacoustic power"), "psychoacoustic_power");
  EXPECT_EQ(PortSymbol("dither"), "dither");
  EXPECT_EQ(PortSymbol("a-b (c)"), "a_b__c_");
}

TEST(BundleTtl, PresetNamesBecomeLowerCaseSlugs) {
  EXPECT_EQ(PresetSlug("CD render (hard)"), "cd-render-hard");
  EXPECT_EQ(PresetSlug("  Default "), "default");
  EXPECT_EQ(PresetSlug("-"), "");
}

TEST(BundleTtl, EmptyProgramSlotsAreNotPresets) {
  DitherPlugin plug;
  const std::string presets = PresetsTtl(plug);
  EXPECT_NE(presets.find("rdfs:label \"CD render (soft)\""), std::string::npos);
  EXPECT_EQ(presets.find("rdfs:label \"-\""), std::string::npos);
  EXPECT_EQ(presets.find("#preset- "), std::string::npos);
  // The manifest names each preset; the empty slots are not among them.
  const std::string manifest = ManifestTtl(plug, true);
  for (const char* slug :
       {"#preset-default>", "#preset-cd-render-hard>", "#preset-cd-render-soft>"})
    EXPECT_NE(manifest.find(slug), std::string::npos) << slug << "\n" << manifest;
  EXPECT_EQ(manifest.find("#preset->"), std::string::npos) << manifest;
  EXPECT_EQ(manifest.find("\"-\""), std::string::npos) << manifest;
}

TEST(BundleTtl, ValuesThatAreNotWholeNumbersReadBackExactly) {
  PlugDescription description;
  description.name = "x";
  description.paramCount = 1;
  PlugBase plug(description);
  plug.ParamAt(0).DefineDouble("gain", 0.1, -1.0 / 3.0, 2.5, 0.01, nullptr);
  const std::string ttl = PluginTtl(plug, false);
  EXPECT_NE(ttl.find("lv2:default 0.10000000000000001 ;"), std::string::npos) << ttl;
  EXPECT_NE(ttl.find("lv2:minimum -0.33333333333333331 ;"), std::string::npos);
  EXPECT_NE(ttl.find("lv2:maximum 2.5\n"), std::string::npos);
}
