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
#include "framework/win32/redraw_suspension.h"
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

void MainWindow::LoadClasses() {
  classesLoaded_ = true;
  // The local computer takes no credentials; "." is how the user asks for it explicitly.
  if (wmiClient_->Host == ".") {
    wmiClient_->User.clear();
    wmiClient_->Password.clear();
  }
  classesLoading_ = true;
  classNames_.clear();
  ShowClassList({});  // "Classes: 0" until names arrive
  // The list (perhaps of another host) no longer shows the class: a click loads it afresh.
  // The load that filled it stops, so that none of it reaches the emptied pane.
  if (instanceLoader_) instanceLoader_->StopLoading();
  SendMessageW(instanceList_, LB_RESETCONTENT, 0, 0);
  currentClass_.clear();
  DropPropertyFetch();
  SetStatusPanel(0, wmiClient_->Host);
  UpdateBusyCursor();
  const std::string host = wmiClient_->Host;
  wmi::StartClassList(*classListWorker_, Connection(), hideEmptyClasses_,
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
void MainWindow::OnClassNames(util::StringList&& names) {
  ClassFilter batch;
  batch.SetNames(std::move(names));
  {
    framework::win32::RedrawSuspension redraw(classList_);
    for (int index : batch.Matches(ClassFilterText())) {
      const std::wstring wide =
          framework::win32::Utf8ToWide(batch.Names()[static_cast<size_t>(index)]);
      SendMessageW(classList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
  }
  classNames_.insert(classNames_.end(), batch.Names().begin(), batch.Names().end());
  SetStatusPanel(
      1, ClassCountText(static_cast<size_t>(framework::win32::Win32ListBox(classList_).ItemCount()),
                        classNames_.size(), !ClassFilter::Normalized(ClassFilterText()).empty()));
}

void MainWindow::OnClassListEnded(bool ok, const std::string& errorText) {
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

void MainWindow::OnClassChosen() {
  framework::win32::Win32ListBox classList(classList_);
  const int selected = classList.SelectedIndex();
  if (selected < 0) {
    EmptyClassPanes();
    return;
  }
  const std::string chosen = classList.ItemText(selected);
  if (ActionForClassClick(currentClass_, chosen) == ClassAction::LoadClass) LoadClass(chosen);
}

void MainWindow::LoadClass(const std::string& className) {
  currentClass_ = className;
  SetStatusPanel(2, kRequestingInstances);
  if (!instanceListAdapter_)
    instanceListAdapter_ = std::make_unique<ListBoxInstanceList>(instanceList_);
  instanceLoader_->RequestInstances(wmiClient_->Host, wmiClient_->Namespace, wmiClient_->User,
                                    wmiClient_->Password, currentClass_,
                                    instanceListAdapter_.get());
  SetClassTabQueryText("select * from " + currentClass_);
  // The names come from a worker; until then the grid shows no other class's names.
  columnNames_.clear();
  propertyTypes_.clear();
  SetPropertyRows(columnNames_, nullptr);
  propertiesPending_ = true;
  UpdateBusyCursor();
  wmi::StartClassProperties(*propertyWorker_, Connection(), currentClass_,
                            [this](wmi::PropertyListing&& listing) {
                              RunAsHandler([&] { OnPropertyListing(std::move(listing), false); });
                            });
}

void MainWindow::EmptyClassPanes() {
  if (instanceLoader_) instanceLoader_->StopLoading();
  SendMessageW(instanceList_, LB_RESETCONTENT, 0, 0);
  SetPropertyRows({}, nullptr);
  currentClass_.clear();
  DropPropertyFetch();
}

void MainWindow::DropPropertyFetch() {
  propertyWorker_->Cancel();
  propertiesPending_ = false;
  UpdateBusyCursor();
}

void MainWindow::InstancesDone(int count, const std::string& message) {
  SetStatusPanel(2, message.empty() ? "Instances: " + std::to_string(count) : message);
}

void MainWindow::OnInstanceChosen() {
  const int selected = framework::win32::Win32ListBox(instanceList_).SelectedIndex();
  if (selected < 0) return;
  // Fetched by its path, which names this very instance; lines without one (a keyless class,
  // the progress or failure line) are found by their position, as before.
  const std::string path = instanceLoader_->PathOf(selected);
  // Until the answer comes, the grid shows no other instance's values.
  resultValues_.clear();
  SetPropertyRows(columnNames_, nullptr);
  propertiesPending_ = true;
  UpdateBusyCursor();
  wmi::StartInstanceFetch(*propertyWorker_, Connection(), wmiClient_->Regional(), currentClass_,
                          path, selected, [this](wmi::PropertyListing&& listing) {
                            RunAsHandler([&] { OnPropertyListing(std::move(listing), true); });
                          });
}

void MainWindow::OnPropertyListing(wmi::PropertyListing&& listing, bool ofInstance) {
  propertiesPending_ = false;
  UpdateBusyCursor();
  if (listing.gone) {
    columnNames_.clear();
    resultValues_.clear();
    SetPropertyRows(columnNames_, nullptr);
    SetStatusPanel(2, listing.errorText);
    return;
  }
  columnNames_ = std::move(listing.names);
  resultValues_ = std::move(listing.values);
  if (!ofInstance) propertyTypes_ = std::move(listing.types);
  SetPropertyRows(columnNames_, ofInstance ? &resultValues_ : nullptr);
  if (!listing.ok) ShowError(listing.errorText);
}

bool MainWindow::BackgroundBusy() const {
  return query_.active || classesLoading_ || propertiesPending_;
}

void MainWindow::UpdateBusyCursor() {
  POINT point{};
  if (!GetCursorPos(&point)) return;
  HWND under = WindowFromPoint(point);
  if (under == nullptr || (under != Handle() && !IsChild(Handle(), under))) return;
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void MainWindow::SetPropertyRows(const util::StringList& names, const util::StringList* values) {
  framework::win32::RedrawSuspension redraw(propertyGrid_);
  ListView_DeleteAllItems(propertyGrid_);
  const size_t rows = names.size() + 1;  // one blank row after the names
  for (size_t row = 0; row < rows; ++row) {
    const std::wstring name =
        row < names.size() ? framework::win32::Utf8ToWide(names[row]) : std::wstring();
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t*>(name.c_str());
    const int index = static_cast<int>(
        SendMessageW(propertyGrid_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) break;
    if (values && row < values->size()) {
      const std::wstring value = framework::win32::Utf8ToWide((*values)[row]);
      LVITEMW sub{};
      sub.iSubItem = 1;
      sub.pszText = const_cast<wchar_t*>(value.c_str());
      SendMessageW(propertyGrid_, LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&sub));
    }
  }
  ShowPropertyTypes();
}

void MainWindow::OnClassTabRunQuery() {
  SelectTab(1);
  SetQueryText(framework::win32::GetWindowTextUtf8(classTabQueryCombo_));
  RunQuery();
}

void MainWindow::PrepareClassMenu() {
  const int selected = framework::win32::Win32ListBox(classList_).SelectedIndex();
  if (selected >= 0) {
    const std::string className = framework::win32::Win32ListBox(classList_).ItemText(selected);
    selectFromHint_ = "select * from " + className;
    refreshTarget_ = className;
    SetMenuItemCaption(classMenu_.Get(), kCmdSelectFrom, selectFromHint_, true);
    SetMenuItemCaption(classMenu_.Get(), kCmdRefreshInstances,
                       "Refresh instances (" + className + ")", true);
  } else {
    refreshTarget_.clear();
    SetMenuItemCaption(classMenu_.Get(), kCmdSelectFrom, "select * from ...", false);
    SetMenuItemCaption(classMenu_.Get(), kCmdRefreshInstances, "Refresh", false);
  }
}

void MainWindow::OnSelectFrom() {
  SelectTab(1);
  SetQueryText(selectFromHint_);
  RunQuery();
}

void MainWindow::OnRefreshInstances() {
  switch (ActionForRefresh(currentClass_, refreshTarget_)) {
    case ClassAction::LoadClass:
      LoadClass(refreshTarget_);
      return;
    case ClassAction::ReloadInstances:
      SetStatusPanel(2, kRequestingInstances);
      instanceLoader_->RefreshInstances();
      return;
    case ClassAction::Nothing:
      return;
  }
}

}  // namespace brevane::app::win32
