// What a host restores (a saved state): the program it names becomes the
// current one, with its own name and the saved values, while the program
// that was current keeps its unsaved edits.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/test_host.h"

TEST(RestoreProgram, TheSavedProgramComesWithItsNameAndTheOldOneKeepsItsEdits) {
  const std::unique_ptr<DitherPlugin> plug = BarePlugin();
  ASSERT_TRUE(plug->SelectProgram(1));
  plug->SetParamPlain(kParamTargetBits, 20.0);  // an edit not yet stored
  plug->SetCurrentProgramName("mine");

  const std::vector<double> values = {0.0, 4.0, 10.0, 1.0};
  ASSERT_TRUE(plug->RestoreProgram(2, values));
  EXPECT_EQ(plug->CurrentProgram(), 2);
  EXPECT_EQ(plug->CurrentProgramName(), plug->ProgramAt(2).name);
  for (int i = 0; i < kDitherParamCount; ++i) EXPECT_EQ(plug->ParamAt(i).Value(), values[i]);

  ASSERT_TRUE(plug->SelectProgram(1));
  EXPECT_EQ(plug->ParamAt(kParamTargetBits).Value(), 20.0);
  EXPECT_EQ(plug->CurrentProgramName(), "mine");
}

TEST(RestoreProgram, WhatDoesNotFitIsRefusedAndChangesNothing) {
  const std::unique_ptr<DitherPlugin> plug = BarePlugin();
  ASSERT_TRUE(plug->SelectProgram(1));
  const double bits = plug->ParamAt(kParamTargetBits).Value();
  EXPECT_FALSE(plug->RestoreProgram(8, {0.0, 4.0, 10.0, 1.0}));
  EXPECT_FALSE(plug->RestoreProgram(-1, {0.0, 4.0, 10.0, 1.0}));
  EXPECT_FALSE(plug->RestoreProgram(2, {0.0, 4.0, 10.0}));
  EXPECT_EQ(plug->CurrentProgram(), 1);
  EXPECT_EQ(plug->ParamAt(kParamTargetBits).Value(), bits);
}
