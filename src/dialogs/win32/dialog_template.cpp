#include "dialogs/win32/dialog_template.h"

#include <algorithm>
#include <cstring>

#include "framework/win32/dpi.h"

namespace brevane::dialogs::win32 {

namespace {

// Dialog base units of an 8-point shell font at 96 DPI: the template only needs to be close,
// since ApplyPixelLayout places every control in pixels afterwards.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;

short ToDluX(LONG pixels) {
  return static_cast<short>(MulDiv(pixels, 4, kBaseUnitX));
}
short ToDluY(LONG pixels) {
  return static_cast<short>(MulDiv(pixels, 8, kBaseUnitY));
}

class TemplateWriter {
 public:
  void Word(WORD value) { Bytes(&value, sizeof value); }
  void Dword(DWORD value) { Bytes(&value, sizeof value); }
  void Short(short value) { Bytes(&value, sizeof value); }
  void Byte(BYTE value) { Bytes(&value, 1); }
  void String(const std::wstring& text) {
    Bytes(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  }
  void AlignDword() {
    while (bytes_.size() % sizeof(DWORD) != 0) bytes_.push_back(0);
  }
  std::vector<DWORD> Finish() {
    AlignDword();
    std::vector<DWORD> words(bytes_.size() / sizeof(DWORD));
    std::memcpy(words.data(), bytes_.data(), bytes_.size());
    return words;
  }

 private:
  void Bytes(const void* data, size_t size) {
    const auto* begin = static_cast<const unsigned char*>(data);
    bytes_.insert(bytes_.end(), begin, begin + size);
  }
  std::vector<unsigned char> bytes_;
};

}  // namespace

std::vector<DWORD> BuildDialogTemplate(const DialogSpec& form) {
  TemplateWriter out;
  out.Word(1);       // dlgVer
  out.Word(0xFFFF);  // signature of the extended template
  out.Dword(0);      // helpID
  out.Dword(form.exStyle);
  out.Dword(form.style | DS_SETFONT);
  out.Word(static_cast<WORD>(form.controls.size()));
  out.Short(0);
  out.Short(0);
  out.Short(ToDluX(form.clientSize.cx));
  out.Short(ToDluY(form.clientSize.cy));
  out.Word(0);  // no menu
  out.Word(0);  // the standard dialog class
  out.String(form.caption);
  out.Word(form.fontPoints);
  out.Word(FW_NORMAL);
  out.Byte(FALSE);
  out.Byte(DEFAULT_CHARSET);
  out.String(form.fontFace);
  for (const ControlSpec& control : form.controls) {
    out.AlignDword();
    out.Dword(0);  // helpID
    out.Dword(control.exStyle);
    out.Dword(control.style | WS_CHILD | WS_VISIBLE);
    out.Short(ToDluX(control.bounds.left));
    out.Short(ToDluY(control.bounds.top));
    out.Short(ToDluX(control.bounds.right - control.bounds.left));
    out.Short(ToDluY(control.bounds.bottom - control.bounds.top));
    out.Dword(static_cast<DWORD>(control.id));
    out.String(control.className);
    out.String(control.text);
    out.Word(0);  // no creation data
  }
  return out.Finish();
}

void ApplyPixelLayout(HWND dialog, const DialogSpec& form) {
  const brevane::framework::win32::DpiScale scale =
      brevane::framework::win32::DpiScale::ForWindow(dialog);
  RECT frame{0, 0, scale(form.clientSize.cx), scale(form.clientSize.cy)};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
  brevane::framework::win32::AdjustWindowRectForDpi(frame, style, false, exStyle, scale.Dpi());
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const ControlSpec& control : form.controls) {
    HWND child = GetDlgItem(dialog, control.id);
    if (!child) continue;
    const RECT& r = control.bounds;
    int height = scale(r.bottom - r.top);
    // A combo box's height is that of its closed field plus its drop-down list.
    if (std::wstring_view(control.className) == L"COMBOBOX") height = scale(200);
    SetWindowPos(child, nullptr, scale(r.left), scale(r.top), scale(r.right - r.left), height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CenterWindow(HWND window, HWND reference) {
  RECT own{};
  GetWindowRect(window, &own);
  RECT area{};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(reference ? reference : window, MONITOR_DEFAULTTONEAREST),
                  &monitor);
  if (reference && IsWindowVisible(reference) && !IsIconic(reference)) {
    GetWindowRect(reference, &area);
  } else {
    area = monitor.rcWork;
  }
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;
  LONG left = area.left + (area.right - area.left - width) / 2;
  LONG top = area.top + (area.bottom - area.top - height) / 2;
  // Keep the whole dialog on the monitor, even when the reference hangs off its edge.
  const RECT& work = monitor.rcWork;
  left = std::max(work.left, std::min(left, work.right - width));
  top = std::max(work.top, std::min(top, work.bottom - height));
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace brevane::dialogs::win32
