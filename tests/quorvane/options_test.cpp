#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tools/quorvane/options.h"

namespace {

// The plug-in's programs as the engine lists them (checked against the
// engine itself in engine_test.cpp).
const std::vector<ProgramEntry> kPrograms = {
    {0, "Default", {false, 9, 16}},
    {1, "CD render (hard)", {false, 9, 16}},
    {2, "CD render (soft)", {true, 9, 16}},
    {3, "-", {false, 9, 16}},
    {4, "Low", {false, 3, 8}},
};

struct Parsed {
  ParseOutcome outcome;
  ToolOptions options;
  std::string error;
};

Parsed Parse(std::initializer_list<const char*> arguments) {
  std::vector<const char*> argv = {"quorvane"};
  argv.insert(argv.end(), arguments);
  Parsed parsed;
  parsed.outcome = ParseOptions(static_cast<int>(argv.size()), argv.data(), kPrograms,
                                parsed.options, parsed.error);
  return parsed;
}

void ExpectRefused(std::initializer_list<const char*> arguments, const std::string& message) {
  const Parsed parsed = Parse(arguments);
  EXPECT_EQ(parsed.outcome, ParseOutcome::kError);
  EXPECT_NE(parsed.error.find(message), std::string::npos) << parsed.error;
}

}  // namespace

TEST(Options, DefaultsAreTheSoftCdRenderProgram) {
  const Parsed parsed = Parse({"in.wav", "-o", "out.wav"});
  ASSERT_EQ(parsed.outcome, ParseOutcome::kRun) << parsed.error;
  EXPECT_EQ(parsed.options.program, "CD render (soft)");
  EXPECT_TRUE(parsed.options.settings.dither);
  EXPECT_EQ(parsed.options.settings.power, 9);
  EXPECT_EQ(parsed.options.settings.bits, 16);
  EXPECT_EQ(parsed.options.block, 512);
  EXPECT_FALSE(parsed.options.seedGiven);
  EXPECT_FALSE(parsed.options.floatOutput || parsed.options.overwrite || parsed.options.quiet);
  EXPECT_EQ(parsed.options.inputs, std::vector<std::string>{"in.wav"});
  EXPECT_EQ(parsed.options.output, "out.wav");
}

TEST(Options, ExplicitValuesWinOverTheProgramInAnyOrder) {
  const Parsed before = Parse({"--bits", "20", "--program", "Low", "in.wav", "-o", "o.wav"});
  ASSERT_EQ(before.outcome, ParseOutcome::kRun) << before.error;
  EXPECT_EQ(before.options.settings.bits, 20);
  EXPECT_EQ(before.options.settings.power, 3);
  const Parsed after = Parse({"--program=4", "--power=off", "--dither", "on", "x", "-o", "y"});
  ASSERT_EQ(after.outcome, ParseOutcome::kRun) << after.error;
  EXPECT_EQ(after.options.program, "Low");
  EXPECT_EQ(after.options.settings.power, 0);
  EXPECT_TRUE(after.options.settings.dither);
  EXPECT_EQ(after.options.settings.bits, 8);
}

TEST(Options, ProgramsAreFoundByNameInAnyCaseOrByNumber) {
  EXPECT_EQ(Parse({"--program", "cd RENDER (hard)", "a", "-o", "b"}).options.program,
            "CD render (hard)");
  EXPECT_EQ(Parse({"--program", "0", "a", "-o", "b"}).options.program, "Default");
  ExpectRefused({"--program", "9", "a", "-o", "b"}, "unknown program \"9\"");
  ExpectRefused({"--program", "Loud", "a", "-o", "b"}, "unknown program");
}

TEST(Options, EveryRangeIsCheckedAtBothEnds) {
  for (const char* bits : {"6", "32"}) {
    EXPECT_EQ(Parse({"--bits", bits, "a", "-o", "b"}).outcome, ParseOutcome::kRun) << bits;
  }
  for (const char* bits : {"5", "33", "16.5", "16x", "", " 16", "-16"}) {
    ExpectRefused({"--bits", bits, "a", "-o", "b"}, "--bits must be");
  }
  for (const char* power : {"off", "OFF", "0", "1", "12"}) {
    EXPECT_EQ(Parse({"--power", power, "a", "-o", "b"}).outcome, ParseOutcome::kRun) << power;
  }
  for (const char* power : {"13", "-1", "on"}) {
    ExpectRefused({"--power", power, "a", "-o", "b"}, "--power must be");
  }
  EXPECT_EQ(Parse({"--block", "65536", "a", "-o", "b"}).options.block, 65536);
  ExpectRefused({"--block", "0", "a", "-o", "b"}, "--block must be");
  ExpectRefused({"--block", "65537", "a", "-o", "b"}, "--block must be");
  ExpectRefused({"--dither", "yes", "a", "-o", "b"}, "--dither must be on or off");
  const Parsed seed = Parse({"--seed", "4294967295", "a", "-o", "b"});
  EXPECT_TRUE(seed.options.seedGiven);
  EXPECT_EQ(seed.options.seed, 4294967295u);
  ExpectRefused({"--seed", "4294967296", "a", "-o", "b"}, "--seed must be");
}

TEST(Options, OutputsAreEitherOneFileOrAFolder) {
  const Parsed batch = Parse({"a.wav", "b.wav", "--outdir", "dir", "-y", "-q", "--float"});
  ASSERT_EQ(batch.outcome, ParseOutcome::kRun) << batch.error;
  EXPECT_EQ(batch.options.inputs.size(), 2u);
  EXPECT_EQ(batch.options.outdir, "dir");
  EXPECT_TRUE(batch.options.overwrite && batch.options.quiet && batch.options.floatOutput);
  ExpectRefused({"a.wav"}, "either -o OUTPUT or --outdir");
  ExpectRefused({"a.wav", "-o", "x", "--outdir", "d"}, "either -o OUTPUT or --outdir");
  ExpectRefused({"a.wav", "b.wav", "-o", "x"}, "-o takes a single input");
  ExpectRefused({"-o", "x"}, "no input file");
  ExpectRefused({"a.wav", "b.wav", "--outdir", "d", "--plot", "p.png"}, "--plot takes a single");
}

TEST(Options, UnknownOrMalformedOptionsAreNamed) {
  ExpectRefused({"a", "-o", "b", "--dance"}, "unknown option --dance");
  ExpectRefused({"a", "-o", "b", "-x"}, "unknown option -x");
  ExpectRefused({"a", "-o", "b", "--quiet=1"}, "unknown option --quiet");
  ExpectRefused({"a", "-o", "b", "--float=yes"}, "--float takes no value");
  ExpectRefused({"a", "-o"}, "-o needs a value");
  ExpectRefused({"a", "-o", "b", "--bits"}, "--bits needs a value");
}

TEST(Options, HelpAndVersionStopParsing) {
  EXPECT_EQ(Parse({"--help", "--bits", "99"}).outcome, ParseOutcome::kHelp);
  EXPECT_EQ(Parse({"-h"}).outcome, ParseOutcome::kHelp);
  EXPECT_EQ(Parse({"--version"}).outcome, ParseOutcome::kVersion);
}

TEST(Options, DoubleDashEndsOptions) {
  const Parsed parsed = Parse({"-o", "out.wav", "--", "--odd name.wav"});
  ASSERT_EQ(parsed.outcome, ParseOutcome::kRun) << parsed.error;
  EXPECT_EQ(parsed.options.inputs, std::vector<std::string>{"--odd name.wav"});
}

TEST(Options, HelpListsEveryProgramWithItsSettings) {
  const std::string help = HelpText(kPrograms);
  EXPECT_NE(help.find("2  CD render (soft): 16 bits, dither on, power 9"), std::string::npos);
  EXPECT_NE(help.find("4  Low: 8 bits, dither off, power 3"), std::string::npos);
}

TEST(Options, SettingsDescribeShapingSwitchedOffByTheRate) {
  EXPECT_EQ(DescribeSettings({true, 9, 16}, true), "16 bits, dither on, power 9");
  EXPECT_EQ(DescribeSettings({false, 9, 24}, false),
            "24 bits, dither off, power 9 (off above 96 kHz)");
  EXPECT_EQ(DescribeSettings({true, 0, 8}, false), "8 bits, dither on, power off");
}
