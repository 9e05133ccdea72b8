// The window's position between runs.
#include "app/win32/main_window.h"

namespace brevane::app {

void TMainWin::RestorePlacement() {}

void TMainWin::SavePlacement() {}

}  // namespace brevane::app
