// The number line of a value box drawn by the window layer itself: typing,
// the caret's keys, and the selection the box opens with.
#include <gtest/gtest.h>

#include "editor/edit_line.h"

TEST(EditLine, TheFirstCharacterTypedReplacesTheTextTheBoxOpensWith) {
  EditLine line(31);
  line.SetText("16");
  EXPECT_TRUE(line.AllSelected());
  EXPECT_EQ(line.Caret(), 2u);
  EXPECT_TRUE(line.Type('2'));
  EXPECT_EQ(line.Text(), "2");
  EXPECT_FALSE(line.AllSelected());
  EXPECT_TRUE(line.Type('4'));
  EXPECT_EQ(line.Text(), "24");
}

TEST(EditLine, TakesWhatANumberHoldsAndRefusesTheRest) {
  EditLine line(31);
  line.SetText("");
  for (char c : std::string("-1.5e+3E9")) EXPECT_TRUE(line.Type(c)) << c;
  for (char c : std::string("x ,/a")) EXPECT_FALSE(line.Type(c)) << c;
  EXPECT_EQ(line.Text(), "-1.5e+3E9");
}

TEST(EditLine, TheCaretMovesAndEditsWhereItStands) {
  EditLine line(31);
  line.SetText("123");
  // Right ends the selection at its end, Left at its start.
  EXPECT_TRUE(line.Press(EditKey::kRight));
  EXPECT_EQ(line.Caret(), 3u);
  EXPECT_TRUE(line.Press(EditKey::kLeft));
  EXPECT_TRUE(line.Press(EditKey::kLeft));
  EXPECT_EQ(line.Caret(), 1u);
  EXPECT_TRUE(line.Press(EditKey::kDelete));  // removes "2"
  EXPECT_EQ(line.Text(), "13");
  EXPECT_TRUE(line.Press(EditKey::kBackspace));  // removes "1"
  EXPECT_EQ(line.Text(), "3");
  EXPECT_EQ(line.Caret(), 0u);
  EXPECT_FALSE(line.Press(EditKey::kBackspace));
  EXPECT_FALSE(line.Press(EditKey::kLeft));
  EXPECT_TRUE(line.Type('.'));
  EXPECT_EQ(line.Text(), ".3");
  EXPECT_TRUE(line.Press(EditKey::kEnd));
  EXPECT_FALSE(line.Press(EditKey::kDelete));
  EXPECT_FALSE(line.Press(EditKey::kRight));
  EXPECT_TRUE(line.Press(EditKey::kHome));
  EXPECT_EQ(line.Caret(), 0u);
}

TEST(EditLine, BackspaceOrDeleteOnTheSelectionEmptiesTheLine) {
  for (EditKey key : {EditKey::kBackspace, EditKey::kDelete}) {
    EditLine line(31);
    line.SetText("9");
    EXPECT_TRUE(line.Press(key));
    EXPECT_EQ(line.Text(), "");
    EXPECT_EQ(line.Caret(), 0u);
  }
}

TEST(EditLine, HoldsNoMoreThanItsCapacity) {
  EditLine line(3);
  line.SetText("12345");
  EXPECT_EQ(line.Text(), "123");
  EXPECT_TRUE(line.Press(EditKey::kEnd));
  EXPECT_FALSE(line.Type('4'));
  EXPECT_EQ(line.Text(), "123");
  // A full line still takes a character that replaces its selection.
  line.SetText("123");
  EXPECT_TRUE(line.Type('4'));
  EXPECT_EQ(line.Text(), "4");
}
