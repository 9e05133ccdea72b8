// End to end on the fake backend: the classes tab, the background instance listing and the
// property grid, as a user drives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/win32/command_ids.h"
#include "e2e/e2e_driver.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

class ClassTabTest : public ::testing::Test {
 protected:
  void Launch(const std::wstring& scenario, const std::wstring& arguments = L"") {
    const std::wstring exe = ExeFromEnvironment("BREVANE_FAKE_EXE");
    if (exe.empty()) GTEST_SKIP() << "BREVANE_FAKE_EXE is not set";
    SetEnvironmentVariableW(L"BREVANE_FAKE_SCENARIO", scenario.c_str());
    ASSERT_TRUE(app_.Start(exe, arguments));
    main_ = app_.WaitForTopWindow(L"Brevane", 30s);
    ASSERT_NE(main_, nullptr);
    classList_ = GetDlgItem(main_, app::win32::kIdClassListBox);
    instanceList_ = GetDlgItem(main_, app::win32::kIdInstanceListBox);
    propGrid_ = GetDlgItem(main_, app::win32::kIdPropGrid);
    status_ = GetDlgItem(main_, app::win32::kIdStatusBar1);
    ASSERT_TRUE(WaitUntil([&] { return ClassListLoaded(classList_); }, 30s));
  }

  void TearDown() override {
    if (main_ != nullptr && app_.Running()) {
      PostMessageW(main_, WM_CLOSE, 0, 0);
      EXPECT_TRUE(app_.WaitForExit(15s).has_value()) << "the program did not end after WM_CLOSE";
    }
  }

  // Selects a line as a click does: the selection, then the list box's notification.
  void ChooseLine(HWND list, int id, int index) { ChooseListLine(main_, list, id, index); }

  void ChooseClass(const std::string& name) {
    ASSERT_TRUE(ChooseClassLine(main_, classList_, name)) << name;
  }

  AppProcess app_;
  HWND main_ = nullptr;
  HWND classList_ = nullptr;
  HWND instanceList_ = nullptr;
  HWND propGrid_ = nullptr;
  HWND status_ = nullptr;
};

TEST_F(ClassTabTest, ClassThenInstanceFillTheGrid) {
  Launch(L"standard");
  EXPECT_EQ(StatusPanelText(status_, 0), "localhost");
  EXPECT_EQ(StatusPanelText(status_, 1),
            "Classes: " + std::to_string(ListBoxItems(classList_).size()));
  const Strings classes = ListBoxItems(classList_);
  EXPECT_TRUE(std::is_sorted(classes.begin(), classes.end(), [](std::string a, std::string b) {
    std::transform(a.begin(), a.end(), a.begin(), ::tolower);
    std::transform(b.begin(), b.end(), b.begin(), ::tolower);
    return a < b;
  }));

  ChooseClass("Win32_Service");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 13"; }, 20s))
      << StatusPanelText(status_, 2);
  const Strings labels = ListBoxItems(instanceList_);
  ASSERT_EQ(labels.size(), 13u);
  EXPECT_EQ(labels.front(), "Audiosrv");
  EXPECT_EQ(WindowText(GetDlgItem(main_, app::win32::kIdQueryCombo)),
            "select * from Win32_Service");
  EXPECT_EQ(ListViewColumn(propGrid_, 0),
            (Strings{"Name (key)", "DisplayName", "StartMode", "State", "AcceptStop", ""}));
  EXPECT_EQ(ListViewColumn(propGrid_, 2),
            (Strings{"string", "string", "string", "string", "boolean", ""}));

  ChooseLine(instanceList_, app::win32::kIdInstanceListBox, 2);
  ASSERT_TRUE(WaitUntil([&] { return ListViewCell(propGrid_, 0, 1) == "Dhcp"; }, 20s));
  EXPECT_EQ(ListViewColumn(propGrid_, 1),
            (Strings{"Dhcp", "Dhcp service", "Auto", "Running", "-1", ""}));
}

TEST_F(ClassTabTest, LabelsForClassesWithoutNamesAndEmptyClasses) {
  Launch(L"standard");
  ChooseClass("Win32_LogicalDisk");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 2"; }, 20s));
  EXPECT_EQ(ListBoxItems(instanceList_), (Strings{"C:", "D:"}));
  ChooseClass("Demo_Unicode");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 2"; }, 20s));
  EXPECT_EQ(ListBoxItems(instanceList_), (Strings{"\xE6\x9C\xAC\xE6\x9C\xBA", "<<Instance_01>>"}));
  ChooseClass("Win32_Printer");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 0"; }, 20s));
  EXPECT_TRUE(ListBoxItems(instanceList_).empty());
}

TEST_F(ClassTabTest, HangingListingKeepsTheWindowResponsiveAndClosable) {
  Launch(L"standard,hang");
  ChooseClass("Win32_Process");
  ASSERT_TRUE(WaitUntil([&] { return ListBoxItems(instanceList_).size() == 3; }, 20s));
  EXPECT_EQ(ListBoxItems(instanceList_).back(), "Requesting WMI...");
  EXPECT_TRUE(Sync(main_, 2s));
  ChooseClass("Win32_Service");  // a new request while the old walk hangs
  ASSERT_TRUE(WaitUntil([&] { return ListBoxItems(instanceList_).size() == 3; }, 20s));
  EXPECT_EQ(ListBoxItems(instanceList_).front(), "Audiosrv");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(app_.WaitForExit(10s).has_value()) << "closing hung on the loader";
  main_ = nullptr;
}

TEST_F(ClassTabTest, ThirtyThousandInstancesWhileTheWindowAnswers) {
  Launch(L"standard,big");
  ChooseClass("Brevane_Big");
  DWORD longest = 0;
  const bool done = WaitUntil(
      [&] {
        const DWORD start = GetTickCount();
        Sync(main_, 5s);
        longest = std::max(longest, GetTickCount() - start);
        return StatusPanelText(status_, 2) == "Instances: 30001";
      },
      120s);
  ASSERT_TRUE(done) << StatusPanelText(status_, 2);
  EXPECT_EQ(SendMessageW(instanceList_, LB_GETCOUNT, 0, 0), 30001);
  std::printf("longest answer time of the window during the load: %lu ms\n",
              static_cast<unsigned long>(longest));
}

}  // namespace
}  // namespace brevane::e2e
