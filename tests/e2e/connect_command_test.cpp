// End to end: the connect command of the real program, driven from outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win32/command_ids.h"
#include "dialogs/win32/connect_form.h"
#include "dialogs/win32/find_dialog.h"
#include "e2e/e2e_driver.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using C = dialogs::win32::TConnectForm;

constexpr auto kStartTimeout = 30s;
constexpr auto kDialogTimeout = 15s;
constexpr auto kLoadTimeout = 60s;
constexpr auto kExitTimeout = 15s;

struct DialogSearch {
  DWORD processId;
  std::wstring caption;
  HWND found = nullptr;
};

// A visible dialog (class #32770) of the process with exactly this caption.
HWND FindDialog(DWORD processId, const std::wstring& caption) {
  DialogSearch search{processId, caption};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<DialogSearch*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        wchar_t text[128] = {};
        GetWindowTextW(window, text, 128);
        if (owner == s->processId && IsWindowVisible(window) && std::wstring(name) == L"#32770" &&
            s->caption == text) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class ConnectCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::wstring exe = ExeFromEnvironment("BREVANE_FAKE_EXE");
    if (exe.empty() || GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
      exe = ExeFromEnvironment("BREVANE_EXE");
    }
    if (exe.empty()) GTEST_SKIP() << "neither BREVANE_FAKE_EXE nor BREVANE_EXE is set";
    ASSERT_TRUE(app_.Start(exe, L""));
    main_ = app_.WaitForTopWindow(L"Brevane", kStartTimeout);
    ASSERT_NE(main_, nullptr);
    statusBar_ = GetDlgItem(main_, app::win32::kIdStatusBar1);
    // Start-up either loads the classes or reports why it cannot; both end the sequence.
    ASSERT_TRUE(WaitUntil(
        [&] {
          return StatusPanelText(statusBar_, 1).rfind("Classes: ", 0) == 0 ||
                 app_.FindMessageBox() != nullptr;
        },
        kLoadTimeout));
    DismissErrors();
  }

  void TearDown() override {
    if (!main_) return;
    DismissErrors();
    PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app_.WaitForExit(kExitTimeout).has_value());
  }

  // Dismisses the error boxes that a failed class load shows; returns how many there were.
  int DismissErrors() {
    int count = 0;
    while (HWND box = app_.WaitForMessageBox(2s)) {
      if (FindDialog(app_.ProcessId(), L"连接到") == box) break;
      DismissMessageBox(box);
      WaitUntil([&] { return !IsWindowVisible(box); }, 10s);
      if (++count > 5) break;
    }
    return count;
  }

  HWND OpenConnectDialog() {
    PostMenuCommand(main_, app::win32::kCmdConnecttoremotehost1);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialog(app_.ProcessId(), L"连接到")) != nullptr; },
              kDialogTimeout);
    return dialog;
  }

  static void Type(HWND dialog, int id, const wchar_t* text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }

  // Waits for the host panel to show host, dismissing the error boxes of a failed class load
  // (the panel is written after them).
  bool WaitForHostPanel(const std::string& host) {
    return WaitUntil(
        [&] {
          if (HWND box = app_.FindMessageBox()) {
            if (FindDialog(app_.ProcessId(), L"连接到") != box) DismissMessageBox(box);
          }
          return StatusPanelText(statusBar_, 0) == host;
        },
        kLoadTimeout);
  }

  bool WaitHidden(HWND dialog) {
    return WaitUntil([&] { return !IsWindowVisible(dialog); }, kDialogTimeout);
  }

  AppProcess app_;
  HWND main_ = nullptr;
  HWND statusBar_ = nullptr;
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
  DismissErrors();

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
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(statusBar_, 0) == "."; }, kLoadTimeout));
  EXPECT_EQ(DismissErrors(), 0);
  const std::string classes = StatusPanelText(statusBar_, 1);
  EXPECT_EQ(classes.rfind("Classes: ", 0), 0u) << classes;
  EXPECT_NE(classes, "Classes: 0");
}

TEST_F(ConnectCommandTest, CancelChangesNothing) {
  const std::string panelBefore = StatusPanelText(statusBar_, 0);
  HWND dialog = OpenConnectDialog();
  ASSERT_NE(dialog, nullptr) << "the connect dialog did not open";
  const std::string hostBefore = WindowText(GetDlgItem(dialog, C::kHostCombo));
  const std::vector<std::string> hostsBefore = ComboItems(GetDlgItem(dialog, C::kHostCombo));
  Type(dialog, C::kHostCombo, L"elsewhere");
  Type(dialog, C::kWmiPathCombo, L"root\\other");
  PostButtonClick(GetDlgItem(dialog, IDCANCEL));
  ASSERT_TRUE(WaitHidden(dialog));
  // No reload: no error box and the host panel unchanged.
  EXPECT_EQ(DismissErrors(), 0);
  EXPECT_EQ(StatusPanelText(statusBar_, 0), panelBefore);
  dialog = OpenConnectDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ComboItems(GetDlgItem(dialog, C::kHostCombo)), hostsBefore);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, C::kHostCombo)), hostBefore);
  PostMessageW(dialog, WM_CLOSE, 0, 0);  // the close box counts as Cancel
  EXPECT_TRUE(WaitHidden(dialog));
  EXPECT_EQ(StatusPanelText(statusBar_, 0), panelBefore);
}

TEST_F(ConnectCommandTest, FindCommandOpensTheFindDialogAndReportsAMiss) {
  using D = dialogs::win32::TFindDialog;
  PostMenuCommand(main_, app::win32::kCmdSearch1);
  HWND find = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (find = FindDialog(app_.ProcessId(), L"查找")) != nullptr; },
                        kDialogTimeout));
  // A text of its own for each run: the histories outlive the program in its settings file.
  const std::string word = "NoSuchClass" + std::to_string(GetTickCount64());
  const std::wstring typed = L"  " + std::wstring(word.begin(), word.end()) + L"  ";
  Type(find, D::kFindText, typed.c_str());
  PostButtonClick(GetDlgItem(find, IDOK));
  ASSERT_TRUE(WaitHidden(find));
  HWND box = app_.WaitForMessageBox(kDialogTimeout);
  ASSERT_NE(box, nullptr);
  // The search takes the text as typed.
  EXPECT_EQ(MessageBoxText(box), "Could not find \"  " + word + "  \"");
  DismissMessageBox(box);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(box); }, kDialogTimeout));
  // The trimmed text entered the search history.
  PostMenuCommand(main_, app::win32::kCmdSearch1);
  ASSERT_TRUE(
      WaitUntil([&] { return FindDialog(app_.ProcessId(), L"查找") != nullptr; }, kDialogTimeout));
  const std::vector<std::string> history = ComboItems(GetDlgItem(find, D::kFindText));
  ASSERT_FALSE(history.empty());
  EXPECT_EQ(history.front(), word);
  PostButtonClick(GetDlgItem(find, IDCANCEL));
  EXPECT_TRUE(WaitHidden(find));
}

}  // namespace
}  // namespace brevane::e2e
