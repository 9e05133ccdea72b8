// The classes tab's data: the class list, the instances of the chosen class, the property grid
// with its types and key marks, and the class list's context menu. The class click reads each
// property's CIM type and key qualifier from the class definition; every filling of the grid
// shows them in the column "Type" and marks the keys after their names.
#include "app/win32/class_browser_view.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <string>

#include "app/class_choice.h"
#include "app/class_filter.h"
#include "app/query_texts.h"
#include "app/win32/command_ids.h"
#include "app/copy_text.h"
#include "app/win32/view_controls.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/controls.h"
#include "framework/win32/encoding.h"
#include "framework/win32/redraw_suspension.h"
#include "util/text.h"
#include "wmi/class_list_stream.h"

namespace brevane::app::win32 {

namespace {
constexpr int kTypeColumn = 2;

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const int c = util::CompareBytes(util::AsciiLower(a), util::AsciiLower(b));
  return c != 0 ? c < 0 : util::CompareBytes(a, b) < 0;
}
}  // namespace

void ClassBrowserView::LoadClasses() {
  classesLoaded_ = true;
  if (namespaceTree_ && !namespaceTree_->Built()) ShowTreeConnection();  // the first load
  // The local computer takes no credentials; "." is how the user asks for it explicitly.
  if (client_.Host == ".") {
    client_.User.clear();
    client_.Password.clear();
  }
  classesLoading_ = true;
  classNames_.clear();
  ShowClassList({});  // "Classes: 0" until names arrive
  // The list (perhaps of another host) no longer shows the class: a click loads it afresh.
  // The load that filled it stops, so that none of it reaches the emptied pane.
  instanceLoader_.StopLoading();
  SendMessageW(instanceList_, LB_RESETCONTENT, 0, 0);
  currentClass_.clear();
  host_.SetStatus(2, panesStatus_.Emptied(host_.Status(2)));
  DropPropertyFetch();
  EmptyExplorePages();
  host_.SetStatus(0, client_.Host);
  host_.BackgroundChanged();
  const std::string host = client_.Host;
  wmi::StartClassList(classListWorker_, ConnectionOf(client_), hideEmptyClasses_,
                      {[this, host] {
                         if (!panelBeforeConnect_) panelBeforeConnect_ = host_.Status(2);
                         host_.SetStatus(2, ConnectingText(host));
                       },
                       [this] {
                         if (panelBeforeConnect_) host_.SetStatus(2, *panelBeforeConnect_);
                         panelBeforeConnect_.reset();
                       },
                       [this](util::StringList&& names) { OnClassNames(std::move(names)); },
                       [this](bool ok, const std::string& errorText) {
                         host_.RunAsHandler([&] { OnClassListEnded(ok, errorText); });
                       }});
}

// While the list loads, names are shown as they come, those the filter box lets through.
void ClassBrowserView::OnClassNames(util::StringList&& names) {
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
  host_.SetStatus(
      1, ClassCountText(static_cast<size_t>(framework::win32::Win32ListBox(classList_).ItemCount()),
                        classNames_.size(), !ClassFilter::Normalized(ClassFilterText()).empty()));
}

void ClassBrowserView::OnClassListEnded(bool ok, const std::string& errorText) {
  classesLoading_ = false;
  if (panelBeforeConnect_) host_.SetStatus(2, *panelBeforeConnect_);
  panelBeforeConnect_.reset();
  util::StringList classes = std::move(classNames_);
  classNames_.clear();
  std::sort(classes.begin(), classes.end(), LessIgnoringCase);
  // Through the filter; a class the user chose while the list was loading stays chosen.
  ShowClassList(std::move(classes));
  host_.BackgroundChanged();
  if (arrivalAwaitsClasses_) {
    arrivalAwaitsClasses_ = false;
    // A namespace or computer that refused: the window goes back to where it was, and the
    // box below says why.
    if (!ok && departure_) {
      ReturnToDeparture();
    } else {
      departure_.reset();
      ShowArrival();
    }
  }
  if (!ok) host_.ShowError("Error: " + errorText);
  SelectPendingClass();
}

void ClassBrowserView::OnClassChosen() {
  DropTrip();  // the user's click
  framework::win32::Win32ListBox classList(classList_);
  const int selected = classList.SelectedIndex();
  if (selected < 0) {
    EmptyClassPanes();
    return;
  }
  const std::string chosen = classList.ItemText(selected);
  if (ActionForClassClick(currentClass_, chosen) == ClassAction::LoadClass) LoadClass(chosen);
}

void ClassBrowserView::LoadClass(const std::string& className) {
  currentClass_ = className;
  Visited(std::string());
  host_.SetStatus(2, panesStatus_.Requesting());
  if (!instanceListAdapter_)
    instanceListAdapter_ = std::make_unique<ListBoxInstanceList>(instanceList_);
  instanceLoader_.RequestInstances(client_.Host, client_.Namespace, client_.User, client_.Password,
                                   currentClass_, instanceListAdapter_.get());
  framework::win32::SetWindowTextUtf8(queryCombo_, "select * from " + currentClass_);
  // The names come from a worker; until then the grid shows no other class's names.
  columnNames_.clear();
  propertyTypes_.clear();
  SetPropertyRows(columnNames_, nullptr);
  propertiesPending_ = true;
  host_.BackgroundChanged();
  wmi::StartClassProperties(
      propertyWorker_, ConnectionOf(client_), currentClass_,
      [this](wmi::PropertyListing&& listing) {
        host_.RunAsHandler([&] { OnPropertyListing(std::move(listing), false); });
      });
  RefreshExplorePage();
}

void ClassBrowserView::EmptyClassPanes() {
  instanceLoader_.StopLoading();
  SendMessageW(instanceList_, LB_RESETCONTENT, 0, 0);
  SetPropertyRows({}, nullptr);
  currentClass_.clear();
  host_.SetStatus(2, panesStatus_.Emptied(host_.Status(2)));
  DropPropertyFetch();
}

void ClassBrowserView::DropPropertyFetch() {
  propertyWorker_.Cancel();
  propertiesPending_ = false;
  host_.BackgroundChanged();
}

void ClassBrowserView::InstancesDone(int count, const std::string& message) {
  host_.SetStatus(2, panesStatus_.Loaded(count, message));
  SelectFollowedInstance();
}

void ClassBrowserView::OnInstanceChosen() {
  const int selected = framework::win32::Win32ListBox(instanceList_).SelectedIndex();
  if (selected < 0) return;
  // Fetched by its path, which names this very instance; lines without one (a keyless class,
  // the progress or failure line) are found by their position, as before.
  const std::string path = instanceLoader_.PathOf(selected);
  if (!path.empty()) Visited(path);
  // Until the answer comes, the grid shows no other instance's values.
  resultValues_.clear();
  SetPropertyRows(columnNames_, nullptr);
  propertiesPending_ = true;
  host_.BackgroundChanged();
  // The class's own answer may not have come (this fetch replaces it on the shared worker):
  // then the instance's answer brings the types, so that "Type" and the key marks stay.
  wmi::StartInstanceFetch(
      propertyWorker_, ConnectionOf(client_), client_.Regional(), currentClass_, path, selected,
      [this](wmi::PropertyListing&& listing) {
        host_.RunAsHandler([&] { OnPropertyListing(std::move(listing), true); });
      },
      propertyTypes_.empty());
  RefreshExplorePage();
}

void ClassBrowserView::OnPropertyListing(wmi::PropertyListing&& listing, bool ofInstance) {
  propertiesPending_ = false;
  host_.BackgroundChanged();
  if (listing.gone) {
    columnNames_.clear();
    resultValues_.clear();
    SetPropertyRows(columnNames_, nullptr);
    host_.SetStatus(2, panesStatus_.InstanceGone(listing.errorText));
    return;
  }
  if (ofInstance) host_.SetStatus(2, panesStatus_.InstanceShown());
  if (!listing.server.empty()) ownServerName_ = listing.server;
  columnNames_ = std::move(listing.names);
  resultValues_ = std::move(listing.values);
  if (!ofInstance || propertyTypes_.empty()) propertyTypes_ = std::move(listing.types);
  SetPropertyRows(columnNames_, ofInstance ? &resultValues_ : nullptr);
  if (!listing.ok) host_.ShowError(listing.errorText);
}

void ClassBrowserView::SetPropertyRows(const util::StringList& names,
                                       const util::StringList* values) {
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

void ClassBrowserView::PrepareClassMenu() {
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
  EnableMenuCommand(classMenu_.Get(), kCmdExecuteClassMethod,
                    selected >= 0 && !host_.Settings().readOnly);
}

MethodTarget ClassBrowserView::MethodTargetOf(bool classList) const {
  if (classList) {
    const int selected = framework::win32::Win32ListBox(classList_).SelectedIndex();
    if (selected < 0) return {};
    return {framework::win32::Win32ListBox(classList_).ItemText(selected), {}};
  }
  if (currentClass_.empty()) return {};
  const int chosen = framework::win32::Win32ListBox(instanceList_).SelectedIndex();
  return {currentClass_, chosen >= 0 ? instanceLoader_.PathOf(chosen) : std::string()};
}

void ClassBrowserView::InstanceChanged(const std::string& path) {
  const int chosen = framework::win32::Win32ListBox(instanceList_).SelectedIndex();
  if (chosen < 0 || path.empty() || instanceLoader_.PathOf(chosen) != path) return;
  OnInstanceChosen();
}

void ClassBrowserView::OnSelectFrom() {
  host_.RunQueryOnQueryTab(selectFromHint_);
}

void ClassBrowserView::OnRefreshInstances() {
  switch (ActionForRefresh(currentClass_, refreshTarget_)) {
    case ClassAction::LoadClass:
      LoadClass(refreshTarget_);
      return;
    case ClassAction::ReloadInstances:
      host_.SetStatus(2, panesStatus_.Requesting());
      instanceLoader_.RefreshInstances();
      return;
    case ClassAction::Nothing:
      return;
  }
}

const wmi::PropertyType* ClassBrowserView::PropertyTypeOf(const std::string& name) const {
  for (const wmi::PropertyType& type : propertyTypes_) {
    if (type.name == name) return &type;
  }
  // WMI compares property names without regard to case.
  const std::string folded = util::AsciiLower(name);
  for (const wmi::PropertyType& type : propertyTypes_) {
    if (util::AsciiLower(type.name) == folded) return &type;
  }
  return nullptr;
}

void ClassBrowserView::ShowPropertyTypes() {
  const auto rows = static_cast<int>(SendMessageW(propertyGrid_, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    const std::string name = framework::win32::ListViewText(propertyGrid_, row, 0);
    if (name.empty()) continue;
    const wmi::PropertyType* type = PropertyTypeOf(name);
    if (type == nullptr) continue;
    framework::win32::SetListViewText(propertyGrid_, row, kTypeColumn, type->typeName);
    if (type->key)
      framework::win32::SetListViewText(propertyGrid_, row, 0, PropertyGridName(name, true));
  }
}

void ClassBrowserView::OnHideEmptyClasses() {
  // The item's check mark is the opposite of hideEmptyClasses_; the item may not be in the
  // menu at all, so the field carries the state.
  hideEmptyClasses_ = !hideEmptyClasses_;
  if (HMENU menu = GetMenu(host_.Frame())) {
    CheckMenuItem(menu, kCmdHideEmptyClasses,
                  MF_BYCOMMAND | (hideEmptyClasses_ ? MF_UNCHECKED : MF_CHECKED));
  }
  LoadClasses();
}

}  // namespace brevane::app::win32
