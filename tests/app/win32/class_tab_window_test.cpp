// The classes tab of the real main window, in process, on the fake backend: what the context
// menu offers, what the empty-class filter leaves, and trips to objects elsewhere.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_probe.h"
#include "app/win32/message_box_watcher.h"
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
    window = std::make_unique<MainWindow>(
        GetModuleHandleW(nullptr), testing::MakeScenario(Scenario()), std::vector<std::string>{});
    ASSERT_TRUE(window->Create(SW_SHOWNORMAL));
    SetForegroundWindow(window->Handle());
    ASSERT_TRUE(PumpUntil(
        [&] { return Probe(*window).ClassesLoaded() && !Probe(*window).BackgroundBusy(); }));
  }
  virtual const char* Scenario() const { return "standard"; }
  void TearDown() override {
    if (window && IsWindow(window->Handle())) DestroyWindow(window->Handle());
    PumpUntil([] { return false; }, 50);
  }

  int IndexOf(const std::string& name) {
    framework::win32::Win32ListBox list(Probe(*window).ClassList());
    for (int i = 0; i < list.ItemCount(); ++i) {
      if (list.ItemText(i) == name) return i;
    }
    return -1;
  }

  std::unique_ptr<MainWindow> window;
};

TEST_F(ClassTabWindowTest, ContextMenuAlwaysNamesTheSelectedClass) {
  Probe(*window).PrepareClassMenu();
  EXPECT_EQ(MenuCaption(window->ClassMenu(), kCmdRefreshInstances), "Refresh");
  EXPECT_EQ(MenuCaption(window->ClassMenu(), kCmdSelectFrom), "select * from ...");
  EXPECT_FALSE(MenuEnabled(window->ClassMenu(), kCmdRefreshInstances));
  EXPECT_FALSE(MenuEnabled(window->ClassMenu(), kCmdSelectFrom));

  const int index = IndexOf("Win32_Process");
  ASSERT_GE(index, 0);
  framework::win32::Win32ListBox(Probe(*window).ClassList()).Select(index);
  Probe(*window).OnClassChosen();
  Probe(*window).PrepareClassMenu();
  EXPECT_EQ(MenuCaption(window->ClassMenu(), kCmdRefreshInstances),
            "Refresh instances (Win32_Process)");
  EXPECT_EQ(MenuCaption(window->ClassMenu(), kCmdSelectFrom), "select * from Win32_Process");
  EXPECT_TRUE(MenuEnabled(window->ClassMenu(), kCmdRefreshInstances));
  EXPECT_TRUE(MenuEnabled(window->ClassMenu(), kCmdSelectFrom));

  // Refresh loads the instances again; the same choice again requests nothing.
  ASSERT_TRUE(PumpUntil([&] { return Probe(*window).StatusPanel(2) == "Instances: 8"; }));
  Probe(*window).OnClassChosen();
  EXPECT_EQ(Probe(*window).StatusPanel(2), "Instances: 8");
  Probe(*window).OnRefreshInstances();
  EXPECT_EQ(Probe(*window).StatusPanel(2), "Requesting instances...");
  ASSERT_TRUE(PumpUntil([&] { return Probe(*window).StatusPanel(2) == "Instances: 8"; }));
  EXPECT_EQ(framework::win32::Win32ListBox(Probe(*window).InstanceList()).ItemCount(), 8);
}

void Click(MainWindow& window, int index) {
  framework::win32::Win32ListBox(Probe(window).ClassList()).Select(index);
  Probe(window).OnClassChosen();
}

TEST_F(ClassTabWindowTest, RefreshLoadsTheClassItNamesWhenOnlyASearchSelectedIt) {
  const int process = IndexOf("Win32_Process");
  const int service = IndexOf("Win32_Service");
  ASSERT_GE(process, 0);
  ASSERT_GE(service, 0);
  Click(*window, process);
  ASSERT_TRUE(PumpUntil([&] { return Probe(*window).StatusPanel(2) == "Instances: 8"; }));

  // Selected the way a search selects: no click, the panes still show Win32_Process.
  framework::win32::Win32ListBox(Probe(*window).ClassList()).Select(service);
  Probe(*window).PrepareClassMenu();
  ASSERT_EQ(MenuCaption(window->ClassMenu(), kCmdRefreshInstances),
            "Refresh instances (Win32_Service)");
  Probe(*window).OnRefreshInstances();
  EXPECT_EQ(Probe(*window).CurrentClass(), "Win32_Service");
  EXPECT_EQ(framework::win32::GetWindowTextUtf8(Probe(*window).ClassTabQueryCombo()),
            "select * from Win32_Service");
  ASSERT_TRUE(PumpUntil([&] { return Probe(*window).StatusPanel(2) == "Instances: 13"; }));
  EXPECT_EQ(framework::win32::Win32ListBox(Probe(*window).InstanceList()).ItemCount(), 13);
}

TEST_F(ClassTabWindowTest, EmptiedPanesLoadTheSameClassAgainOnItsClick) {
  const auto loadsOnClick = [&](const std::string& name, int instances) {
    Click(*window, IndexOf(name));
    return PumpUntil([&] {
      return Probe(*window).StatusPanel(2) == "Instances: " + std::to_string(instances) &&
             framework::win32::Win32ListBox(Probe(*window).InstanceList()).ItemCount() ==
                 instances &&
             !Probe(*window).BackgroundBusy();
    });
  };
  ASSERT_TRUE(loadsOnClick("Win32_Process", 8));

  Probe(*window).OnRefresh();  // F5 on the classes tab: the list is loaded again
  EXPECT_EQ(framework::win32::Win32ListBox(Probe(*window).InstanceList()).ItemCount(), 0);
  ASSERT_TRUE(PumpUntil([&] { return !Probe(*window).BackgroundBusy(); }));
  EXPECT_TRUE(loadsOnClick("Win32_Process", 8));

  // What a search does to the panes; its grid keeps one empty row.
  Probe(*window).EmptyClassPanes();
  EXPECT_EQ(Probe(*window).StatusPanel(2), "");
  EXPECT_EQ(ListView_GetItemCount(Probe(*window).PropertyGrid()), 1);
  EXPECT_EQ(framework::win32::Win32ListBox(Probe(*window).InstanceList()).ItemCount(), 0);
  EXPECT_TRUE(loadsOnClick("Win32_Process", 8));
  EXPECT_GT(ListView_GetItemCount(Probe(*window).PropertyGrid()), 1);
}

// Going to a class (a hit of the class search, a followed object) that the filter hides lets it
// through; a class that is not there leaves the filter as typed.
TEST_F(ClassTabWindowTest, GoingToAClassTheFilterHidesEmptiesTheFilter) {
  HWND filter = Probe(*window).ClassFilterCombo();
  const auto typeFilter = [&](const wchar_t* text) {
    SetWindowTextW(filter, text);
    SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(kIdClassFilterCombo, CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(filter));
  };
  typeFilter(L"Printer");
  ASSERT_LT(IndexOf("Win32_Process"), 0);
  Probe(*window).ShowClass("Win32_Nothing");
  EXPECT_EQ(Probe(*window).ClassFilterText(), "Printer");
  EXPECT_EQ(Probe(*window).StatusPanel(2), "The class Win32_Nothing is not in the class list.");

  Probe(*window).ShowClass("win32_process");
  EXPECT_EQ(Probe(*window).ClassFilterText(), "");
  const int index = IndexOf("Win32_Process");
  ASSERT_GE(index, 0);
  EXPECT_EQ(framework::win32::Win32ListBox(Probe(*window).ClassList()).SelectedIndex(), index);
  EXPECT_TRUE(PumpUntil([&] { return Probe(*window).StatusPanel(2) == "Instances: 8"; }));
}

TEST_F(ClassTabWindowTest, FilterLeavesOutClassesWithoutInstances) {
  ASSERT_GE(IndexOf("Win32_Printer"), 0);
  Probe(*window).HideEmptyClasses() = true;
  Probe(*window).LoadClasses();
  ASSERT_TRUE(PumpUntil([&] { return !Probe(*window).BackgroundBusy(); }));
  EXPECT_LT(IndexOf("Win32_Printer"), 0);
  EXPECT_GE(IndexOf("Win32_Process"), 0);
  EXPECT_EQ(
      Probe(*window).StatusPanel(1),
      "Classes: " +
          std::to_string(framework::win32::Win32ListBox(Probe(*window).ClassList()).ItemCount()));
}

class ObjectTripWindowTest : public ClassTabWindowTest {
 protected:
  const char* Scenario() const override { return "objects"; }
};

// A namespace the user picks while a followed object's namespace is still connecting stays
// picked: the object is not shown there, nor does a refusal take the window back.
TEST_F(ObjectTripWindowTest, UsersNamespaceChoiceCancelsTheTrip) {
  struct Case {
    const char* followed;
    const char* chosen;
  };
  const Case cases[] = {
      {"\\\\.\\root\\locked:Brevane_Account.Name=\"Guest\"", "root\\brevane"},
      {"\\\\.\\root\\brevane:Brevane_Account.Name=\"LocalSystem\"", "root\\locked"},
  };
  MessageBoxWatcher boxes;  // the refusing namespace's error
  for (const Case& c : cases) {
    SCOPED_TRACE(c.followed);
    Probe(*window).ChooseNamespace("root\\cimv2");
    ASSERT_TRUE(PumpUntil([&] { return !Probe(*window).BackgroundBusy(); }));
    // No message runs between the two: the trip's connection is still on its way.
    Probe(*window).FollowPath(c.followed);
    Probe(*window).ChooseNamespace(c.chosen);
    ASSERT_TRUE(PumpUntil([&] { return !Probe(*window).BackgroundBusy(); }));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(Probe(*window).Client()->Namespace, c.chosen);
    EXPECT_EQ(Probe(*window).CurrentClass(), "");
  }
}

// A trip elsewhere and back logs on to each computer with what was last used there, and to one
// never logged on to with nothing.
TEST_F(ObjectTripWindowTest, EachComputerGetsItsOwnCredentials) {
  wmi::WmiClient& client = *Probe(*window).Client();
  const std::string home = client.Host;
  client.User = "corp\\ann";
  client.Password = "pw1";
  struct Trip {
    std::string host;
    const char* user;  // what the connection there logs on with
    const char* password;
    const char* typedUser;  // then given there, as the connect dialog would
  };
  const Trip trips[] = {
      {"FARAWAY", "", "", "bob"},
      {home, "corp\\ann", "pw1", nullptr},
      {"\\\\faraway", "bob", "pw2", nullptr},
      {home, "corp\\ann", "pw1", nullptr},
  };
  for (const Trip& trip : trips) {
    SCOPED_TRACE(trip.host);
    Probe(*window).ConnectTo(trip.host, "root\\brevane");
    EXPECT_EQ(client.User, trip.user);
    EXPECT_EQ(client.Password, trip.password);
    if (trip.typedUser != nullptr) {
      client.User = trip.typedUser;
      client.Password = "pw2";
    }
  }
  EXPECT_TRUE(PumpUntil([&] { return !Probe(*window).BackgroundBusy(); }));
}

}  // namespace
}  // namespace brevane::app::win32
