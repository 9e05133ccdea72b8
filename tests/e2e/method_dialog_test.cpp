// End to end on the fake world "objects": the method dialog on a class with a static method.
// A number out of its type's range is refused beside its field with nothing sent; fixed, the
// call is confirmed once and the provider receives exactly the typed values, which its answer
// echoes into the result box with the return code's meaning. An instance method then refreshes
// the instance's values in the grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/launched_app.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using app::win32::kIdMethodCombo;
using app::win32::kIdMethodFieldBase;
using app::win32::kIdMethodResult;
using app::win32::kIdMethodStatus;

using MethodDialogTest = LaunchedAppTest;

enum RowPart { kLabel = 0, kEditor = 1, kMessage = 2 };

HWND RowControl(HWND dialog, int row, RowPart part) {
  return GetDlgItem(dialog, kIdMethodFieldBase + 3 * row + part);
}

void SetText(HWND control, const wchar_t* text) {
  SendToProgram(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

TEST_F(MethodDialogTest, RefusesAnOutOfRangeNumberSendsTheTypedValuesAndRefreshesTheInstance) {
  LaunchFakeWithClasses(L"standard,objects");
  if (IsSkipped() || HasFatalFailure()) return;
  ChooseClass("Brevane_Sampler");
  PostMenuCommand(main_, app::win32::kCmdExecuteMethod);
  HWND dialog = app_->WaitForDialog(L"执行方法", 20s);
  ASSERT_NE(dialog, nullptr);
  HWND combo = GetDlgItem(dialog, kIdMethodCombo);
  HWND result = GetDlgItem(dialog, kIdMethodResult);
  // No instance is chosen: only the static method is offered, its nine parameters in ID order.
  ASSERT_TRUE(
      WaitUntil([&] { return ComboItems(combo) == std::vector<std::string>{"Echo"}; }, 20s));
  ASSERT_TRUE(WaitUntil([&] { return RowControl(dialog, 8, kLabel) != nullptr; }, 10s));
  EXPECT_EQ(WindowText(RowControl(dialog, 0, kLabel)), "Level (uint8)");
  EXPECT_EQ(WindowText(RowControl(dialog, 8, kLabel)), "Target (ref:Brevane_Service)");

  SetText(RowControl(dialog, 0, kEditor), L"300");
  SetText(RowControl(dialog, 4, kEditor), L"a\r\nb c");  // string[]: one element per line
  SetText(RowControl(dialog, 7, kEditor), L"High");      // Values name, ValueMap sent
  PostButtonClick(GetDlgItem(dialog, IDOK));
  ASSERT_TRUE(WaitUntil([&] { return !WindowText(RowControl(dialog, 0, kMessage)).empty(); }, 10s));
  ASSERT_TRUE(Sync(dialog, 5s));
  EXPECT_NE(WindowText(GetDlgItem(dialog, kIdMethodStatus)).find("Nothing was sent"),
            std::string::npos);
  EXPECT_EQ(app_->FindDialog(L"Brevane"), nullptr) << "no question before a call that is refused";
  EXPECT_EQ(WindowText(result), "");

  SetText(RowControl(dialog, 0, kEditor), L"7");
  PostButtonClick(GetDlgItem(dialog, IDOK));
  HWND question = app_->WaitForDialog(L"Brevane", 10s);
  ASSERT_NE(question, nullptr);
  const std::string asked = MessageBoxText(question);
  EXPECT_NE(asked.find("Echo on Brevane_Sampler on this computer"), std::string::npos) << asked;
  PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return !WindowText(result).empty(); }, 20s));
  EXPECT_EQ(WindowText(result),
            "ReturnValue: 0 = Success\r\n"
            "Received: Level=uint8 7; Offset=NULL; Ratio=NULL; When=NULL; Names=string[] [a, b c]; "
            "Codes=NULL; Force=NULL; Mode=uint16 3; Target=NULL\r\n"
            "Count: 3");
  EXPECT_EQ(WindowText(RowControl(dialog, 0, kMessage)), "") << "the message is gone once fixed";

  // 取消 closes it; the close at the end would otherwise take it for a message box.
  const auto closeDialog = [&] {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 10s));
  };
  closeDialog();

  // An instance method: every method is offered, and the grid reads the instance again.
  ChooseClass("Brevane_Service");
  int gamma = -1;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const std::vector<std::string> lines = ListBoxItems(instanceList_);
        for (size_t i = 0; i < lines.size(); ++i) {
          if (lines[i] == "Gamma") gamma = static_cast<int>(i);
        }
        return gamma >= 0;
      },
      20s));
  ChooseInstance(gamma);
  ASSERT_TRUE(WaitUntil([&] { return ListViewCell(propGrid_, 0, 1) == "Gamma"; }, 20s));
  const std::vector<std::string> names = ListViewColumn(propGrid_, 0);
  const int stateRow =
      static_cast<int>(std::find(names.begin(), names.end(), "State") - names.begin());
  ASSERT_LT(stateRow, static_cast<int>(names.size()));
  const std::string stateBefore = ListViewCell(propGrid_, stateRow, 1);
  PostMenuCommand(main_, app::win32::kCmdExecuteMethod);
  ASSERT_TRUE(WaitUntil(
      [&] {
        return ComboItems(combo) ==
               std::vector<std::string>{"StartService", "StopService", "ChangeStartMode", "Create"};
      },
      20s));
  PostButtonClick(GetDlgItem(dialog, IDOK));  // the first method is chosen
  question = app_->WaitForDialog(L"Brevane", 10s);
  ASSERT_NE(question, nullptr);
  EXPECT_NE(MessageBoxText(question).find("StartService on Brevane_Service.Name=\"Gamma\""),
            std::string::npos)
      << MessageBoxText(question);
  PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(result) == "ReturnValue: 0 = Success"; }, 20s))
      << WindowText(result);
  EXPECT_TRUE(WaitUntil([&] { return ListViewCell(propGrid_, stateRow, 1) != stateBefore; }, 20s))
      << "the grid still shows State " << stateBefore;
  closeDialog();
}

}  // namespace
}  // namespace brevane::e2e
