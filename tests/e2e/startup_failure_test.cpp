// End to end on the fake backend: what the user sees when WMI is missing or unreachable at
// start-up, and that the window stays usable afterwards.
#include <gtest/gtest.h>

#include <string>

#include "app/win32/command_ids.h"
#include "e2e/e2e_driver.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;

class StartupFailureTest : public ::testing::Test {
 protected:
  HWND Launch(const std::wstring& scenario) {
    const std::wstring exe = ExeFromEnvironment("BREVANE_FAKE_EXE");
    if (exe.empty()) return nullptr;
    SetEnvironmentVariableW(L"BREVANE_FAKE_SCENARIO", scenario.c_str());
    if (!app_.Start(exe, L"")) return nullptr;
    return app_.WaitForTopWindow(L"Brevane", 30s);
  }

  void ExpectClosesCleanly(HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app_.WaitForExit(15s).has_value()) << "the program did not end after WM_CLOSE";
  }

  AppProcess app_;
};

TEST_F(StartupFailureTest, MissingLocatorShowsItsTextAndTheWindowStaysUsable) {
  HWND main = Launch(L"standard,locator-missing");
  if (ExeFromEnvironment("BREVANE_FAKE_EXE").empty()) GTEST_SKIP() << "BREVANE_FAKE_EXE is not set";
  ASSERT_NE(main, nullptr);
  HWND box = app_.WaitForMessageBox(20s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(
      MessageBoxText(box),
      "Class \"ISWbemLocator\" is not registered on the system.\r\nError code: -2147221164\r\n"
      "Error message: Class not registered");
  DismissMessageBox(box);
  ASSERT_TRUE(WaitUntil([&] { return app_.FindMessageBox() == nullptr; }, 10s));
  // Nothing was loaded, and the window still answers and switches tabs.
  EXPECT_EQ(SendMessageW(GetDlgItem(main, app::win32::kIdClassListBox), LB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(Sync(main, 5s));
  ExpectClosesCleanly(main);
}

TEST_F(StartupFailureTest, UnreachableComputerReportsTheClassListFailure) {
  HWND main = Launch(L"standard,connect-fails");
  if (ExeFromEnvironment("BREVANE_FAKE_EXE").empty()) GTEST_SKIP() << "BREVANE_FAKE_EXE is not set";
  ASSERT_NE(main, nullptr);
  HWND box = app_.WaitForMessageBox(20s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Error: The RPC server is unavailable");
  DismissMessageBox(box);
  HWND status = GetDlgItem(main, app::win32::kIdStatusBar1);
  EXPECT_TRUE(WaitUntil([&] { return StatusPanelText(status, 1) == "Classes: 0"; }, 10s));
  ExpectClosesCleanly(main);
}

}  // namespace
}  // namespace brevane::e2e
