// The histories of the combo boxes, loaded from and saved to the settings file.
#include "app/win32/main_window.h"

namespace brevane::app {

void TMainWin::LoadHistory() {}

void TMainWin::SaveHistory() {}

}  // namespace brevane::app
