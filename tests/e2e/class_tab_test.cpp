// End to end on the fake backend: the classes tab, the background instance listing and the
// property grid, as a user drives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/launched_app.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;
using ClassTabTest = LaunchedAppTest;

TEST_F(ClassTabTest, ClassThenInstanceFillTheGridAndLabelsFollowTheClass) {
  LaunchFakeWithClasses(L"standard");
  if (IsSkipped() || HasFatalFailure()) return;
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
  EXPECT_EQ(WindowText(Control(app::win32::kIdClassTabQueryCombo)), "select * from Win32_Service");
  EXPECT_EQ(ListViewColumn(propGrid_, 0),
            (Strings{"Name (key)", "DisplayName", "StartMode", "State", "AcceptStop", ""}));
  EXPECT_EQ(ListViewColumn(propGrid_, 2),
            (Strings{"string", "string", "string", "string", "boolean", ""}));

  ChooseInstance(2);
  ASSERT_TRUE(WaitUntil([&] { return ListViewCell(propGrid_, 0, 1) == "Dhcp"; }, 20s));
  EXPECT_EQ(ListViewColumn(propGrid_, 1),
            (Strings{"Dhcp", "Dhcp service", "Auto", "Running", "-1", ""}));

  // Classes without names and empty classes.
  ChooseClass("Win32_LogicalDisk");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 2"; }, 20s));
  EXPECT_EQ(ListBoxItems(instanceList_), (Strings{"C:", "D:"}));
  ChooseClass("Demo_Unicode");
  ASSERT_TRUE(WaitUntil(
      [&] {
        return ListBoxItems(instanceList_) ==
               Strings{"\xE6\x9C\xAC\xE6\x9C\xBA", "<<Instance_01>>"};
      },
      20s))
      << StatusPanelText(status_, 2);
  EXPECT_EQ(StatusPanelText(status_, 2), "Instances: 2");
  ChooseClass("Win32_Printer");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 0"; }, 20s));
  EXPECT_TRUE(ListBoxItems(instanceList_).empty());
}

TEST_F(ClassTabTest, InstanceGoneSinceTheLoadShowsNotFoundAndNoValues) {
  LaunchFakeWithClasses(L"standard,vanishing");
  if (IsSkipped() || HasFatalFailure()) return;
  ChooseClass("Win32_Service");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 13"; }, 30s));
  const Strings labels = ListBoxItems(instanceList_);
  ASSERT_EQ(labels.size(), 13u);
  ASSERT_EQ(labels.back(), "Winmgmt");
  ChooseInstance(12);
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Not found"; }, 30s))
      << StatusPanelText(status_, 2);
  EXPECT_EQ(ListViewColumn(propGrid_, 0), Strings{""});
  EXPECT_EQ(ListViewColumn(propGrid_, 1), Strings{""});
  EXPECT_EQ(app_->FindMessageBox(), nullptr);
}

}  // namespace
}  // namespace brevane::e2e
