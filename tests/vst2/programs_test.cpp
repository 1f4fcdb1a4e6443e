#include <gtest/gtest.h>

#include <cstring>

#include "core/text_copy.h"
#include "support/test_host.h"

namespace {

class ProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHost::Install();
    plug = OpenPlugin();
  }
  void TearDown() override { ClosePlugin(plug); }

  std::string NameAt(int32_t index) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    if (Dispatch(plug, effGetProgramNameIndexed, index, 0, buffer) == 0) return "<refused>";
    EXPECT_EQ(buffer[kProgramNameCapacity], '#');
    return buffer;
  }
  std::string CurrentName() {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(Dispatch(plug, effGetProgramName, 0, 0, buffer), 1);
    EXPECT_EQ(buffer[kProgramNameCapacity], '#');
    return buffer;
  }
  double Value(int index) { return plug->ParamAt(index).Value(); }

  DitherPlugin* plug = nullptr;
};

}  // namespace

TEST_F(ProgramsTest, EightProgramsWithTheirNames) {
  EXPECT_EQ(RecordOf(plug)->numPrograms, 8);
  EXPECT_EQ(Dispatch(plug, effGetProgram), 0);
  EXPECT_EQ(CurrentName(), "");
  EXPECT_EQ(NameAt(0), "Default");
  EXPECT_EQ(NameAt(1), "CD render (hard)");
  EXPECT_EQ(NameAt(2), "CD render (soft)");
  for (int i = 3; i < 8; ++i) EXPECT_EQ(NameAt(i), "-");
  EXPECT_EQ(NameAt(8), "<refused>");
  EXPECT_EQ(NameAt(-1), "<refused>");
}

TEST_F(ProgramsTest, ProgramsSetTheirValues) {
  EXPECT_EQ(Dispatch(plug, effSetProgram, 0, 2), 1);
  EXPECT_EQ(Value(kParamDither), 1.0);
  EXPECT_EQ(Value(kParamShaping), 9.0);
  EXPECT_EQ(Value(kParamTargetBits), 16.0);
  EXPECT_EQ(Value(kParamShowGraph), 1.0);
  EXPECT_TRUE(plug->DitherOn());
  EXPECT_EQ(Dispatch(plug, effSetProgram, 0, 1), 1);
  EXPECT_EQ(Value(kParamDither), 0.0);
  EXPECT_FALSE(plug->DitherOn());
  EXPECT_EQ(CurrentName(), "CD render (hard)");
}

TEST_F(ProgramsTest, OutOfRangeSelectionsAreRefused) {
  Dispatch(plug, effSetProgram, 0, 2);
  EXPECT_EQ(Dispatch(plug, effSetProgram, 0, 8), 0);
  EXPECT_EQ(Dispatch(plug, effSetProgram, 0, -1), 0);
  EXPECT_EQ(Dispatch(plug, effGetProgram), 2);
}

TEST_F(ProgramsTest, EditsFollowTheProgramTheyWereMadeIn) {
  RecordOf(plug)->setParameter(RecordOf(plug), kParamTargetBits, 14.0f / 26.0f);
  EXPECT_EQ(Value(kParamTargetBits), 20.0);
  Dispatch(plug, effSetProgram, 0, 1);
  EXPECT_EQ(Value(kParamTargetBits), 16.0);
  Dispatch(plug, effSetProgram, 0, 0);
  EXPECT_EQ(Value(kParamTargetBits), 20.0);
}

TEST_F(ProgramsTest, RenamesFollowTheProgramAndAreBounded) {
  char name[] = "My master";
  EXPECT_EQ(Dispatch(plug, effSetProgramName, 0, 0, name), 1);
  EXPECT_EQ(CurrentName(), "My master");
  EXPECT_EQ(NameAt(0), "My master");
  Dispatch(plug, effSetProgram, 0, 3);
  EXPECT_EQ(NameAt(0), "My master");
  Dispatch(plug, effSetProgram, 0, 0);
  EXPECT_EQ(CurrentName(), "My master");

  const std::string longName(200, 'z');
  EXPECT_EQ(Dispatch(plug, effSetProgramName, 0, 0, const_cast<char*>(longName.c_str())), 1);
  EXPECT_EQ(CurrentName(), std::string(kProgramNameCapacity - 1, 'z'));
  EXPECT_EQ(Dispatch(plug, effSetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(plug, effGetProgramName, 0, 0, nullptr), 0);
}

// The working name starts empty; leaving the program then keeps the name it
// has.
TEST_F(ProgramsTest, LeavingAProgramWithoutAWorkingNameKeepsItsName) {
  ASSERT_EQ(CurrentName(), "");
  Dispatch(plug, effSetProgram, 0, 3);
  EXPECT_EQ(NameAt(0), "Default");
  Dispatch(plug, effSetProgram, 0, 0);
  EXPECT_EQ(CurrentName(), "Default");
  EXPECT_EQ(NameAt(3), "-");
}

TEST_F(ProgramsTest, AProgramWithTheWrongValueCountIsIgnored) {
  plug->AddPreset("short", {1.0, 2.0});
  plug->RecallPreset(plug->ProgramCount() - 1);
  EXPECT_EQ(plug->CurrentProgram(), 0);
  EXPECT_EQ(Value(kParamShaping), 9.0);
}

TEST_F(ProgramsTest, RecallLimitsStoredValuesToTheRange) {
  plug->AddPreset("wild", {5.0, -3.0, 99.0, 0.5});
  plug->RecallPreset(plug->ProgramCount() - 1);
  EXPECT_EQ(Value(kParamDither), 1.0);
  EXPECT_EQ(Value(kParamShaping), 0.0);
  EXPECT_EQ(Value(kParamTargetBits), 32.0);
  EXPECT_EQ(Value(kParamShowGraph), 0.5);  // no step rounding on recall
}
