#pragma once
// Remembers where the main window stood: restored when it is first shown, saved when a close
// is granted (or when the window is destroyed without one).
#include <windows.h>

#include <string>

#include "app/placement_keys.h"

namespace brevane::app::win32 {

struct PlacementFiles {
  std::wstring file;        // read and written
  std::wstring legacyFile;  // read only while `file` does not exist yet
};

// "<program name>.INI" in the user's roaming application data under "Brevane", and the same
// name in the Windows folder, where earlier versions kept it.
PlacementFiles DefaultPlacementFiles();

// The screen as the stored keys describe it: primary resolution and logical pixels per inch.
ScreenMetrics CurrentScreenMetrics();

class WindowPlacement {
 public:
  explicit WindowPlacement(PlacementFiles files) : files_(std::move(files)) {}

  // Before the window is first shown. Never throws.
  void Restore(HWND window) noexcept;
  // After the close request allowed the close. Never throws.
  void SaveAfterClose(HWND window) noexcept { Save(window, false); }
  // While the window is destroyed, unless a save already happened. Never throws.
  void SaveAtDestroy(HWND window) noexcept {
    if (!saved_) Save(window, true);
  }

  bool Restored() const { return restored_; }

 private:
  void Save(HWND window, bool beingDestroyed) noexcept;

  PlacementFiles files_;
  bool restored_ = false;
  bool saved_ = false;
};

}  // namespace brevane::app::win32
