#pragma once
// The fixture every end-to-end suite builds on: one running program (the real one or the one
// on the fake backend), its main window and controls, and a close at the end of the test that
// must end the process within 15 s.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "app/win32/command_ids.h"
#include "app/win32/temp_folder.h"
#include "e2e/e2e_driver.h"
#include "framework/win32/user_folders.h"

namespace brevane::e2e {

using Clock = std::chrono::steady_clock;

inline long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

inline constexpr Milliseconds kStartTimeout{30000};
inline constexpr Milliseconds kExitTimeout{15000};
inline constexpr Milliseconds kQueryTimeout{60000};

class LaunchedAppTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (main_ != nullptr && app_->Running()) CloseAndTimeExit();
  }

  // Starts exe and finds its window and controls; each call starts a fresh process.
  void Launch(const std::wstring& exe, const std::wstring& arguments) {
    app_ = std::make_unique<AppProcess>();
    main_ = nullptr;
    started_ = Clock::now();
    ASSERT_TRUE(app_->Start(exe, arguments));
    main_ = app_->WaitForTopWindow(L"Brevane", kStartTimeout);
    ASSERT_NE(main_, nullptr) << "no window captioned Brevane";
    classList_ = Control(app::win32::kIdClassList);
    instanceList_ = Control(app::win32::kIdInstanceList);
    propGrid_ = Control(app::win32::kIdPropertyGrid);
    resultList_ = Control(app::win32::kIdResultTable);
    queryCombo_ = Control(app::win32::kIdQueryCombo);
    status_ = Control(app::win32::kIdStatusBar);
  }

  // The program on the fake backend in a scenario (see MakeScenario); skips when it is not
  // built. With ownFolder it runs from a copy there, so that the settings file it writes
  // beside itself touches no other test.
  void LaunchFake(const std::wstring& scenario, const std::wstring& arguments = L"",
                  const testing::TempFolder* ownFolder = nullptr) {
    std::wstring exe = ExeFromEnvironment("BREVANE_FAKE_EXE");
    if (exe.empty()) GTEST_SKIP() << "BREVANE_FAKE_EXE is not set";
    if (ownFolder != nullptr) {
      exe = CopyInto(*ownFolder, exe, L"brevane_fake.exe");
      if (exe.empty()) return;
    }
    SetEnvironmentVariableW(L"BREVANE_FAKE_SCENARIO", scenario.c_str());
    Launch(exe, arguments);
  }

  // The same, and waits until the class list has arrived.
  void LaunchFakeWithClasses(const std::wstring& scenario, const std::wstring& arguments = L"") {
    LaunchFake(scenario, arguments);
    if (IsSkipped() || HasFatalFailure()) return;
    WaitForClasses();
  }

  // The real program, from a copy in folder: its settings file beside it and its placement
  // file, named after it (see PlacementFileOfCopy), touch no other run. Skips when it is not
  // built.
  void LaunchRealCopy(const testing::TempFolder& folder, const std::wstring& arguments) {
    const std::wstring exe = ExeFromEnvironment("BREVANE_EXE");
    if (exe.empty()) GTEST_SKIP() << "BREVANE_EXE is not set";
    const std::wstring copy = CopyInto(folder, exe, kRealCopyName + L".exe");
    if (copy.empty()) return;
    Launch(copy, arguments);
  }
  static std::wstring PlacementFileOfCopy() {
    return framework::win32::RoamingAppDataFolder() + L"\\Brevane\\" + kRealCopyName + L".INI";
  }

  void WaitForClasses() {
    ASSERT_TRUE(WaitUntil([&] { return ClassListLoaded(classList_); }, Milliseconds(120000)));
  }

  // Waits until the query given on the command line has filled the table; skips when WMI
  // cannot answer it here (the real program on this machine's WMI).
  void WaitForStartupQuery() {
    ASSERT_TRUE(WaitUntil(
        [&] {
          return (ListViewRowCount(resultList_) > 0 && !QueryRunning(main_)) ||
                 app_->FindMessageBox() != nullptr;
        },
        Milliseconds(60000)));
    if (app_->FindMessageBox() != nullptr) {
      GTEST_SKIP() << "WMI cannot answer the start-up query here: " << ExpectMessageBox();
    }
  }

  HWND Control(int id) const { return GetDlgItem(main_, id); }

  // Presses away a message box still open, closes the window as the user does and returns
  // how long the program took to end.
  long long CloseAndTimeExit() {
    if (HWND box = app_->FindMessageBox()) DismissMessageBox(box);
    const auto start = Clock::now();
    PostMessageW(main_, WM_CLOSE, 0, 0);
    exitCode_ = app_->WaitForExit(kExitTimeout);
    main_ = nullptr;
    EXPECT_TRUE(exitCode_.has_value()) << "the program did not end within 15 s of WM_CLOSE";
    return MillisecondsSince(start);
  }

  // The text of the message box that must come, pressed away.
  std::string ExpectMessageBox(Milliseconds timeout = Milliseconds(120000)) {
    HWND box = app_->WaitForMessageBox(timeout);
    EXPECT_NE(box, nullptr) << "no message box";
    if (box == nullptr) return {};
    const std::string text = MessageBoxText(box);
    DismissMessageBox(box);
    EXPECT_TRUE(WaitUntil([&] { return app_->FindMessageBox() == nullptr; }, Milliseconds(10000)));
    return text;
  }

  void ChooseClass(const std::string& name) {
    ASSERT_TRUE(
        WaitUntil([&] { return ChooseClassLine(main_, classList_, name); }, Milliseconds(20000)))
        << name;
  }
  void ChooseInstance(int index) {
    ChooseListLine(main_, instanceList_, app::win32::kIdInstanceList, index);
  }

  // Types a query into the query tab's box and clicks its run button.
  void RunQuery(const std::string& text) {
    SetWindowTextW(queryCombo_, std::wstring(text.begin(), text.end()).c_str());
    PostButtonClick(Control(app::win32::kIdRunQueryButton));
  }

  // The test programs run under names of their own, which the Wine prefix knows (see
  // tools/setup-wineprefix).
  inline static const std::wstring kRealCopyName = L"brevane_e2e_copy";
  // Empty, with a failure, when the copy cannot be made.
  static std::wstring CopyInto(const testing::TempFolder& folder, const std::wstring& exe,
                               const std::wstring& name) {
    const std::wstring copy = folder.File(name);
    if (GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES ||
        CopyFileW(exe.c_str(), copy.c_str(), TRUE)) {
      return copy;
    }
    ADD_FAILURE() << "cannot copy the program to the test's folder";
    return {};
  }

  std::unique_ptr<AppProcess> app_ = std::make_unique<AppProcess>();
  Clock::time_point started_;
  std::optional<DWORD> exitCode_;  // of the last CloseAndTimeExit
  HWND main_ = nullptr;
  HWND classList_ = nullptr;
  HWND instanceList_ = nullptr;
  HWND propGrid_ = nullptr;
  HWND resultList_ = nullptr;
  HWND queryCombo_ = nullptr;
  HWND status_ = nullptr;
};

}  // namespace brevane::e2e
