#include "framework/win32/controls.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "framework/win32/encoding.h"

namespace brevane::framework::win32 {

UniqueFont CreateGuiFont(const DpiScale& scale) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW font{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font = metrics.lfMessageFont;
    // The metrics come at the system DPI; the window may sit on another monitor.
    font.lfHeight = scale.FromDpi(font.lfHeight, DpiScale::ForSystem().Dpi());
  } else {
    font.lfHeight = -scale(11);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
  }
  return UniqueFont(CreateFontIndirectW(&font));
}

HWND CreateChild(HWND parent, const wchar_t* className, std::string_view text, DWORD style,
                 DWORD exStyle, int id, HFONT font) {
  const std::wstring caption = Utf8ToWide(text);
  HWND child = CreateWindowExW(
      exStyle, className, caption.c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (child != nullptr && font != nullptr)
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

int TextHeight(HWND window, HFONT font, std::wstring_view sample) {
  WindowDc dc(window);
  if (dc.Get() == nullptr) return 0;
  SelectObjectScope select(dc.Get(), font);
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), sample.data(), static_cast<int>(sample.size()), &size);
  return size.cy;
}

void MoveChild(HWND child, const RECT& bounds) {
  MoveWindow(child, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
             TRUE);
}

void SetStatusPanels(HWND statusBar, const int* widths, int count) {
  std::vector<int> edges(static_cast<size_t>(count));
  int right = 0;
  for (int i = 0; i < count; ++i) {
    right += widths[i];
    edges[static_cast<size_t>(i)] = right;
  }
  // The last panel takes the rest of the bar.
  if (count > 0) edges.back() = -1;
  SendMessageW(statusBar, SB_SETPARTS, static_cast<WPARAM>(count),
               reinterpret_cast<LPARAM>(edges.data()));
}

void SetStatusText(HWND statusBar, int panel, const std::string& text) {
  const std::wstring wide = Utf8ToWide(text);
  SendMessageW(statusBar, SB_SETTEXTW, static_cast<WPARAM>(panel),
               reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string GetStatusText(HWND statusBar, int panel) {
  const LRESULT info = SendMessageW(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0);
  const size_t length = LOWORD(info);
  std::wstring buffer(length + 1, L'\0');
  SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(panel),
               reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(wcsnlen(buffer.c_str(), length));
  return WideToUtf8(buffer);
}

std::string ListViewText(HWND listView, int row, int column) {
  // The control gives no length: the buffer grows until the text fits.
  for (size_t capacity = 1024;; capacity *= 4) {
    std::wstring text(capacity, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(capacity);
    const auto copied = static_cast<size_t>(SendMessageW(
        listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < capacity || capacity > INT_MAX / 8) {
      text.resize(std::min(copied, capacity));
      return WideToUtf8(text);
    }
  }
}

void SetListViewText(HWND listView, int row, int column, const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(listView, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

}  // namespace brevane::framework::win32
