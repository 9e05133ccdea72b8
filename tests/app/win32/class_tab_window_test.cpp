// The classes tab of the real main window, in process, on the fake backend: what the context
// menu offers and what the empty-class filter leaves.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "app/win32/pump_until.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/encoding.h"
#include "support/fake_scenarios.h"

namespace brevane::app::win32 {
namespace {

std::string MenuCaption(HMENU menu, int id) {
  wchar_t buffer[256] = {};
  GetMenuStringW(menu, static_cast<UINT>(id), buffer, 256, MF_BYCOMMAND);
  return framework::win32::WideToUtf8(buffer);
}

bool MenuEnabled(HMENU menu, int id) {
  return (GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

class ClassTabWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<TMainWin>(
        GetModuleHandleW(nullptr), testing::MakeScenario("standard"), std::vector<std::string>{});
    ASSERT_TRUE(window->Create(SW_SHOWNORMAL));
    SetForegroundWindow(window->Handle());
    ASSERT_TRUE(PumpUntil([&] { return window->ClassesLoaded && !window->BackgroundBusy(); }));
  }
  void TearDown() override {
    if (window && IsWindow(window->Handle())) DestroyWindow(window->Handle());
    PumpUntil([] { return false; }, 50);
  }

  int IndexOf(const std::string& name) {
    framework::win32::Win32ListBox list(window->ClassListBox);
    for (int i = 0; i < list.ItemCount(); ++i) {
      if (list.ItemText(i) == name) return i;
    }
    return -1;
  }

  std::unique_ptr<TMainWin> window;
};

TEST_F(ClassTabWindowTest, ContextMenuAlwaysNamesTheSelectedClass) {
  window->PopupMenu1Popup();
  EXPECT_EQ(MenuCaption(window->PopupMenu1, kCmdRefresh2), "Refresh");
  EXPECT_EQ(MenuCaption(window->PopupMenu1, kCmdSelectfrom1), "select * from ...");
  EXPECT_FALSE(MenuEnabled(window->PopupMenu1, kCmdRefresh2));
  EXPECT_FALSE(MenuEnabled(window->PopupMenu1, kCmdSelectfrom1));

  const int index = IndexOf("Win32_Process");
  ASSERT_GE(index, 0);
  framework::win32::Win32ListBox(window->ClassListBox).Select(index);
  window->ClassListBoxClick();
  window->PopupMenu1Popup();
  EXPECT_EQ(MenuCaption(window->PopupMenu1, kCmdRefresh2), "Refresh instances (Win32_Process)");
  EXPECT_EQ(MenuCaption(window->PopupMenu1, kCmdSelectfrom1), "select * from Win32_Process");
  EXPECT_TRUE(MenuEnabled(window->PopupMenu1, kCmdRefresh2));
  EXPECT_TRUE(MenuEnabled(window->PopupMenu1, kCmdSelectfrom1));

  // Refresh loads the instances again; the same choice again requests nothing.
  ASSERT_TRUE(PumpUntil([&] { return window->StatusPanel(2) == "Instances: 8"; }));
  window->ClassListBoxClick();
  EXPECT_EQ(window->StatusPanel(2), "Instances: 8");
  window->Refresh2Click();
  EXPECT_EQ(window->StatusPanel(2), "Requesting instances...");
  ASSERT_TRUE(PumpUntil([&] { return window->StatusPanel(2) == "Instances: 8"; }));
  EXPECT_EQ(framework::win32::Win32ListBox(window->InstanceListBox).ItemCount(), 8);
}

void Click(TMainWin& window, int index) {
  framework::win32::Win32ListBox(window.ClassListBox).Select(index);
  window.ClassListBoxClick();
}

TEST_F(ClassTabWindowTest, RefreshLoadsTheClassItNamesWhenOnlyASearchSelectedIt) {
  const int process = IndexOf("Win32_Process");
  const int service = IndexOf("Win32_Service");
  ASSERT_GE(process, 0);
  ASSERT_GE(service, 0);
  Click(*window, process);
  ASSERT_TRUE(PumpUntil([&] { return window->StatusPanel(2) == "Instances: 8"; }));

  // Selected the way a search selects: no click, the panes still show Win32_Process.
  framework::win32::Win32ListBox(window->ClassListBox).Select(service);
  window->PopupMenu1Popup();
  ASSERT_EQ(MenuCaption(window->PopupMenu1, kCmdRefresh2), "Refresh instances (Win32_Service)");
  window->Refresh2Click();
  EXPECT_EQ(window->CurrentClass, "Win32_Service");
  EXPECT_EQ(framework::win32::GetWindowTextUtf8(window->QueryCombo), "select * from Win32_Service");
  ASSERT_TRUE(PumpUntil([&] { return window->StatusPanel(2) == "Instances: 13"; }));
  EXPECT_EQ(framework::win32::Win32ListBox(window->InstanceListBox).ItemCount(), 13);
}

TEST_F(ClassTabWindowTest, EmptiedPanesLoadTheSameClassAgainOnItsClick) {
  const auto loadsOnClick = [&](const std::string& name, int instances) {
    Click(*window, IndexOf(name));
    return PumpUntil([&] {
      return window->StatusPanel(2) == "Instances: " + std::to_string(instances) &&
             framework::win32::Win32ListBox(window->InstanceListBox).ItemCount() == instances &&
             !window->BackgroundBusy();
    });
  };
  ASSERT_TRUE(loadsOnClick("Win32_Process", 8));

  window->Refresh1Click();  // F5 on the classes tab: the list is loaded again
  EXPECT_EQ(framework::win32::Win32ListBox(window->InstanceListBox).ItemCount(), 0);
  ASSERT_TRUE(PumpUntil([&] { return !window->BackgroundBusy(); }));
  EXPECT_TRUE(loadsOnClick("Win32_Process", 8));

  // What a search does to the panes; its grid keeps one empty row.
  window->EmptyClassPanes();
  EXPECT_EQ(ListView_GetItemCount(window->PropGrid), 1);
  EXPECT_EQ(framework::win32::Win32ListBox(window->InstanceListBox).ItemCount(), 0);
  EXPECT_TRUE(loadsOnClick("Win32_Process", 8));
  EXPECT_GT(ListView_GetItemCount(window->PropGrid), 1);
}

TEST_F(ClassTabWindowTest, FilterLeavesOutClassesWithoutInstances) {
  ASSERT_GE(IndexOf("Win32_Printer"), 0);
  window->HideEmptyClasses = true;
  window->LoadClasses();
  ASSERT_TRUE(PumpUntil([&] { return !window->BackgroundBusy(); }));
  EXPECT_LT(IndexOf("Win32_Printer"), 0);
  EXPECT_GE(IndexOf("Win32_Process"), 0);
  EXPECT_EQ(window->StatusPanel(1),
            "Classes: " +
                std::to_string(framework::win32::Win32ListBox(window->ClassListBox).ItemCount()));
}

}  // namespace
}  // namespace brevane::app::win32
