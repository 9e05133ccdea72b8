// The classes tab: the class list, the instances of the chosen class, the property grid and
// the class list's context menu.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <string>

#include "app/class_choice.h"
#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/encoding.h"
#include "util/text.h"

namespace brevane::app {

namespace {
constexpr const char* kRequestingInstances = "Requesting instances...";
// Messages are processed after every tenth class of the filter walk.
constexpr int kFilterMessageInterval = 10;

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const int c = CompareBytes(AsciiLower(a), AsciiLower(b));
  return c != 0 ? c < 0 : CompareBytes(a, b) < 0;
}
}  // namespace

void TMainWin::LoadClasses() {
  ClassesLoaded = true;
  BusyScope busy(*this);
  try {
    SendMessageW(ClassListBox, LB_RESETCONTENT, 0, 0);
    StringList classes;
    const bool ok = Wmi->GetClasses(classes);
    if (HideEmptyClasses) {
      // From the last to the first, so that deleting keeps the indices of the lines to come.
      try {
        for (int i = static_cast<int>(classes.size()) - 1; i >= 0; --i) {
          if (!Wmi->HasInstances(classes[static_cast<size_t>(i)]))
            classes.erase(classes.begin() + i);
          if (i % kFilterMessageInterval == 0 && !ProcessMessages()) return;
        }
      } catch (const std::exception&) {
        // The walk ends quietly; the classes not tested yet stay in the list.
      }
    }
    std::sort(classes.begin(), classes.end(), LessIgnoringCase);
    ShowClassList(std::move(classes));
    busy.Restore();
    if (!ok) ShowError("Error: " + Wmi->LastError);
  } catch (const std::exception& error) {
    SendMessageW(ClassListBox, WM_SETREDRAW, TRUE, 0);
    busy.Restore();
    ShowError(std::string("Error: ") + error.what());
  }
  SendMessageW(ClassListBox, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  // The list (perhaps of another host) no longer shows the class: a click loads it afresh.
  SendMessageW(InstanceListBox, LB_RESETCONTENT, 0, 0);
  CurrentClass.clear();
  SetStatusPanel(0, Wmi->Host);
  ShowClassCount();
}

void TMainWin::ClassListBoxClick() {
  win32::Win32ListBox classList(ClassListBox);
  const int selected = classList.SelectedIndex();
  if (selected < 0) {
    EmptyClassPanes();
    return;
  }
  const std::string chosen = classList.ItemText(selected);
  if (ActionForClassClick(CurrentClass, chosen) == ClassAction::LoadClass) LoadClass(chosen);
}

void TMainWin::LoadClass(const std::string& className) {
  CurrentClass = className;
  BusyScope busy(*this);
  try {
    SetStatusPanel(2, kRequestingInstances);
    if (!instanceList_)
      instanceList_ = std::make_unique<win32::ListBoxInstanceList>(InstanceListBox);
    InstancesThread->RequestInstances(Wmi->Host, Wmi->Namespace, Wmi->User, Wmi->Password,
                                      CurrentClass, instanceList_.get());
    SetQueryComboText("select * from " + CurrentClass);
    const bool ok = Wmi->GetClassProperties(CurrentClass, ColumnNames, &propertyTypes_);
    SetPropGridRows(ColumnNames, nullptr);
    busy.Restore();
    if (!ok) ShowError(Wmi->LastError);
  } catch (const std::exception& error) {
    busy.Restore();
    ShowError(std::string("Error: ") + error.what());
  }
}

void TMainWin::EmptyClassPanes() {
  SendMessageW(InstanceListBox, LB_RESETCONTENT, 0, 0);
  SetPropGridRows({}, nullptr);
  CurrentClass.clear();
}

void TMainWin::InstancesDone(int count, const std::string& message) {
  SetStatusPanel(2, message.empty() ? "Instances: " + std::to_string(count) : message);
}

void TMainWin::InstanceListBoxClick() {
  const int selected = win32::Win32ListBox(InstanceListBox).SelectedIndex();
  if (selected < 0) return;
  BusyScope busy(*this);
  try {
    const bool ok = Wmi->GetInstanceProperties(CurrentClass, selected, &ColumnNames, &ResultValues);
    SetPropGridRows(ColumnNames, &ResultValues);
    busy.Restore();
    if (!ok) ShowError(Wmi->LastError);
  } catch (const std::exception& error) {
    busy.Restore();
    ShowError(std::string("Error: ") + error.what());
  }
}

void TMainWin::PropGridSelectCell(int, int, bool& canSelect) {
  // Every cell may be chosen; the drill-down that would use it needs a key property, and
  // nothing gives the window one.
  canSelect = true;
}

void TMainWin::SetPropGridRows(const StringList& names, const StringList* values) {
  SendMessageW(PropGrid, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(PropGrid);
  const size_t rows = names.size() + 1;  // one blank row after the names
  for (size_t row = 0; row < rows; ++row) {
    const std::wstring name = row < names.size() ? win32::Utf8ToWide(names[row]) : std::wstring();
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t*>(name.c_str());
    const int index = static_cast<int>(
        SendMessageW(PropGrid, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) break;
    if (values && row < values->size()) {
      const std::wstring value = win32::Utf8ToWide((*values)[row]);
      LVITEMW sub{};
      sub.iSubItem = 1;
      sub.pszText = const_cast<wchar_t*>(value.c_str());
      SendMessageW(PropGrid, LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&sub));
    }
  }
  ShowPropertyTypes();
  SendMessageW(PropGrid, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(PropGrid, nullptr, TRUE);
}

void TMainWin::Query1BtnClick() {
  SelectTab(1);
  SetQuery2Text(win32::GetWindowTextUtf8(QueryCombo));
  Query2BtnClick();
}

void TMainWin::PopupMenu1Popup() {
  const int selected = win32::Win32ListBox(ClassListBox).SelectedIndex();
  if (selected >= 0) {
    const std::string className = win32::Win32ListBox(ClassListBox).ItemText(selected);
    selectFromHint_ = "select * from " + className;
    refreshTarget_ = className;
    SetMenuItemCaption(PopupMenu1, kCmdSelectfrom1, selectFromHint_, true);
    SetMenuItemCaption(PopupMenu1, kCmdRefresh2, "Refresh instances (" + className + ")", true);
  } else {
    refreshTarget_.clear();
    SetMenuItemCaption(PopupMenu1, kCmdSelectfrom1, "select * from ...", false);
    SetMenuItemCaption(PopupMenu1, kCmdRefresh2, "Refresh", false);
  }
}

void TMainWin::Selectfrom1Click() {
  SelectTab(1);
  SetQuery2Text(selectFromHint_);
  Query2BtnClick();
}

void TMainWin::Refresh2Click() {
  switch (ActionForRefresh(CurrentClass, refreshTarget_)) {
    case ClassAction::LoadClass:
      LoadClass(refreshTarget_);
      return;
    case ClassAction::ReloadInstances:
      SetStatusPanel(2, kRequestingInstances);
      InstancesThread->RefreshInstances();
      return;
    case ClassAction::Nothing:
      return;
  }
}

}  // namespace brevane::app
