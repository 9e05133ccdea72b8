#include "dialogs/win32/find_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/win32/modal_driver.h"

namespace brevane::dialogs::win32 {
namespace {

using brevane::framework::win32::GetWindowTextUtf8;
using brevane::testing::Click;
using brevane::testing::ComboItems;
using brevane::testing::ModalDriver;
using D = FindDialog;

class FindDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Create(nullptr)); }
  // Runs Execute with step running inside the dialog's loop, bounded.
  bool ExecuteWith(std::function<void()> step) {
    ModalDriver driver;
    driver.After(100, std::move(step));
    driver.After(10000, [&] { dialog.EndModal(IDCANCEL); });
    return dialog.Execute();
  }
  FindDialog dialog;
};

TEST_F(FindDialogTest, ControlsCaptionsAndTabOrder) {
  EXPECT_EQ(GetWindowTextUtf8(dialog.Handle()), "查找");
  const struct {
    int id;
    const char* text;
  } captions[] = {{D::kFindLabel, "查找内容 :"},
                  {D::kMatchWholeWordChk, "Match whole word only"},
                  {D::kMatchCaseChk, "Match case"},
                  {D::kOKBtn, "&查找"},
                  {D::kCancelBtn, "取消"}};
  for (const auto& c : captions) EXPECT_EQ(GetWindowTextUtf8(dialog.Item(c.id)), c.text) << c.id;
  EXPECT_FALSE(dialog.MatchCase());
  EXPECT_FALSE(dialog.WholeWord());
  EXPECT_EQ(dialog.FindText().ItemCount(), 0);

  const int expected[] = {D::kMatchWholeWordChk, D::kMatchCaseChk, D::kOKBtn, D::kCancelBtn,
                          D::kFindText};
  HWND current = dialog.Item(D::kFindText);
  for (int id : expected) {
    current = GetNextDlgTabItem(dialog.Handle(), current, FALSE);
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(GetDlgCtrlID(current), id);
  }
}

TEST_F(FindDialogTest, OkAddsTrimmedTextOnceAndReturnsTrue) {
  dialog.FindText().InsertItem(0, "Win32_Process");
  dialog.FindText().InsertItem(1, "disk");
  dialog.FindText().SetEditText(" disk ");
  dialog.SetMatchCase(true);
  HWND focused = nullptr;
  EXPECT_TRUE(ExecuteWith([&] {
    focused = GetParent(GetFocus());
    Click(dialog.Handle(), IDOK);
  }));
  EXPECT_EQ(focused, dialog.Item(D::kFindText));
  EXPECT_EQ(ComboItems(dialog.FindText()), (std::vector<std::string>{"disk", "Win32_Process"}));
  EXPECT_EQ(dialog.FindText().EditText(), "disk");
  FindDialogPort& port = dialog;
  EXPECT_EQ(port.SearchText(), "disk");
  EXPECT_TRUE(port.MatchCase());
  EXPECT_FALSE(port.WholeWord());
}

TEST_F(FindDialogTest, EnterPressesTheDefaultButton) {
  dialog.FindText().SetEditText("Caption");
  EXPECT_TRUE(ExecuteWith([&] {
    HWND edit = GetFocus();
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  }));
  EXPECT_EQ(ComboItems(dialog.FindText()), std::vector<std::string>{"Caption"});
}

TEST_F(FindDialogTest, CancelKeepsEditsButAddsNothing) {
  dialog.FindText().SetEditText("typed");
  EXPECT_FALSE(ExecuteWith([&] {
    dialog.SetWholeWord(true);
    Click(dialog.Handle(), IDCANCEL);
  }));
  EXPECT_EQ(dialog.FindText().ItemCount(), 0);
  EXPECT_EQ(dialog.FindText().EditText(), "typed");
  EXPECT_TRUE(dialog.WholeWord());
  // OK with an empty text returns true and leaves the history alone.
  dialog.FindText().SetEditText("   ");
  EXPECT_TRUE(ExecuteWith([&] { Click(dialog.Handle(), IDOK); }));
  EXPECT_EQ(dialog.FindText().ItemCount(), 0);
}

}  // namespace
}  // namespace brevane::dialogs::win32
