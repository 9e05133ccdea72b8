// The remaining menu commands: connect, help, home page, support mail, about, and the hidden
// filter item of the class list.
#include "app/win32/main_window.h"

namespace brevane::app {

void TMainWin::Connecttoremotehost1Click() {}

void TMainWin::Help2Click() {}

void TMainWin::Homepage1Click() {}

void TMainWin::Support1Click() {}

void TMainWin::About1Click() {}

void TMainWin::Hideclasseswithnoinstances1Click() {}

}  // namespace brevane::app
