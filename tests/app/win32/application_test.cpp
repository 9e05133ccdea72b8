#include "app/win32/application.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "dialogs/win32/connect_form.h"
#include "dialogs/win32/find_dialog.h"

namespace brevane::app::win32 {
namespace {

TEST(ApplicationTest, DialogsThatCannotBeCreatedAreReported) {
  {
    dialogs::win32::TConnectForm connectForm;
    dialogs::win32::TFindDialog findDialog;
    const RunDialogs created = CreateRunDialogs(nullptr, connectForm, findDialog);
    EXPECT_EQ(created.connectForm, &connectForm);
    EXPECT_EQ(created.findDialog, &findDialog);
    EXPECT_TRUE(created.failures.empty());
  }
  // An owner that is gone: no dialog can be made for it.
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  DestroyWindow(owner);
  dialogs::win32::TConnectForm connectForm;
  dialogs::win32::TFindDialog findDialog;
  const RunDialogs created = CreateRunDialogs(owner, connectForm, findDialog);
  ASSERT_EQ(created.failures.size(), 2u);
  EXPECT_EQ(created.connectForm, nullptr);
  EXPECT_EQ(created.findDialog, nullptr);
  EXPECT_EQ(created.failures[0].rfind("The dialog \"连接到\" could not be created", 0), 0u)
      << created.failures[0];
  EXPECT_EQ(created.failures[1].rfind("The dialog \"查找\" could not be created", 0), 0u);
}

}  // namespace
}  // namespace brevane::app::win32
