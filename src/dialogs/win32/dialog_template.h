#pragma once
// Dialog templates built in memory from the design's pixel layout, and the pixel layout
// applied again once the dialog exists, scaled to the dialog's DPI.
#include <windows.h>

#include <string>
#include <vector>

namespace brevane::dialogs::win32 {

struct ControlSpec {
  int id = 0;
  const wchar_t* className = L"STATIC";
  std::wstring text;
  DWORD style = 0;  // WS_CHILD | WS_VISIBLE are added
  DWORD exStyle = 0;
  RECT bounds{};  // left, top, right, bottom in design pixels (96 DPI)
};

inline RECT DesignRect(int left, int top, int width, int height) {
  return RECT{left, top, left + width, top + height};
}

struct DialogSpec {
  std::wstring caption;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  DWORD exStyle = WS_EX_DLGMODALFRAME;
  SIZE clientSize{};  // design pixels
  std::wstring fontFace = L"MS Shell Dlg";
  WORD fontPoints = 8;
  std::vector<ControlSpec> controls;  // in tab order
};

// The DLGTEMPLATEEX of form, DWORD-aligned as the dialog manager requires.
std::vector<DWORD> BuildDialogTemplate(const DialogSpec& form);

// Moves every control of form to its design rectangle scaled to the dialog's DPI and sizes the
// dialog so that its client area has the design size.
void ApplyPixelLayout(HWND dialog, const DialogSpec& form);

// Centres window over reference (a window) or, with no reference, over the work area of the
// monitor that the window is on.
void CenterWindow(HWND window, HWND reference);

}  // namespace brevane::dialogs::win32
