#pragma once
// The in-process window tests' one way into the main window's private state and handlers, the
// frame's and its views': the handlers they run as the window would, the controls they read
// back, and the few fields whose value is the thing under test. Everything else the tests do
// through the window's messages.
#include <windows.h>

#include <memory>
#include <string>

#include "app/win32/class_browser_view.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_host.h"
#include "app/win32/query_view.h"
#include "app/win32/view_controls.h"

namespace brevane::app::win32 {

class MainWindowProbe {
 public:
  explicit MainWindowProbe(MainWindow& window) : window_(window) {}

  // ---- Handlers
  void RunStartUp() { window_.RunStartUp(); }
  void ApplySwitches(const StartupSwitches& switches) { window_.ApplySwitches(switches); }
  void LoadClasses() { Classes().LoadClasses(); }
  void OnTabChanged() { window_.OnTabChanged(); }
  void OnRefresh() { window_.host_->RunViewCommand(ViewCommand::Refresh, false); }
  void OnClassChosen() { Classes().OnClassChosen(); }
  void OnInstanceChosen() { Classes().OnInstanceChosen(); }
  void PrepareClassMenu() { Classes().PrepareClassMenu(); }
  void ShowClass(const std::string& name) { Classes().ShowClass(name); }
  void OnDetailPageChanged() { Classes().OnDetailPageChanged(); }
  HMENU PrepareListMenu(HWND list) { return Classes().PrepareListMenu(list); }
  void OnRefreshInstances() { Classes().OnRefreshInstances(); }
  void FollowPath(const std::string& path) { Classes().FollowPath(path); }
  void ChooseNamespace(const std::string& ns) { window_.host_->ChooseNamespace(ns); }
  void ConnectTo(const std::string& host, const std::string& ns) {
    window_.host_->ConnectTo(host, ns);
  }
  void EmptyClassPanes() { Classes().EmptyClassPanes(); }
  void RunQuery() { Query().RunQuery(); }
  void OnQueryComboKey(wchar_t& key) { Query().OnQueryComboKey(key); }
  void OnResultColumnClick(int column) { Query().OnResultColumnClick(column); }
  void OnCopy(HWND list) {
    if (list == Query().resultTable_) {
      Query().OnCopy(list);
    } else {
      Classes().OnCopy(list);
    }
  }
  void OnCopyValue() { Classes().OnCopyValue(); }
  void OnSelectAll(HWND control) {
    if (control == Query().resultTable_) {
      Query().OnSelectAll(control);
    } else {
      Classes().OnSelectAll(control);
    }
  }
  bool ExportResultTable(const std::wstring& path, DelimitedFormat format) {
    return Query().ExportResultTable(path, format);
  }
  void SelectTab(int index) { window_.SelectTab(index); }
  void SetQueryText(const std::string& text) { Query().SetQueryText(text); }
  static void SetMenuItemCaption(HMENU menu, int id, const std::string& caption, bool enabled) {
    win32::SetMenuItemCaption(menu, id, caption, enabled);
  }

  // ---- What the window shows
  std::string StatusPanel(int panel) const { return window_.host_->Status(panel); }
  int ActiveTab() const { return window_.ActiveTab(); }
  std::string QueryText() const { return Query().QueryText(); }
  std::string ClassFilterText() const { return Classes().ClassFilterText(); }
  bool QueryRunning() const { return Query().query_.active; }
  bool ExportAvailable() const { return Query().Available(ViewCommand::Export); }
  void StopQuery() { Query().StopQuery(); }
  bool BackgroundBusy() const { return window_.host_->BackgroundBusy(); }
  HWND ClassList() const { return Classes().classList_; }
  HWND InstanceList() const { return Classes().instanceList_; }
  HWND PropertyGrid() const { return Classes().propertyGrid_; }
  HWND PropertyPane() const { return Classes().propertyPane_; }
  HWND RelatedList() const { return Classes().relatedList_; }
  HWND ResultTable() const { return Query().resultTable_; }
  HWND QueryCombo() const { return Query().queryCombo_; }
  HWND ClassFilterCombo() const { return Classes().classFilterCombo_; }
  HWND ClassTabQueryCombo() const { return Classes().queryCombo_; }

  // ---- State under test
  std::unique_ptr<wmi::WmiClient>& Client() { return window_.wmiClient_; }
  bool& ClassesLoaded() { return Classes().classesLoaded_; }
  bool& HideEmptyClasses() { return Classes().hideEmptyClasses_; }
  const std::string& CurrentClass() const { return Classes().currentClass_; }
  const util::StringList& ColumnNames() const { return Classes().columnNames_; }
  const util::StringList& ResultValues() const { return Classes().resultValues_; }
  std::vector<wmi::PropertyType>& PropertyTypes() { return Classes().propertyTypes_; }
  int SortColumn() const { return Query().sortColumn_; }
  bool SortAscending() const { return Query().sortAscending_; }
  int32_t MonitorWindow() const { return window_.monitorWindow_; }
  const std::string& StartupQuery() const { return window_.startupQuery_; }

 private:
  ClassBrowserView& Classes() const { return *window_.classBrowser_; }
  QueryView& Query() const { return *window_.queryView_; }

  MainWindow& window_;
};

inline MainWindowProbe Probe(MainWindow& window) {
  return MainWindowProbe(window);
}

}  // namespace brevane::app::win32
