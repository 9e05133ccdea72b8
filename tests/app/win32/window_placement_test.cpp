#include "app/win32/window_placement.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/win32/temp_folder.h"
#include "framework/win32/encoding.h"
#include "framework/win32/profile_file.h"

namespace brevane::app::win32 {
namespace {

using testing::TempFolder;

class TestWindow {
 public:
  TestWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"placement test", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                                200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~TestWindow() { DestroyWindow(window_); }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND Get() const { return window_; }
  RECT Rect() const {
    RECT rect{};
    GetWindowRect(window_, &rect);
    return rect;
  }

 private:
  HWND window_;
};

std::string Stored(const std::wstring& file, const char* key) {
  framework::win32::ProfileFile profile(file);
  const std::string* value = profile.ReadSection("TMainWin").Find(key);
  return value ? *value : "<missing>";
}

void WriteSection(const std::wstring& file, const std::string& body) {
  const std::string text = "[TMainWin]\r\n" + body;
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  DWORD wrote = 0;
  WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
  CloseHandle(handle);
}

bool Exists(const std::wstring& file) {
  return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Ppi(int delta) {
  return std::to_string(CurrentScreenMetrics().pixelsPerInch + delta);
}

TEST(WindowPlacementTest, DefaultFilesNamedAfterTheProgram) {
  const PlacementFiles files = DefaultPlacementFiles();
  const std::wstring tail = L"\\Brevane\\brevane_wintests.INI";
  ASSERT_GE(files.file.size(), tail.size());
  EXPECT_EQ(files.file.substr(files.file.size() - tail.size()), tail);
  const std::wstring legacyTail = L"\\brevane_wintests.INI";
  ASSERT_GE(files.legacyFile.size(), legacyTail.size());
  EXPECT_EQ(files.legacyFile.substr(files.legacyFile.size() - legacyTail.size()), legacyTail);
}

TEST(WindowPlacementTest, WindowReopensWhereItWasClosed) {
  TempFolder folder;
  const PlacementFiles files{folder.File(L"sub\\brevane.INI"), folder.File(L"legacy.INI")};
  {
    TestWindow first;
    WindowPlacement placement(files);
    placement.Restore(first.Get());  // first run: nothing stored yet
    EXPECT_EQ(first.Rect().left, 10);
    SetWindowPos(first.Get(), nullptr, 150, 120, 640, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    placement.SaveAfterClose(first.Get());
    placement.SaveAtDestroy(first.Get());  // already saved: not again
  }
  EXPECT_EQ(Stored(files.file, "NormPos"), "150,120,790,520");
  EXPECT_EQ(Stored(files.file, "Visible"), "0");
  EXPECT_EQ(Stored(files.file, "PixelsPerInch"), Ppi(0));
  const ScreenMetrics screen = CurrentScreenMetrics();
  EXPECT_EQ(Stored(files.file, ResolutionKey("NormPos", screen).c_str()), "150,120,790,520");

  TestWindow second;
  WindowPlacement placement(files);
  placement.Restore(second.Get());
  const RECT rect = second.Rect();
  EXPECT_EQ(rect.left, 150);
  EXPECT_EQ(rect.top, 120);
  EXPECT_EQ(rect.right, 790);
  EXPECT_EQ(rect.bottom, 520);
  EXPECT_FALSE(IsWindowVisible(second.Get()));
}

TEST(WindowPlacementTest, NothingSavedBeforeARestoreAndDestroyMarksVisible) {
  TempFolder folder;
  const PlacementFiles files{folder.File(L"brevane.INI"), L""};
  TestWindow window;
  WindowPlacement placement(files);
  placement.SaveAfterClose(window.Get());
  placement.SaveAtDestroy(window.Get());
  EXPECT_FALSE(Exists(files.file));
  placement.Restore(window.Get());
  placement.SaveAtDestroy(window.Get());
  EXPECT_EQ(Stored(files.file, "Visible"), "1");
  EXPECT_EQ(Stored(files.file, "FormVersion"), "0");
}

TEST(WindowPlacementTest, OtherPixelsPerInchRestoresNothing) {
  TempFolder folder;
  const PlacementFiles files{folder.File(L"brevane.INI"), L""};
  WriteSection(files.file, "NormPos=150,120,790,520\r\nPixelsPerInch=" + Ppi(24) + "\r\n");
  TestWindow window;
  WindowPlacement placement(files);
  placement.Restore(window.Get());
  EXPECT_EQ(window.Rect().left, 10);
  EXPECT_TRUE(placement.Restored());
}

TEST(WindowPlacementTest, EarlierVersionsFileInTheWindowsFolderIsRead) {
  TempFolder folder;
  const PlacementFiles files{folder.File(L"new.INI"), folder.File(L"old.INI")};
  WriteSection(files.legacyFile, "NormPos=200,100,700,500\r\nPixelsPerInch=" + Ppi(0) + "\r\n");
  TestWindow window;
  WindowPlacement placement(files);
  placement.Restore(window.Get());
  EXPECT_EQ(window.Rect().left, 200);
  placement.SaveAfterClose(window.Get());
  EXPECT_EQ(Stored(files.file, "NormPos"), "200,100,700,500");
  EXPECT_EQ(Stored(files.legacyFile, "Visible"), "<missing>");  // the old file is left alone
}

TEST(WindowPlacementTest, PositionOnAGoneMonitorIsMovedOntoTheScreen) {
  TempFolder folder;
  const PlacementFiles files{folder.File(L"brevane.INI"), L""};
  WriteSection(files.file, "NormPos=9000,7000,9600,7400\r\n");
  TestWindow window;
  WindowPlacement placement(files);
  placement.Restore(window.Get());
  const RECT rect = window.Rect();
  HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
  ASSERT_NE(monitor, nullptr);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  EXPECT_GE(rect.left, info.rcWork.left);
  EXPECT_GE(rect.top, info.rcWork.top);
  EXPECT_LE(rect.right, info.rcWork.right);
  EXPECT_LE(rect.bottom, info.rcWork.bottom);
  EXPECT_EQ(rect.right - rect.left, 600);
}

}  // namespace
}  // namespace brevane::app::win32
