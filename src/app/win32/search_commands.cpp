// Searching the list of the active tab: the find dialog and find again.
#include "app/win32/main_window.h"

namespace brevane::app {

void TMainWin::Search1Click() {}

void TMainWin::Findagain1Click() {}

}  // namespace brevane::app
