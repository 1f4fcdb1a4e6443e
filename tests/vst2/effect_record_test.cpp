#include <gtest/gtest.h>

#include <cstring>

#include "plug/plug_identity.h"
#include "support/test_host.h"

TEST(EffectRecord, AFreshRecordDescribesTheDitherPlugin) {
  TestHost::Install();
  DitherPlugin* plug = OpenPlugin();
  const EffectRecord* r = RecordOf(plug);
  EXPECT_EQ(r->magic, 0x56737450);
  EXPECT_EQ(r->numPrograms, 8);
  EXPECT_EQ(r->numParams, 4);
  EXPECT_EQ(r->numInputs, 2);
  EXPECT_EQ(r->numOutputs, 2);
  // Replacing, double replacing, mono and editor.
  EXPECT_EQ(r->flags, 0x1019);
  EXPECT_EQ(r->initialDelay, 0);
  EXPECT_EQ(r->ioRatio, 1.0f);
  EXPECT_EQ(r->version, PluginIdentity().version);
  EXPECT_EQ(r->uniqueID, PluginIdentity().vst2Id);
  EXPECT_EQ(r->object, static_cast<void*>(EffectOf(plug)));
  EXPECT_EQ(r->user, nullptr);
  const char zeros[56] = {};
  EXPECT_EQ(std::memcmp(r->future, zeros, sizeof zeros), 0);
  EXPECT_NE(r->processReplacing, nullptr);
  EXPECT_NE(r->processDoubleReplacing, nullptr);
  EXPECT_NE(r->processAccumulating, nullptr);
  ClosePlugin(plug);
}

TEST(EffectRecord, EveryFunctionIgnoresARecordWithoutObject) {
  TestHost::Install();
  DitherPlugin* plug = OpenPlugin();
  EffectRecord orphan = *RecordOf(plug);
  orphan.object = nullptr;
  float in[4] = {0.5f, 0.5f, 0.5f, 0.5f};
  float out[4] = {7, 7, 7, 7};
  float* ins[2] = {in, in};
  float* outs[2] = {out, out};
  double din[4] = {};
  double dout[4] = {7, 7, 7, 7};
  double* dins[2] = {din, din};
  double* douts[2] = {dout, dout};
  EXPECT_EQ(orphan.dispatcher(&orphan, effGetVstVersion, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(orphan.getParameter(&orphan, 0), 0.0f);
  orphan.setParameter(&orphan, 2, 1.0f);
  orphan.processReplacing(&orphan, ins, outs, 4);
  orphan.processAccumulating(&orphan, ins, outs, 4);
  orphan.processDoubleReplacing(&orphan, dins, douts, 4);
  EXPECT_EQ(out[0], 7.0f);
  EXPECT_EQ(dout[3], 7.0);
  EXPECT_EQ(plug->ParamAt(kParamTargetBits).Value(), 16.0);
  ClosePlugin(plug);
}

TEST(EffectRecord, TwoInstancesAreIndependent) {
  TestHost::Install();
  DitherPlugin* a = OpenPlugin();
  DitherPlugin* b = OpenPlugin();
  RecordOf(a)->setParameter(RecordOf(a), kParamTargetBits, 1.0f);
  EXPECT_EQ(a->ParamAt(kParamTargetBits).Value(), 32.0);
  EXPECT_EQ(b->ParamAt(kParamTargetBits).Value(), 16.0);
  EXPECT_NE(RecordOf(a), RecordOf(b));
  ClosePlugin(a);
  EXPECT_EQ(RecordOf(b)->getParameter(RecordOf(b), kParamTargetBits),
            static_cast<float>(10.0 / 26.0));
  ClosePlugin(b);
}
