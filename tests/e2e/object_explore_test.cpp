// End to end on the fake's world of services: a class's definition page, the objects related to
// an instance, going to one of them and to a reference into another namespace, a reference to
// another computer declined, one into a namespace that refuses, and back and forward over what
// was shown. One launch walks it all.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/launched_app.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

class ObjectExploreTest : public LaunchedAppTest {
 protected:
  std::string SelectedLine(HWND listBox) const {
    const auto index = static_cast<size_t>(SendToProgram(listBox, LB_GETCURSEL, 0, 0));
    const Strings lines = ListBoxItems(listBox);
    return index < lines.size() ? lines[index] : std::string();
  }
  // The grid shows this object: its class chosen, its line selected, its key value in row 0.
  bool Shows(const std::string& className, const std::string& name) const {
    return SelectedLine(classList_) == className && SelectedLine(instanceList_) == name &&
           ListViewCell(propGrid_, 0, 1) == name;
  }
  void ChooseInstanceNamed(const std::string& name) {
    const Strings lines = ListBoxItems(instanceList_);
    const auto it = std::find(lines.begin(), lines.end(), name);
    ASSERT_NE(it, lines.end()) << name;
    ChooseInstance(static_cast<int>(it - lines.begin()));
    ASSERT_TRUE(WaitUntil([&] { return ListViewCell(propGrid_, 0, 1) == name; }, 20s)) << name;
  }
  // Double-clicks the grid's row of a reference property, which follows it.
  void FollowReference(const std::string& property) {
    const Strings names = ListViewColumn(propGrid_, 0);
    const auto it = std::find(names.begin(), names.end(), property);
    ASSERT_NE(it, names.end()) << property;
    ASSERT_TRUE(DoubleClickListViewRow(propGrid_, static_cast<int>(it - names.begin())));
  }
  void Walk(int command, const std::string& className, const std::string& name) {
    PostMenuCommand(main_, command);
    ASSERT_TRUE(WaitUntil([&] { return Shows(className, name); }, 30s))
        << className << " " << name << ": " << StatusPanelText(status_, 2);
  }
};

TEST_F(ObjectExploreTest, DefinitionRelatedObjectsFollowingAndHistory) {
  LaunchFakeWithClasses(L"objects");
  if (IsSkipped() || HasFatalFailure()) return;
  HWND pane = Control(app::win32::kIdPropertyPane);
  HWND definition = Control(app::win32::kIdDefinitionText);
  HWND related = Control(app::win32::kIdRelatedList);

  ChooseClass("Brevane_Service");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 4"; }, 30s))
      << StatusPanelText(status_, 2);
  ASSERT_TRUE(ClickTab(pane, 1));
  ASSERT_TRUE(
      WaitUntil([&] { return WindowText(definition).find("MOF:") != std::string::npos; }, 30s))
      << WindowText(definition);
  const std::string page = WindowText(definition);
  for (const char* part :
       {"超类: Brevane_ManagedElement", "provider = \"BrevaneProvider\"", "string Name (key)",
        "uint32 ChangeStartMode(string StartMode)",
        "uint32 Create(string Name, string DisplayName, string StartMode, boolean DesktopInteract)",
        "Static = true", "10 = Service Already Running", "ID = 3",
        "class Brevane_Service : Brevane_ManagedElement"}) {
    EXPECT_NE(page.find(part), std::string::npos) << part;
  }

  // Delta's owner is on another computer: asked first, and declined nothing changes.
  ASSERT_TRUE(ClickTab(pane, 0));
  ChooseInstanceNamed("Delta");
  FollowReference("Owner");
  HWND box = app_->WaitForMessageBox(20s);
  ASSERT_NE(box, nullptr);
  EXPECT_NE(MessageBoxText(box).find("FARAWAY"), std::string::npos) << MessageBoxText(box);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
  ASSERT_TRUE(
      WaitUntil([&] { return StatusPanelText(status_, 2) == "Not connected to FARAWAY."; }, 10s))
      << StatusPanelText(status_, 2);
  EXPECT_TRUE(Shows("Brevane_Service", "Delta"));

  // Alpha's related objects: the services depending on it, then the associations themselves.
  ChooseInstanceNamed("Alpha");
  ASSERT_TRUE(ClickTab(pane, 2));
  ASSERT_TRUE(WaitUntil([&] { return ListBoxItems(related).size() == 6; }, 30s))
      << (ListBoxItems(related).empty() ? "" : ListBoxItems(related).front());
  const Strings lines = ListBoxItems(related);
  EXPECT_EQ(Strings(lines.begin(), lines.begin() + 4),
            (Strings{"Brevane_Service (2)", "    Beta", "    Gamma",
                     "Brevane_DependsOn (2, references)"}));

  // Enter on Gamma goes to it: shown on the grid's page, without a question.
  SendToProgram(related, LB_SETCURSEL, 2, 0);
  PostMessageW(related, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(WaitUntil([&] { return Shows("Brevane_Service", "Gamma"); }, 30s))
      << StatusPanelText(status_, 2) << "; box: " << MessageBoxText(app_->FindMessageBox());
  EXPECT_EQ(SelectedTab(pane), 0);
  EXPECT_EQ(app_->FindMessageBox(), nullptr);
  Walk(app::win32::kCmdBack, "Brevane_Service", "Alpha");
  Walk(app::win32::kCmdForward, "Brevane_Service", "Gamma");
  Walk(app::win32::kCmdBack, "Brevane_Service", "Alpha");

  // Alpha's owner lives in another namespace of this computer: connected there, no question.
  FollowReference("Owner");
  ASSERT_TRUE(WaitUntil([&] { return Shows("Brevane_Account", "LocalSystem"); }, 30s))
      << StatusPanelText(status_, 2);
  EXPECT_EQ(app_->FindMessageBox(), nullptr);
  Walk(app::win32::kCmdBack, "Brevane_Service", "Alpha");
  Walk(app::win32::kCmdForward, "Brevane_Account", "LocalSystem");
  EXPECT_EQ(app_->FindMessageBox(), nullptr);

  // Beta's owner is in a namespace that refuses: one box says why, and the window goes back to
  // Beta, whose place in the history stays the last one.
  Walk(app::win32::kCmdBack, "Brevane_Service", "Alpha");
  ChooseInstanceNamed("Beta");
  FollowReference("Owner");
  EXPECT_EQ(ExpectMessageBox(30s), "Error: Access is denied");
  ASSERT_TRUE(WaitUntil([&] { return Shows("Brevane_Service", "Beta"); }, 30s))
      << StatusPanelText(status_, 2);
  EXPECT_EQ(app_->FindMessageBox(), nullptr);
  Walk(app::win32::kCmdBack, "Brevane_Service", "Alpha");
}

}  // namespace
}  // namespace brevane::e2e
