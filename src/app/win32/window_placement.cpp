#include "app/win32/window_placement.h"

#include <windows.h>

#include <string>

#include "framework/win32/dpi.h"
#include "framework/win32/profile_file.h"
#include "framework/win32/program_file.h"
#include "framework/win32/user_folders.h"

namespace brevane::app::win32 {

namespace {

// The program file's name with its extension replaced by ".INI".
std::wstring PlacementFileName() {
  std::wstring name = framework::win32::ProgramFileName();
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  if (name.empty()) name = L"brevane";
  return name + L".INI";
}

std::wstring WindowsFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return {};
  return std::wstring(buffer, length);
}

PlacementRecord FromWindows(const WINDOWPLACEMENT& placement) {
  PlacementRecord record;
  record.flags = static_cast<int>(placement.flags);
  record.showCmd = static_cast<int>(placement.showCmd);
  record.minPosition = {placement.ptMinPosition.x, placement.ptMinPosition.y};
  record.maxPosition = {placement.ptMaxPosition.x, placement.ptMaxPosition.y};
  const RECT& r = placement.rcNormalPosition;
  record.normalPosition = {r.left, r.top, r.right, r.bottom};
  return record;
}

WINDOWPLACEMENT ToWindows(const PlacementRecord& record) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  placement.flags = static_cast<UINT>(record.flags);
  placement.showCmd = static_cast<UINT>(record.showCmd);
  placement.ptMinPosition = {record.minPosition.x, record.minPosition.y};
  placement.ptMaxPosition = {record.maxPosition.x, record.maxPosition.y};
  const PlacementRect& r = record.normalPosition;
  placement.rcNormalPosition = {r.left, r.top, r.right, r.bottom};
  return placement;
}

// A position stored on a monitor that has since gone (or with the title bar out of reach)
// would leave the window where the user cannot get at it.
void MoveOntoNearestMonitor(HWND window) {
  if (IsIconic(window) || IsZoomed(window)) return;
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return;
  HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return;
  const PlacementRect current{rect.left, rect.top, rect.right, rect.bottom};
  const PlacementRect area{info.rcWork.left, info.rcWork.top, info.rcWork.right,
                           info.rcWork.bottom};
  if (!NeedsMoveIntoArea(current, area)) return;
  const PlacementRect moved = MoveIntoArea(current, area);
  SetWindowPos(window, nullptr, moved.left, moved.top, moved.right - moved.left,
               moved.bottom - moved.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

}  // namespace

PlacementFiles DefaultPlacementFiles() {
  const std::wstring name = PlacementFileName();
  PlacementFiles files;
  const std::wstring appData = framework::win32::RoamingAppDataFolder();
  if (!appData.empty()) files.file = appData + L"\\Brevane\\" + name;
  const std::wstring windows = WindowsFolder();
  if (!windows.empty()) files.legacyFile = windows + L"\\" + name;
  return files;
}

ScreenMetrics CurrentScreenMetrics() {
  ScreenMetrics screen;
  screen.width = GetSystemMetrics(SM_CXSCREEN);
  screen.height = GetSystemMetrics(SM_CYSCREEN);
  screen.pixelsPerInch = static_cast<int>(framework::win32::DpiScale::ForSystem().Dpi());
  return screen;
}

void WindowPlacement::Restore(HWND window) noexcept {
  saved_ = false;
  restored_ = true;
  try {
    std::wstring source = files_.file;
    if (source.empty() || (!framework::win32::FileExists(source) && !files_.legacyFile.empty())) {
      source = files_.legacyFile;
    }
    if (source.empty()) return;
    framework::win32::ProfileFile file(source);
    const util::IniSection section = file.ReadSection(kPlacementSection);
    WINDOWPLACEMENT current{};
    current.length = sizeof current;
    if (!GetWindowPlacement(window, &current)) return;
    const bool sizeable = (GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME) != 0;
    const auto record = RestoredPlacement(section, FromWindows(current), IsWindowVisible(window),
                                          CurrentScreenMetrics(), sizeable);
    if (!record) return;
    const WINDOWPLACEMENT placement = ToWindows(*record);
    SetWindowPlacement(window, &placement);
    MoveOntoNearestMonitor(window);
    InvalidateRect(window, nullptr, TRUE);
  } catch (...) {
    // A damaged placement file only means the window opens where it was designed to.
  }
}

void WindowPlacement::Save(HWND window, bool beingDestroyed) noexcept {
  // A run that never restored (never showed the window) must not overwrite a stored position.
  if (!restored_ || files_.file.empty() || !IsWindow(window)) return;
  try {
    WINDOWPLACEMENT current{};
    current.length = sizeof current;
    if (!GetWindowPlacement(window, &current)) return;
    framework::win32::EnsureFolderOf(files_.file);
    framework::win32::ProfileFile file(files_.file);
    for (const auto& [key, value] :
         PlacementEntries(FromWindows(current), CurrentScreenMetrics(), beingDestroyed)) {
      file.WriteString(kPlacementSection, key, value);
    }
    saved_ = true;
  } catch (...) {
    // Losing the position is not worth a message at close.
  }
}

}  // namespace brevane::app::win32
