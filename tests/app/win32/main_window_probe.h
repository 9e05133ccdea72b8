#pragma once
// The in-process window tests' one way into MainWindow's private state and handlers: the
// handlers they run as the window would, the controls they read back, and the few fields whose
// value is the thing under test. Everything else the tests do through the window's messages.
#include <windows.h>

#include <memory>
#include <string>

#include "app/win32/main_window.h"

namespace brevane::app::win32 {

class MainWindowProbe {
 public:
  explicit MainWindowProbe(MainWindow& window) : window_(window) {}

  // ---- Handlers
  void RunStartUp() { window_.RunStartUp(); }
  void ApplySwitches(const StartupSwitches& switches) { window_.ApplySwitches(switches); }
  void LoadClasses() { window_.LoadClasses(); }
  void OnTabChanged() { window_.OnTabChanged(); }
  void OnRefresh() { window_.OnRefresh(); }
  void OnClassChosen() { window_.OnClassChosen(); }
  void OnInstanceChosen() { window_.OnInstanceChosen(); }
  void PrepareClassMenu() { window_.PrepareClassMenu(); }
  void OnRefreshInstances() { window_.OnRefreshInstances(); }
  void EmptyClassPanes() { window_.EmptyClassPanes(); }
  void RunQuery() { window_.RunQuery(); }
  void OnQueryComboKey(wchar_t& key) { window_.OnQueryComboKey(key); }
  void OnResultColumnClick(int column) { window_.OnResultColumnClick(column); }
  void OnCopy(HWND list) { window_.OnCopy(list); }
  void OnCopyValue() { window_.OnCopyValue(); }
  void OnSelectAll(HWND control) { window_.OnSelectAll(control); }
  bool ExportResultTable(const std::wstring& path, DelimitedFormat format) {
    return window_.ExportResultTable(path, format);
  }
  void SelectTab(int index) { window_.SelectTab(index); }
  void SetQueryText(const std::string& text) { window_.SetQueryText(text); }
  static void SetMenuItemCaption(HMENU menu, int id, const std::string& caption, bool enabled) {
    MainWindow::SetMenuItemCaption(menu, id, caption, enabled);
  }

  // ---- What the window shows
  std::string StatusPanel(int panel) const { return window_.StatusPanel(panel); }
  int ActiveTab() const { return window_.ActiveTab(); }
  std::string QueryText() const { return window_.QueryText(); }
  std::string ClassFilterText() const { return window_.ClassFilterText(); }
  bool QueryRunning() const { return window_.QueryRunning(); }
  bool BackgroundBusy() const { return window_.BackgroundBusy(); }
  HWND ClassList() const { return window_.classList_; }
  HWND InstanceList() const { return window_.instanceList_; }
  HWND PropertyGrid() const { return window_.propertyGrid_; }
  HWND ResultTable() const { return window_.resultTable_; }
  HWND QueryCombo() const { return window_.queryCombo_; }
  HWND ClassFilterCombo() const { return window_.classFilterCombo_; }
  HWND ClassTabQueryCombo() const { return window_.classTabQueryCombo_; }

  // ---- State under test
  std::unique_ptr<wmi::WmiClient>& Client() { return window_.wmiClient_; }
  bool& ClassesLoaded() { return window_.classesLoaded_; }
  bool& HideEmptyClasses() { return window_.hideEmptyClasses_; }
  const std::string& CurrentClass() const { return window_.currentClass_; }
  const util::StringList& ColumnNames() const { return window_.columnNames_; }
  const util::StringList& ResultValues() const { return window_.resultValues_; }
  int SortColumn() const { return window_.sortColumn_; }
  bool SortAscending() const { return window_.sortAscending_; }
  int32_t MonitorWindow() const { return window_.monitorWindow_; }
  const std::string& StartupQuery() const { return window_.startupQuery_; }

 private:
  MainWindow& window_;
};

inline MainWindowProbe Probe(MainWindow& window) {
  return MainWindowProbe(window);
}

}  // namespace brevane::app::win32
