// Copying from the lists: the class list, the instance list, the property grid and the result
// table, by Ctrl+C and by the lists' context menus. The texts are the portable copy texts'.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "app/copy_text.h"
#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "framework/win32/clipboard.h"
#include "framework/win32/controls.h"
#include "framework/win32/encoding.h"

namespace brevane::app::win32 {

namespace {

bool IsEditField(HWND control) {
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  return lstrcmpiW(name, L"Edit") == 0;
}

// The whole text of a list box line.
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

std::vector<PropertyRowText> SelectedPropertyRows(HWND grid) {
  std::vector<PropertyRowText> rows;
  for (int row : SelectedListViewRows(grid))
    rows.push_back({PropertyNameFromGrid(framework::win32::ListViewText(grid, row, 0)),
                    framework::win32::ListViewText(grid, row, 1)});
  return rows;
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

// The failure text for status panel 2, or empty when the text is on the clipboard.
std::string PutOnClipboard(HWND owner, const std::string& text) {
  switch (framework::win32::SetClipboardText(owner, text)) {
    case framework::win32::ClipboardResult::Copied:
      return {};
    case framework::win32::ClipboardResult::Busy:
      return "Could not copy: the clipboard is in use by another program";
    case framework::win32::ClipboardResult::TooLarge:
      return "Could not copy: the text is too large for the clipboard";
  }
  return {};
}

}  // namespace

void MainWindow::CreateListMenus() {
  AppendMenuItem(classMenu_.Get(), 0, "-");
  AppendMenuItem(classMenu_.Get(), kCmdCopy, "复制\tCtrl+C");
  instanceMenu_.Reset(CreatePopupMenu());
  AppendMenuItem(instanceMenu_.Get(), kCmdCopy, "复制\tCtrl+C");
  propertyMenu_.Reset(CreatePopupMenu());
  AppendMenuItem(propertyMenu_.Get(), kCmdCopy, "复制\tCtrl+C");
  AppendMenuItem(propertyMenu_.Get(), kCmdCopyValue, "复制值\tCtrl+Shift+C");
  AppendMenuItem(propertyMenu_.Get(), kCmdSelectAll, "全选\tCtrl+A");
  tableMenu_.Reset(CreatePopupMenu());
  AppendMenuItem(tableMenu_.Get(), kCmdCopy, "复制\tCtrl+C");
  AppendMenuItem(tableMenu_.Get(), kCmdSelectAll, "全选\tCtrl+A");
  AppendMenuItem(tableMenu_.Get(), 0, "-");
  AppendMenuItem(tableMenu_.Get(), kCmdExport, "导出...\tCtrl+S");
}

void MainWindow::ListContextMenu(HWND list, POINT point) {
  HMENU menu = list == instanceList_   ? instanceMenu_.Get()
               : list == propertyGrid_ ? propertyMenu_.Get()
               : list == resultTable_  ? tableMenu_.Get()
                                       : nullptr;
  if (menu == nullptr) return;
  const bool listViewSelection =
      list != instanceList_ && SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
  const bool selection =
      list == instanceList_ ? SendMessageW(list, LB_GETCURSEL, 0, 0) != LB_ERR : listViewSelection;
  EnableMenuCommand(menu, kCmdCopy, selection);
  EnableMenuCommand(menu, kCmdCopyValue, selection);
  EnableMenuCommand(menu, kCmdExport, queryRows_.Rows().ColumnCount() > 0);
  contextList_ = list;
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(), nullptr);
}

void MainWindow::OnCopy(HWND list) {
  if (list != nullptr && IsEditField(list)) {
    SendMessageW(list, WM_COPY, 0, 0);
    return;
  }
  std::string text;
  if (list == classList_ || list == instanceList_) {
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    text = ListBoxLine(list, static_cast<int>(selected));
  } else if (list == propertyGrid_) {
    const std::vector<PropertyRowText> rows = SelectedPropertyRows(propertyGrid_);
    if (rows.empty()) return;
    text = PropertyLinesText(rows);
  } else if (list == resultTable_) {
    const ResultRows& rows = queryRows_.Rows();
    const auto selected = static_cast<int>(SendMessageW(resultTable_, LVM_GETSELECTEDCOUNT, 0, 0));
    if (selected <= 0 || rows.ColumnCount() == 0) return;
    if (selected >= rows.RowCount()) {
      text = ResultRowsText(rows, ResultColumnOrder(), nullptr);
    } else {
      const std::vector<int> chosen = SelectedListViewRows(resultTable_);
      text = ResultRowsText(rows, ResultColumnOrder(), &chosen);
    }
  } else {
    return;
  }
  CopyToClipboard(text);
}

void MainWindow::CopyToClipboard(const std::string& text) {
  const std::string failure = PutOnClipboard(Handle(), text);
  if (!failure.empty()) SetStatusPanel(2, failure);
}

void MainWindow::OnCopyValue() {
  const std::vector<PropertyRowText> rows = SelectedPropertyRows(propertyGrid_);
  if (rows.empty()) return;
  CopyToClipboard(PropertyValuesText(rows));
}

void MainWindow::OnSelectAll(HWND control) {
  if (control != nullptr && IsEditField(control)) {
    SendMessageW(control, EM_SETSEL, 0, -1);
    return;
  }
  if (control != resultTable_ && control != propertyGrid_) return;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageW(control, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

std::vector<int> MainWindow::ResultColumnOrder() const {
  const int columns = resultView_.HeaderColumnCount();
  std::vector<int> order(static_cast<size_t>(std::max(columns, 0)));
  if (columns <= 0 ||
      !SendMessageW(resultTable_, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(columns),
                    reinterpret_cast<LPARAM>(order.data()))) {
    for (int i = 0; i < columns; ++i) order[static_cast<size_t>(i)] = i;
  }
  return order;
}

}  // namespace brevane::app::win32
