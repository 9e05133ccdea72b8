// The classes tab: the class list, the instances of the chosen class, the property grid and
// the class list's context menu.
#include <algorithm>
#include <string>

#include "app/win32/main_window.h"
#include "framework/win32/encoding.h"
#include "util/text.h"

namespace brevane::app {

void TMainWin::LoadClasses() {
  ClassesLoaded = true;
  BusyScope busy(*this);
  try {
    StringList classes;
    const bool ok = Wmi->GetClasses(classes);
    std::stable_sort(classes.begin(), classes.end(),
                     [](const std::string& a, const std::string& b) {
                       return CompareBytes(AsciiLower(a), AsciiLower(b)) < 0;
                     });
    SendMessageW(ClassListBox, WM_SETREDRAW, FALSE, 0);
    SendMessageW(ClassListBox, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : classes) {
      const std::wstring wide = win32::Utf8ToWide(name);
      SendMessageW(ClassListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(ClassListBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(ClassListBox, nullptr, TRUE);
    busy.Restore();
    if (!ok) ShowError("Error: " + Wmi->LastError);
  } catch (const std::exception& error) {
    SendMessageW(ClassListBox, WM_SETREDRAW, TRUE, 0);
    busy.Restore();
    ShowError(std::string("Error: ") + error.what());
  }
  SendMessageW(ClassListBox, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageW(InstanceListBox, LB_RESETCONTENT, 0, 0);
  SetStatusPanel(0, Wmi->Host);
  const LRESULT count = SendMessageW(ClassListBox, LB_GETCOUNT, 0, 0);
  SetStatusPanel(1, "Classes: " + std::to_string(count < 0 ? 0 : count));
}

void TMainWin::ClassListBoxClick() {}

void TMainWin::InstancesDone(int, const std::string&) {}

void TMainWin::InstanceListBoxClick() {}

void TMainWin::Query1BtnClick() {}

void TMainWin::PopupMenu1Popup() {}

void TMainWin::Selectfrom1Click() {}

void TMainWin::Refresh2Click() {}

}  // namespace brevane::app
