#include "framework/win32/help_access.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "dialogs/win32/modal_driver.h"
#include "framework/win32/encoding.h"
#include "util/help_texts.h"

namespace brevane::framework::win32 {
namespace {

using brevane::framework::win32::GetWindowTextUtf8;
using brevane::testing::MessageBoxText;
using brevane::testing::ModalDriver;
using brevane::testing::ThreadDialogs;

// A fresh folder that plays the program's folder, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    const auto base = std::filesystem::temp_directory_path();
    path_ = base / ("brevane-help-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(GetTickCount64()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string Dir() const { return WideToUtf8(path_.wstring()) + "\\"; }
  void Put(const std::string& name, const std::filesystem::path& from) const {
    std::filesystem::copy_file(from, path_ / name);
  }

 private:
  std::filesystem::path path_;
};

// Shows the topic and returns the title and text of the error box that it opened.
std::pair<std::string, std::string> ErrorBoxOf(const HelpAccess& help) {
  ModalDriver driver;
  std::string title, text;
  driver.After(200, [&] {
    for (HWND box : ThreadDialogs()) {
      title = GetWindowTextUtf8(box);
      text = MessageBoxText(box);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  });
  driver.After(10000, [&] {
    for (HWND box : ThreadDialogs()) PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  help.ShowHelpTopic(util::StartPageTopic(help.HelpFile()));
  return {title, text};
}

std::filesystem::path BuiltHelpFile() {
  return std::filesystem::path(Utf8ToWide(ProgramDir())) / L"brevane.chm";
}

TEST(HelpAccessTest, ProgramDirEndsWithBackslashAndHoldsTheProgram) {
  const std::string dir = ProgramDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '\\');
  EXPECT_TRUE(FileExists(dir + "brevane_wintests.exe"));
  EXPECT_FALSE(FileExists(dir));  // a folder is not a file
}

TEST(HelpAccessTest, MissingHelpFileIsReportedFirst) {
  ScratchFolder folder;
  HelpAccess help;
  help.LoadHtmlHelp();
  help.LocateHelpFileIn(folder.Dir());
  EXPECT_EQ(help.HelpFile(), "");
  const auto [title, text] = ErrorBoxOf(help);
  EXPECT_EQ(title, "Error");
  EXPECT_EQ(text, util::HelpFileNotFoundMessage());
}

TEST(HelpAccessTest, UnloadedControlIsReported) {
  if (!std::filesystem::exists(BuiltHelpFile())) GTEST_SKIP() << "brevane.chm was not built";
  ScratchFolder folder;
  folder.Put("brevane.chm", BuiltHelpFile());
  HelpAccess help;  // LoadHtmlHelp not called
  help.LocateHelpFileIn(folder.Dir());
  EXPECT_EQ(help.HelpFile(), folder.Dir() + "brevane.chm");
  const auto [title, text] = ErrorBoxOf(help);
  EXPECT_EQ(title, "Error");
  EXPECT_EQ(text, util::HelpControlMissingMessage());
}

TEST(HelpAccessTest, MonitorHelpFileWinsOverOwn) {
  if (!std::filesystem::exists(BuiltHelpFile())) GTEST_SKIP() << "brevane.chm was not built";
  ScratchFolder folder;
  folder.Put("brevane.chm", BuiltHelpFile());
  folder.Put("kestrum.chm", BuiltHelpFile());
  HelpAccess help;
  help.LocateHelpFileIn(folder.Dir());
  EXPECT_EQ(help.ProgramDirectory(), folder.Dir());
  EXPECT_EQ(help.HelpFile(), folder.Dir() + "kestrum.chm");
}

// A per-user class registration shadows the machine's; it names a file that is gone.
class ShadowRegistration {
 public:
  static constexpr wchar_t kClassKey[] =
      L"Software\\Classes\\CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}";
  ShadowRegistration() {
    HKEY existing = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kClassKey, 0, KEY_READ, &existing) == ERROR_SUCCESS) {
      RegCloseKey(existing);
      return;  // someone registered it per user: leave it alone
    }
    HKEY key = nullptr;
    const std::wstring path = std::wstring(kClassKey) + L"\\InprocServer32";
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return;
    }
    const wchar_t missing[] = L"C:\\no-such-folder\\hhctrl.ocx";
    active_ = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(missing),
                             sizeof missing) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  ~ShadowRegistration() {
    if (active_) RegDeleteTreeW(HKEY_CURRENT_USER, kClassKey);
  }
  bool Active() const { return active_; }

 private:
  bool active_ = false;
};

TEST(HelpAccessTest, RegisteredFileThatIsGoneCountsAsNotRegistered) {
  ShadowRegistration shadow;
  if (!shadow.Active()) GTEST_SKIP() << "could not register a per-user class";
  const std::string found = FindHtmlHelpControl();
  // Wine does not merge per-user classes into HKEY_CLASSES_ROOT.
  if (!found.empty() && found.find("no-such-folder") == std::string::npos) {
    GTEST_SKIP() << "per-user classes do not shadow the machine's here";
  }
  EXPECT_EQ(found, "");
  HelpAccess help;
  help.LoadHtmlHelp();
  EXPECT_FALSE(help.IsLoaded());
}

TEST(HelpAccessTest, ViewerOpensTheStartPage) {
  if (FindHtmlHelpControl().empty()) GTEST_SKIP() << "HTML Help control not registered";
  if (!std::filesystem::exists(BuiltHelpFile())) GTEST_SKIP() << "brevane.chm was not built";
  ScratchFolder folder;
  folder.Put("brevane.chm", BuiltHelpFile());
  HelpAccess help;
  help.LoadHtmlHelp();
  ASSERT_TRUE(help.IsLoaded());
  help.LoadHtmlHelp();  // a second load keeps the first
  help.LocateHelpFileIn(folder.Dir());
  help.ShowHelpTopic(util::StartPageTopic(help.HelpFile()));

  // The viewer may run on this thread (as under Wine) or on one of its own.
  const auto pumpUntil = [](const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(20);
    }
    return done();
  };
  HWND viewer = nullptr;
  ASSERT_TRUE(pumpUntil([&] {
    viewer = FindWindowW(L"HH Parent", nullptr);
    DWORD process = 0;
    if (viewer) GetWindowThreadProcessId(viewer, &process);
    return viewer != nullptr && process == GetCurrentProcessId();
  }));
  help.ShutDown();
  EXPECT_FALSE(help.IsLoaded());
  EXPECT_TRUE(pumpUntil([&] { return !IsWindow(viewer); }));
  // A viewer thread may still be ending: its code stays loaded.
  EXPECT_NE(GetModuleHandleW(L"hhctrl.ocx"), nullptr);
}

}  // namespace
}  // namespace brevane::framework::win32
