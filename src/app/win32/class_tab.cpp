// The classes tab: the class list, the instances of the chosen class, the property grid and
// the class list's context menu.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <string>

#include "app/class_choice.h"
#include "app/class_filter.h"
#include "app/query_texts.h"
#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/encoding.h"
#include "util/text.h"
#include "wmi/class_list_stream.h"

namespace brevane::app::win32 {

namespace {
constexpr const char* kRequestingInstances = "Requesting instances...";

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const int c = util::CompareBytes(util::AsciiLower(a), util::AsciiLower(b));
  return c != 0 ? c < 0 : util::CompareBytes(a, b) < 0;
}
}  // namespace

void TMainWin::LoadClasses() {
  ClassesLoaded = true;
  // The local computer takes no credentials; "." is how the user asks for it explicitly.
  if (Wmi->Host == ".") {
    Wmi->User.clear();
    Wmi->Password.clear();
  }
  classesLoading_ = true;
  classNames_.clear();
  ShowClassList({});  // "Classes: 0" until names arrive
  // The list (perhaps of another host) no longer shows the class: a click loads it afresh.
  SendMessageW(InstanceListBox, LB_RESETCONTENT, 0, 0);
  CurrentClass.clear();
  DropPropertyFetch();
  SetStatusPanel(0, Wmi->Host);
  UpdateBusyCursor();
  const std::string host = Wmi->Host;
  wmi::StartClassList(*classListWorker_, Connection(), HideEmptyClasses,
                      {[this, host] {
                         if (!panelBeforeConnect_) panelBeforeConnect_ = StatusPanel(2);
                         SetStatusPanel(2, ConnectingText(host));
                       },
                       [this] {
                         if (panelBeforeConnect_) SetStatusPanel(2, *panelBeforeConnect_);
                         panelBeforeConnect_.reset();
                       },
                       [this](util::StringList&& names) { OnClassNames(std::move(names)); },
                       [this](bool ok, const std::string& errorText) {
                         RunAsHandler([&] { OnClassListEnded(ok, errorText); });
                       }});
}

// While the list loads, names are shown as they come, those the filter box lets through.
void TMainWin::OnClassNames(util::StringList&& names) {
  ClassFilter batch;
  batch.SetNames(std::move(names));
  SendMessageW(ClassListBox, WM_SETREDRAW, FALSE, 0);
  for (int index : batch.Matches(ClassFilterText())) {
    const std::wstring wide =
        framework::win32::Utf8ToWide(batch.Names()[static_cast<size_t>(index)]);
    SendMessageW(ClassListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  SendMessageW(ClassListBox, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(ClassListBox, nullptr, TRUE);
  classNames_.insert(classNames_.end(), batch.Names().begin(), batch.Names().end());
  SetStatusPanel(
      1,
      ClassCountText(static_cast<size_t>(framework::win32::Win32ListBox(ClassListBox).ItemCount()),
                     classNames_.size(), !ClassFilter::Normalized(ClassFilterText()).empty()));
}

void TMainWin::OnClassListEnded(bool ok, const std::string& errorText) {
  classesLoading_ = false;
  if (panelBeforeConnect_) SetStatusPanel(2, *panelBeforeConnect_);
  panelBeforeConnect_.reset();
  util::StringList classes = std::move(classNames_);
  classNames_.clear();
  std::sort(classes.begin(), classes.end(), LessIgnoringCase);
  // Through the filter; a class the user chose while the list was loading stays chosen.
  ShowClassList(std::move(classes));
  UpdateBusyCursor();
  if (!ok) ShowError("Error: " + errorText);
}

void TMainWin::ClassListBoxClick() {
  framework::win32::Win32ListBox classList(ClassListBox);
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
  SetStatusPanel(2, kRequestingInstances);
  if (!instanceList_) instanceList_ = std::make_unique<ListBoxInstanceList>(InstanceListBox);
  InstancesThread->RequestInstances(Wmi->Host, Wmi->Namespace, Wmi->User, Wmi->Password,
                                    CurrentClass, instanceList_.get());
  SetQueryComboText("select * from " + CurrentClass);
  // The names come from a worker; until then the grid shows no other class's names.
  ColumnNames.clear();
  propertyTypes_.clear();
  SetPropGridRows(ColumnNames, nullptr);
  propertiesPending_ = true;
  UpdateBusyCursor();
  wmi::StartClassProperties(*propertyWorker_, Connection(), CurrentClass,
                            [this](wmi::PropertyListing&& listing) {
                              RunAsHandler([&] { OnPropertyListing(std::move(listing), false); });
                            });
}

void TMainWin::EmptyClassPanes() {
  SendMessageW(InstanceListBox, LB_RESETCONTENT, 0, 0);
  SetPropGridRows({}, nullptr);
  CurrentClass.clear();
  DropPropertyFetch();
}

void TMainWin::DropPropertyFetch() {
  propertyWorker_->Cancel();
  propertiesPending_ = false;
  UpdateBusyCursor();
}

void TMainWin::InstancesDone(int count, const std::string& message) {
  SetStatusPanel(2, message.empty() ? "Instances: " + std::to_string(count) : message);
}

void TMainWin::InstanceListBoxClick() {
  const int selected = framework::win32::Win32ListBox(InstanceListBox).SelectedIndex();
  if (selected < 0) return;
  // Fetched by its path, which names this very instance; lines without one (a keyless class,
  // the progress or failure line) are found by their position, as before.
  const std::string path = InstancesThread->PathOf(selected);
  // Until the answer comes, the grid shows no other instance's values.
  ResultValues.clear();
  SetPropGridRows(ColumnNames, nullptr);
  propertiesPending_ = true;
  UpdateBusyCursor();
  wmi::StartInstanceFetch(*propertyWorker_, Connection(), Wmi->Regional(), CurrentClass, path,
                          selected, [this](wmi::PropertyListing&& listing) {
                            RunAsHandler([&] { OnPropertyListing(std::move(listing), true); });
                          });
}

void TMainWin::OnPropertyListing(wmi::PropertyListing&& listing, bool ofInstance) {
  propertiesPending_ = false;
  UpdateBusyCursor();
  if (listing.gone) {
    ColumnNames.clear();
    ResultValues.clear();
    SetPropGridRows(ColumnNames, nullptr);
    SetStatusPanel(2, listing.errorText);
    return;
  }
  ColumnNames = std::move(listing.names);
  ResultValues = std::move(listing.values);
  if (!ofInstance) propertyTypes_ = std::move(listing.types);
  SetPropGridRows(ColumnNames, ofInstance ? &ResultValues : nullptr);
  if (!listing.ok) ShowError(listing.errorText);
}

bool TMainWin::BackgroundBusy() const {
  return query_.active || classesLoading_ || propertiesPending_;
}

void TMainWin::UpdateBusyCursor() {
  POINT point{};
  if (!GetCursorPos(&point)) return;
  HWND under = WindowFromPoint(point);
  if (under == nullptr || (under != Handle() && !IsChild(Handle(), under))) return;
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TMainWin::SetPropGridRows(const util::StringList& names, const util::StringList* values) {
  SendMessageW(PropGrid, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(PropGrid);
  const size_t rows = names.size() + 1;  // one blank row after the names
  for (size_t row = 0; row < rows; ++row) {
    const std::wstring name =
        row < names.size() ? framework::win32::Utf8ToWide(names[row]) : std::wstring();
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t*>(name.c_str());
    const int index = static_cast<int>(
        SendMessageW(PropGrid, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) break;
    if (values && row < values->size()) {
      const std::wstring value = framework::win32::Utf8ToWide((*values)[row]);
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
  SetQuery2Text(framework::win32::GetWindowTextUtf8(QueryCombo));
  Query2BtnClick();
}

void TMainWin::PopupMenu1Popup() {
  const int selected = framework::win32::Win32ListBox(ClassListBox).SelectedIndex();
  if (selected >= 0) {
    const std::string className = framework::win32::Win32ListBox(ClassListBox).ItemText(selected);
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

}  // namespace brevane::app::win32
