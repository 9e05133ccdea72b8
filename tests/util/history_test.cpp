#include "util/history.h"

#include <gtest/gtest.h>

#include "support/fake_list_controls.h"

namespace brevane::util {
namespace {

using testing::FakeComboBox;

TEST(AddToHistoryTest, MovesAnEqualEntryToTheTop) {
  FakeComboBox combo;
  combo.items = {"root\\cimv2", "root\\default"};
  combo.editText = " root\\default ";
  AddToHistory(combo, " root\\default ");
  EXPECT_EQ(combo.items, (StringList{"root\\default", "root\\cimv2"}));
  EXPECT_EQ(combo.editText, "root\\default");
}

TEST(AddToHistoryTest, NewTextGoesOnTopAndLeavesTheEditText) {
  FakeComboBox combo;
  combo.items = {"select * from Win32_Process"};
  combo.editText = "  typed  ";
  AddToHistory(combo, "\tSELECT * from Win32_Process\r\n");
  EXPECT_EQ(combo.items,
            (StringList{"SELECT * from Win32_Process", "select * from Win32_Process"}));
  EXPECT_EQ(combo.editText, "  typed  ");
}

TEST(AddToHistoryTest, BlankTextChangesNothing) {
  for (const char* blank : {"", "   ", "\t\r\n", "\x01 \x1F"}) {
    FakeComboBox combo;
    combo.items = {"a"};
    combo.editText = "x";
    AddToHistory(combo, blank);
    EXPECT_EQ(combo.items, StringList{"a"});
    EXPECT_EQ(combo.editText, "x");
  }
}

TEST(AddToHistoryTest, RemovesOnlyTheUpperOfTwoEqualEntries) {
  FakeComboBox combo;
  combo.items = {"b", "a", "c", "a"};
  AddToHistory(combo, "a");
  EXPECT_EQ(combo.items, (StringList{"a", "b", "c", "a"}));
}

}  // namespace
}  // namespace brevane::util
