#include "app/win32/view_controls.h"

#include "app/win32/view.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/win32/clipboard.h"
#include "framework/win32/dpi.h"
#include "framework/win32/encoding.h"

namespace brevane::app::win32 {

RECT Bounds(int left, int top, int right, int bottom) {
  return RECT{left, top, std::max(left, right), std::max(top, bottom)};
}

RECT TabPageArea(HWND tabControl, const RECT& bounds) {
  RECT page = bounds;
  TabCtrl_AdjustRect(tabControl, FALSE, &page);
  return Bounds(page.left, page.top, page.right, page.bottom);
}

void AddTab(HWND tabControl, int index, const std::string& caption) {
  std::wstring text = framework::win32::Utf8ToWide(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageW(tabControl, TCM_INSERTITEMW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
}

void AddReportColumn(HWND listView, int index, const wchar_t* caption, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<wchar_t*>(caption);
  SendMessageW(listView, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&column));
}

void RescaleColumns(HWND listView, UINT dpi, UINT previous) {
  const int columns = Header_GetItemCount(ListView_GetHeader(listView));
  for (int i = 0; i < columns; ++i) {
    const int width = ListView_GetColumnWidth(listView, i);
    ListView_SetColumnWidth(listView, i, framework::win32::DpiScale(dpi).FromDpi(width, previous));
  }
}

void SetControlsFont(std::initializer_list<HWND> controls, HFONT font) {
  for (HWND control : controls) {
    if (control != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

void AppendMenuItem(HMENU menu, int id, const char* caption) {
  if (id == 0) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id),
              framework::win32::Utf8ToWide(caption).c_str());
}

void EnableMenuCommand(HMENU menu, int id, bool enabled) {
  EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetMenuItemCaption(HMENU menu, int id, const std::string& caption, bool enabled) {
  // The caption is shown exactly as given: an ampersand is no accelerator mark here.
  std::string literal;
  for (char c : caption) {
    literal.push_back(c);
    if (c == '&') literal.push_back('&');
  }
  std::wstring text = framework::win32::Utf8ToWide(literal);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING | MIIM_STATE;
  info.dwTypeData = text.data();
  info.fState = enabled ? MFS_ENABLED : MFS_DISABLED;
  SetMenuItemInfoW(menu, static_cast<UINT>(id), FALSE, &info);
}

void TrackContextMenu(HMENU menu, HWND frame, POINT point) {
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, frame, nullptr);
}

bool IsEditField(HWND control) {
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  return lstrcmpiW(name, L"Edit") == 0;
}

void SelectAll(HWND control, HWND listView) {
  if (control != nullptr && IsEditField(control)) {
    SendMessageW(control, EM_SETSEL, 0, -1);
    return;
  }
  if (control == nullptr || control != listView) return;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageW(control, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

std::string ListBoxLine(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
  return framework::win32::WideToUtf8(text);
}

std::vector<int> SelectedListViewRows(HWND listView) {
  std::vector<int> rows;
  int row = -1;
  while ((row = static_cast<int>(SendMessageW(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                              LVNI_SELECTED))) >= 0) {
    rows.push_back(row);
  }
  return rows;
}

void CopyToClipboard(ViewHost& host, const std::string& text) {
  switch (framework::win32::SetClipboardText(host.Frame(), text)) {
    case framework::win32::ClipboardResult::Copied:
      return;
    case framework::win32::ClipboardResult::Busy:
      host.SetStatus(2, "Could not copy: the clipboard is in use by another program");
      return;
    case framework::win32::ClipboardResult::TooLarge:
      host.SetStatus(2, "Could not copy: the text is too large for the clipboard");
      return;
  }
}

}  // namespace brevane::app::win32
