#include "util/win32/help_access.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "dialogs/win32/modal_driver.h"
#include "framework/win32/encoding.h"
#include "util/help_texts.h"

namespace brevane::help {
namespace {

using brevane::testing::MessageBoxText;
using brevane::testing::ModalDriver;
using brevane::testing::ThreadDialogs;
using brevane::win32::GetWindowTextUtf8;

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
  std::string Dir() const { return win32::WideToUtf8(path_.wstring()) + "\\"; }
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
  help.ShowHelpTopic(StartPageTopic(help.HelpFile()));
  return {title, text};
}

std::filesystem::path BuiltHelpFile() {
  return std::filesystem::path(win32::Utf8ToWide(ProgramDir())) / L"brevane.chm";
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
  EXPECT_EQ(text, HelpFileNotFoundMessage());
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
  EXPECT_EQ(text, HelpControlMissingMessage());
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
  help.ShowHelpTopic(StartPageTopic(help.HelpFile()));

  HWND viewer = nullptr;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (!viewer && std::chrono::steady_clock::now() < deadline) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    viewer = FindWindowW(L"HH Parent", nullptr);
    if (!viewer) Sleep(50);
  }
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(GetWindowThreadProcessId(viewer, nullptr), GetCurrentThreadId());
  help.UnloadHtmlHelp();
  EXPECT_FALSE(help.IsLoaded());
  EXPECT_FALSE(IsWindow(viewer));
}

}  // namespace
}  // namespace brevane::help
