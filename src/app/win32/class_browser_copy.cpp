// Copying from the classes tab's lists: the class list, the instance list, the property grid
// and the related objects, by Ctrl+C and by the lists' context menus. The texts are the portable
// copy texts'.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/copy_text.h"
#include "app/powershell_copy.h"
#include "app/win32/class_browser_view.h"
#include "app/win32/command_ids.h"
#include "app/win32/view_controls.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/controls.h"
#include "wmi/cim_type.h"

namespace brevane::app::win32 {

namespace {

std::vector<PropertyRowText> SelectedPropertyRows(HWND grid) {
  std::vector<PropertyRowText> rows;
  for (int row : SelectedListViewRows(grid))
    rows.push_back({PropertyNameFromGrid(framework::win32::ListViewText(grid, row, 0)),
                    framework::win32::ListViewText(grid, row, 1)});
  return rows;
}

}  // namespace

void ClassBrowserView::CreateListMenus() {
  AppendMenuItem(classMenu_.Get(), 0, "-");
  AppendMenuItem(classMenu_.Get(), kCmdCopy, "复制\tCtrl+C");
  instanceMenu_.Reset(CreatePopupMenu());
  AppendMenuItem(instanceMenu_.Get(), kCmdCopy, "复制\tCtrl+C");
  AppendMenuItem(instanceMenu_.Get(), kCmdCopyPowerShell, "复制为 PowerShell\tCtrl+Shift+P");
  AppendMenuItem(instanceMenu_.Get(), kCmdExecuteMethod, "执行方法...\tCtrl+M");
  propertyMenu_.Reset(CreatePopupMenu());
  AppendMenuItem(propertyMenu_.Get(), kCmdCopy, "复制\tCtrl+C");
  AppendMenuItem(propertyMenu_.Get(), kCmdCopyValue, "复制值\tCtrl+Shift+C");
  AppendMenuItem(propertyMenu_.Get(), kCmdSelectAll, "全选\tCtrl+A");
  AppendMenuItem(propertyMenu_.Get(), 0, "-");
  AppendMenuItem(propertyMenu_.Get(), kCmdFollowReference, "转到对象");
}

HMENU ClassBrowserView::PrepareListMenu(HWND list) {
  HMENU menu = list == instanceList_ ? instanceMenu_.Get() : propertyMenu_.Get();
  if (menu == nullptr) return nullptr;
  const bool selection = list == instanceList_ ? SendMessageW(list, LB_GETCURSEL, 0, 0) != LB_ERR
                                               : SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
  EnableMenuCommand(menu, kCmdCopy, selection);
  EnableMenuCommand(menu, kCmdCopyValue, selection);
  EnableMenuCommand(menu, kCmdCopyPowerShell, selection);
  // Static methods need no instance; read-only mode executes none.
  EnableMenuCommand(menu, kCmdExecuteMethod, !currentClass_.empty() && !host_.Settings().readOnly);
  if (list == propertyGrid_) {
    // Only a row whose value names one object leads anywhere.
    const std::vector<int> rows = SelectedListViewRows(list);
    EnableMenuCommand(
        menu, kCmdFollowReference,
        rows.size() == 1 &&
            wmi::IsSingleReference(framework::win32::ListViewText(list, rows[0], 2)) &&
            !framework::win32::ListViewText(list, rows[0], 1).empty());
  }
  contextList_ = list;
  return menu;
}

void ClassBrowserView::ListContextMenu(HWND list, POINT point) {
  if (HMENU menu = PrepareListMenu(list)) TrackContextMenu(menu, host_.Frame(), point);
}

void ClassBrowserView::OnCopy(HWND list) {
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
    std::optional<std::string> lines = PropertyLinesText(SelectedPropertyRows(propertyGrid_));
    if (!lines) return;
    text = std::move(*lines);
  } else if (list == relatedList_ && relatedList_ != nullptr) {
    const int line = framework::win32::Win32ListBox(list).SelectedIndex();
    if (line < 0) return;
    // An object's line copies its path, which a query or another tool takes; the others
    // copy as they read.
    const auto object = static_cast<size_t>(line) < relatedLineObjects_.size()
                            ? relatedLineObjects_[static_cast<size_t>(line)]
                            : -1;
    text = object >= 0 && static_cast<size_t>(object) < related_.objects.size()
               ? related_.objects[static_cast<size_t>(object)].path
               : ListBoxLine(list, line);
  } else {
    return;
  }
  CopyToClipboard(host_, text);
}

void ClassBrowserView::OnCopyPowerShell() {
  if (currentClass_.empty()) return;
  const PowerShellTarget target = PowerShellTargetOf(ConnectionOf(client_));
  const int selected = framework::win32::Win32ListBox(instanceList_).SelectedIndex();
  if (selected < 0) {  // no instance chosen: every instance of the class
    CopyToClipboard(host_, PowerShellInstanceText(target, currentClass_, {}));
    return;
  }
  const std::optional<std::string> text =
      PowerShellTextOfInstance(target, instanceLoader_.PathOf(selected));
  if (!text) {
    host_.SetStatus(2, "The chosen instance has no key to name it by.");
    return;
  }
  CopyToClipboard(host_, *text);
}

void ClassBrowserView::OnCopyValue() {
  const std::optional<std::string> values = PropertyValuesText(SelectedPropertyRows(propertyGrid_));
  if (values) CopyToClipboard(host_, *values);
}

void ClassBrowserView::OnSelectAll(HWND control) {
  SelectAll(control, propertyGrid_);
}

}  // namespace brevane::app::win32
