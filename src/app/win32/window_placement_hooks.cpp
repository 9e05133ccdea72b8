// The window's position between runs.
#include "app/win32/main_window.h"

namespace brevane::app::win32 {

void TMainWin::RestorePlacement() {
  placement_.Restore(Handle());
}

void TMainWin::SavePlacement() {
  placement_.SaveAfterClose(Handle());
}

void TMainWin::SavePlacementAtDestroy() {
  placement_.SaveAtDestroy(Handle());
}

}  // namespace brevane::app::win32
