#include "dialogs/win32/browse_for_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dialogs/win32/modal_driver.h"
#include "util/text.h"

namespace brevane::dialogs::win32 {
namespace {

using brevane::testing::ModalDriver;
using brevane::testing::ThreadDialogs;

// Runs Execute and presses button in the shell's dialog once it shows; bounded.
bool ExecuteAndPress(TBrowseForFolder& browser, int button, int& dialogsSeen) {
  ModalDriver driver;
  dialogsSeen = 0;
  std::function<void()> press = [&] {
    for (HWND dialog : ThreadDialogs()) {
      ++dialogsSeen;
      PostMessageW(dialog, WM_COMMAND, button, 0);
    }
    if (dialogsSeen == 0) driver.After(200, press);
  };
  driver.After(500, press);
  driver.After(15000, [&] {
    for (HWND dialog : ThreadDialogs()) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  return browser.Execute();
}

TEST(BrowseForFolderTest, OkReturnsTheInitiallySelectedFolder) {
  TBrowseForFolder browser;
  browser.SetFlags({TBrowseFlag::bf_ReturnOnlyFSDIRS, TBrowseFlag::bf_statustext});
  browser.Root = TBrowseLocation::bl_DRIVES;
  browser.FolderName = "C:\\windows";
  int seen = 0;
  ASSERT_TRUE(ExecuteAndPress(browser, IDOK, seen));
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(util::AsciiLower(browser.FolderName), "c:\\windows");
  // The shell's display name: "windows" on Windows, the whole path under Wine.
  const std::string shown = util::AsciiLower(browser.DisplayName());
  EXPECT_TRUE(shown == "windows" || shown == "c:\\windows") << shown;
  EXPECT_EQ(browser.OptionBits(), 0x0001u | 0x0004u | 0x0020u);
}

TEST(BrowseForFolderTest, CancelLeavesEverythingAsItWas) {
  TBrowseForFolder browser;
  browser.FolderName = "";
  browser.StatusText = "";
  int seen = 0;
  EXPECT_FALSE(ExecuteAndPress(browser, IDCANCEL, seen));
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(browser.FolderName, "");
  EXPECT_EQ(browser.DisplayName(), "");
  EXPECT_EQ(browser.OptionBits(), 0x0020u);
  EXPECT_EQ(browser.Flags(), TBrowseFlags());
}

}  // namespace
}  // namespace brevane::dialogs::win32
