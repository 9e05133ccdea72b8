// End to end: the connect command of the real program, driven from outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/win32/connect_form.h"
#include "dialogs/win32/find_dialog.h"
#include "e2e/launched_app.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using C = dialogs::win32::ConnectDialog;

constexpr auto kDialogTimeout = 15s;
constexpr auto kLoadTimeout = 60s;
const std::wstring kConnectCaption = L"连接到";

class ConnectCommandTest : public LaunchedAppTest {
 protected:
  void SetUp() override {
    LaunchFake(L"standard");
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(WaitForHostPanel(""));
  }

  HWND OpenConnectDialog() {
    PostMenuCommand(main_, app::win32::kCmdConnect);
    return app_->WaitForDialog(kConnectCaption, kDialogTimeout);
  }

  static void Type(HWND dialog, int id, const wchar_t* text) {
    SendToProgram(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }

  // Waits until the class list of host (any host when empty) has arrived, pressing away the
  // error boxes of a failed load on the way; returns how many there were, or -1 when no list
  // arrived. A box that ends the load comes while its handler runs, so it is up once the
  // window has answered.
  int WaitForLoad(const std::string& host) {
    int boxes = 0;
    auto pressAway = [&] {
      HWND box = app_->FindMessageBox();
      if (box == nullptr || app_->FindDialog(kConnectCaption) == box) return;
      DismissMessageBox(box);
      WaitUntil([&] { return !IsWindowVisible(box); }, 10s);
      ++boxes;
    };
    const bool loaded = WaitUntil(
        [&] {
          pressAway();
          return (host.empty() || StatusPanelText(status_, 0) == host) &&
                 ClassListLoaded(classList_);
        },
        kLoadTimeout);
    Sync(main_, 5s);
    pressAway();
    return loaded ? boxes : -1;
  }
  bool WaitForHostPanel(const std::string& host) { return WaitForLoad(host) >= 0; }

  bool WaitHidden(HWND dialog) {
    return WaitUntil([&] { return !IsWindowVisible(dialog); }, kDialogTimeout);
  }
};

TEST_F(ConnectCommandTest, OkTakesTrimmedHostAndNamespaceAndReloadsClasses) {
  HWND dialog = OpenConnectDialog();
  ASSERT_NE(dialog, nullptr) << "the connect dialog did not open";
  // The dialog shows what the client holds.
  EXPECT_EQ(WindowText(GetDlgItem(dialog, C::kHostCombo)), "localhost");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, C::kWmiPathCombo)), "root\\cimv2");

  Type(dialog, C::kHostCombo, L"  . \t");
  Type(dialog, C::kWmiPathCombo, L" root\\cimv2 ");
  Type(dialog, C::kUserEdit, L"");
  Type(dialog, C::kPswdEdit, L"");
  PostButtonClick(GetDlgItem(dialog, IDOK));
  ASSERT_TRUE(WaitHidden(dialog));
  ASSERT_TRUE(WaitForHostPanel("."));

  // Shown again: filled from the client, and the histories hold the trimmed texts on top.
  dialog = OpenConnectDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, C::kHostCombo)), ".");
  const std::vector<std::string> hosts = ComboItems(GetDlgItem(dialog, C::kHostCombo));
  ASSERT_FALSE(hosts.empty());
  EXPECT_EQ(hosts.front(), ".");
  const std::vector<std::string> spaces = ComboItems(GetDlgItem(dialog, C::kWmiPathCombo));
  ASSERT_FALSE(spaces.empty());
  EXPECT_EQ(spaces.front(), "root\\cimv2");
  PostButtonClick(GetDlgItem(dialog, IDCANCEL));
  EXPECT_TRUE(WaitHidden(dialog));
}

TEST_F(ConnectCommandTest, ThePresetHostConnectsToThisComputer) {
  HWND dialog = OpenConnectDialog();
  ASSERT_NE(dialog, nullptr) << "the connect dialog did not open";
  Type(dialog, C::kHostCombo, L"本机");
  PostButtonClick(GetDlgItem(dialog, IDOK));
  ASSERT_TRUE(WaitHidden(dialog));
  // No computer is called that: the local computer's classes, and no error.
  EXPECT_EQ(WaitForLoad("."), 0);
  const std::string classes = StatusPanelText(status_, 1);
  EXPECT_EQ(classes.rfind("Classes: ", 0), 0u) << classes;
  EXPECT_NE(classes, "Classes: 0");
}

TEST_F(ConnectCommandTest, CancelChangesNothing) {
  const std::string panelBefore = StatusPanelText(status_, 0);
  HWND dialog = OpenConnectDialog();
  ASSERT_NE(dialog, nullptr) << "the connect dialog did not open";
  const std::string hostBefore = WindowText(GetDlgItem(dialog, C::kHostCombo));
  const std::vector<std::string> hostsBefore = ComboItems(GetDlgItem(dialog, C::kHostCombo));
  Type(dialog, C::kHostCombo, L"elsewhere");
  Type(dialog, C::kWmiPathCombo, L"root\\other");
  PostButtonClick(GetDlgItem(dialog, IDCANCEL));
  ASSERT_TRUE(WaitHidden(dialog));
  // No reload: no error box and the host panel unchanged.
  EXPECT_EQ(app_->WaitForMessageBox(500ms), nullptr);
  EXPECT_EQ(StatusPanelText(status_, 0), panelBefore);
  dialog = OpenConnectDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ComboItems(GetDlgItem(dialog, C::kHostCombo)), hostsBefore);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, C::kHostCombo)), hostBefore);
  PostMessageW(dialog, WM_CLOSE, 0, 0);  // the close box counts as Cancel
  EXPECT_TRUE(WaitHidden(dialog));
  EXPECT_EQ(StatusPanelText(status_, 0), panelBefore);
}

TEST_F(ConnectCommandTest, FindCommandOpensTheFindDialogAndReportsAMiss) {
  using D = dialogs::win32::FindDialog;
  PostMenuCommand(main_, app::win32::kCmdFind);
  HWND find = app_->WaitForDialog(L"查找", kDialogTimeout);
  ASSERT_NE(find, nullptr);
  // A text of its own for each run: the histories outlive the program in its settings file.
  const std::string word = "NoSuchClass" + std::to_string(GetTickCount64());
  const std::wstring typed = L"  " + std::wstring(word.begin(), word.end()) + L"  ";
  Type(find, D::kFindText, typed.c_str());
  PostButtonClick(GetDlgItem(find, IDOK));
  ASSERT_TRUE(WaitHidden(find));
  HWND box = app_->WaitForMessageBox(kDialogTimeout);
  ASSERT_NE(box, nullptr);
  // The search takes the text as typed.
  EXPECT_EQ(MessageBoxText(box), "Could not find \"  " + word + "  \"");
  DismissMessageBox(box);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(box); }, kDialogTimeout));
  // The trimmed text entered the search history.
  PostMenuCommand(main_, app::win32::kCmdFind);
  ASSERT_NE(app_->WaitForDialog(L"查找", kDialogTimeout), nullptr);
  const std::vector<std::string> history = ComboItems(GetDlgItem(find, D::kFindText));
  ASSERT_FALSE(history.empty());
  EXPECT_EQ(history.front(), word);
  PostButtonClick(GetDlgItem(find, IDCANCEL));
  EXPECT_TRUE(WaitHidden(find));
}

}  // namespace
}  // namespace brevane::e2e
