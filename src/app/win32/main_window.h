#pragma once
// MainWindow: the program's one main window, with the classes tab, the query tab, the menu and
// the status bar. Its handlers are spread over one file per concern:
//   main_window.cpp          start-up, switches, tab change, refresh, exit, destruction
//   main_window_layout.cpp   creation of the controls, layout, splitters, DPI changes
//   main_menu.cpp            main menu, context menu, shortcuts; main_images.cpp: image list
//   class_tab.cpp            class list, instances, property grid, context menu commands
//   query_tab.cpp            query execution and the result table
//   search_commands.cpp      find and find again
//   history_commands.cpp     loading and saving the histories
//   close_request.cpp        the close request and the hand-off to the monitoring program
//   menu_commands.cpp        connect, help, home page, support, about, hidden filter item
//   copy_commands.cpp        copy from the lists, select all, the lists' context menus
//   export_commands.cpp      export of the result table
//   class_filter_box.cpp     the filter box above the class list
//   property_types.cpp       the property grid's types and key marks
//   window_placement_hooks.cpp  restoring and saving the window's position
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/class_filter.h"
#include "app/delimited_text.h"
#include "app/program_settings.h"
#include "app/switches.h"
#include "app/win32/list_box_instance_list.h"
#include "app/win32/result_rows_source.h"
#include "app/win32/window_placement.h"
#include "framework/win32/busy_cursor.h"
#include "framework/win32/gdi_handles.h"
#include "framework/win32/ui_dispatcher.h"
#include "framework/win32/splitter.h"
#include "framework/win32/virtual_list_view.h"
#include "framework/win32/window_base.h"
#include "util/string_list.h"
#include "wmi/wmi_api.h"
#include "wmi/instance_loader.h"
#include "wmi/object_fetch.h"
#include "wmi/query_stream.h"
#include "wmi/request_worker.h"
#include "wmi/wmi_client.h"

namespace brevane::dialogs::win32 {
class ConnectDialog;
class FindDialog;
}  // namespace brevane::dialogs::win32
namespace brevane::framework::win32 {
class HelpAccess;
}  // namespace brevane::framework::win32

namespace brevane::app::win32 {

class SearchCommands;  // search_commands.cpp

class MainWindow final : public framework::win32::WindowBase {
 public:
  // arguments: the command-line arguments after the program path.
  MainWindow(HINSTANCE instance, std::shared_ptr<wmi::Backend> backend,
             std::vector<std::string> arguments);
  ~MainWindow() override;

  // Creates the window (CreateClientAndWorkers runs during creation) and shows it.
  bool Create(int showCmd);
  HACCEL Accelerators() const { return accelerators_.Get(); }
  HMENU ClassMenu() const { return classMenu_.Get(); }  // the class list's context menu
  HIMAGELIST Images() const { return imageList_.Get(); }
  // The dialogs and the help that the application owns; they outlive the message loop.
  void AttachDialogs(dialogs::win32::ConnectDialog* connectDialog,
                     dialogs::win32::FindDialog* findDialog,
                     const framework::win32::HelpAccess* help);
  // Wipes the password the client keeps, at the end of the run.
  void ForgetPassword();
  // A worker was still stuck in a WMI call when the window was destroyed.
  bool WorkersLeftBehind() const { return workersLeftBehind_; }

 private:
  friend class MainWindowProbe;  // the in-process window tests

  // ---- Start-up, command line and shutdown (main_window.cpp)
  void CreateClientAndWorkers();
  void RunStartUp();
  // What the command line set; a switch that is absent leaves its field as it is.
  void ApplySwitches(const StartupSwitches& switches);
  void FitPropertyValueColumn();
  void OnTabChanged();
  void OnRefresh();
  void OnExit();
  void ShutDownWorkers();

  // ---- Classes tab (class_tab.cpp)
  void LoadClasses();
  void OnClassChosen();
  // Requests the class's instances and shows its properties; it becomes currentClass_.
  void LoadClass(const std::string& className);
  // Instances and properties emptied; currentClass_ forgotten, so a click loads it again.
  void EmptyClassPanes();
  void InstancesDone(int count, const std::string& message);
  void OnInstanceChosen();
  void OnClassTabRunQuery();
  void PrepareClassMenu();
  void OnSelectFrom();
  void OnRefreshInstances();
  // Fills propertyGrid_: one row per name, with its value when values are given, then a blank row.
  void SetPropertyRows(const util::StringList& names, const util::StringList* values);

  // ---- Query tab (query_tab.cpp)
  // Starts the query of queryCombo_ in the background; a query still running is stopped.
  void RunQuery();
  // The run button: runs the query, or stops the one running (its caption is then "停止").
  void OnRunQueryButton();
  // Esc, the run button, a new host: the rows already shown stay.
  void StopQuery();
  bool QueryRunning() const { return query_.active; }
  // A query, the class list or a property fetch runs in the background (the cursor then shows
  // the arrow with the hourglass).
  bool BackgroundBusy() const;
  // key: the typed character; set to 0 when it was consumed.
  void OnQueryComboKey(wchar_t& key);
  void OnResultColumnClick(int column);

  // ---- Search (search_commands.cpp)
  void OnFind();
  void OnFindNext();

  // ---- Histories (history_commands.cpp)
  void LoadHistory();
  void SaveHistory();

  // ---- Close request (close_request.cpp)
  void OnCloseRequest(bool& canClose);

  // ---- Menu commands (menu_commands.cpp)
  void OnConnect();
  void OnHelp();
  void OnHomePage();
  void OnSupport();
  void OnAbout();
  void OnHideEmptyClasses();

  // ---- Copy (copy_commands.cpp)
  // "复制" from the given list (the class list, the instance list, the property grid or the
  // result table); from the keyboard the focused control, where an edit field copies its own
  // selection.
  void OnCopy(HWND list);
  void OnCopyValue();              // "复制值": the property grid's values
  void OnSelectAll(HWND control);  // Ctrl+A
  // The context menus of the instance list, the property grid and the result table.
  void ListContextMenu(HWND list, POINT point);

  // ---- Export (export_commands.cpp)
  void OnExport();  // "导出...": the save dialog, then ExportResultTable
  // The result table as shown (rows in their order, columns in the header's order, with the
  // header line). False when it failed; the failure is then in panel 2 and in a message box.
  bool ExportResultTable(const std::wstring& path, DelimitedFormat format);

  // ---- Class filter (class_filter_box.cpp)
  // Shows the loaded class list through the filter; LoadClasses hands its list over.
  void ShowClassList(util::StringList classes);
  void ClassFilterChange(int notification);
  void ApplyClassFilter(const std::string& text);
  void FocusClassFilter();  // Ctrl+L
  std::string ClassFilterText() const;

  // ---- Property types (property_types.cpp)
  // Shows the types of the current class's properties in the grid's "Type" column and marks
  // the keys; SetPropertyRows ends with it.
  void ShowPropertyTypes();
  const wmi::PropertyType* PropertyTypeOf(const std::string& name) const;

  // ---- Window placement (window_placement_hooks.cpp)
  void RestorePlacement();        // before the window is first shown
  void SavePlacement();           // when a close request was granted
  void SavePlacementAtDestroy();  // when the window is destroyed without a granted close

  // ---- Fields of the window's data model
  std::unique_ptr<wmi::WmiClient> wmiClient_;
  std::unique_ptr<wmi::InstanceLoader> instanceLoader_;
  util::StringList columnNames_;
  util::StringList resultValues_;
  bool activated_ = false;
  bool classesLoaded_ = false;
  std::string currentClass_;
  bool hideEmptyClasses_ = false;
  int sortColumn_ = 0;
  bool sortAscending_ = true;
  int32_t monitorWindow_ = 0;
  std::string startupQuery_;
  ProgramSettings settings_;  // read once at start-up, with the histories

  // ---- Owned by the application, which sets them before the message loop runs
  dialogs::win32::ConnectDialog* connectDialog_ = nullptr;
  dialogs::win32::FindDialog* findDialog_ = nullptr;
  const framework::win32::HelpAccess* help_ = nullptr;

  // ---- Controls (children of the window; the tab controls only draw the tabs)
  HWND tabs_ = nullptr;
  HWND classList_ = nullptr;
  HWND instancePane_ = nullptr;  // its one tab "结果预览" frames the instance list
  HWND instanceList_ = nullptr;
  HWND propertyPane_ = nullptr;  // its one tab "属性" frames the property grid
  HWND propertyGrid_ = nullptr;
  HWND classTabQueryLabel_ = nullptr;
  HWND classTabQueryCombo_ = nullptr;
  HWND classTabRunButton_ = nullptr;
  HWND queryLabel_ = nullptr;
  HWND queryCombo_ = nullptr;
  HWND runQueryButton_ = nullptr;
  HWND resultTable_ = nullptr;
  HWND statusBar_ = nullptr;
  HWND classFilterLabel_ = nullptr;
  HWND classFilterCombo_ = nullptr;

  // Status bar panels: 0 host, 1 class count, 2 activity.
  void SetStatusPanel(int panel, const std::string& text);
  std::string StatusPanel(int panel) const;
  int ActiveTab() const;
  // Selects a tab by code; like a tab chosen in code, it does not run OnTabChanged.
  void SelectTab(int index);
  // The text of queryCombo_ and classTabQueryCombo_.
  std::string QueryText() const;
  void SetQueryText(const std::string& text);
  void SetClassTabQueryText(const std::string& text);
  void ShowError(const std::string& text);  // error icon, one OK button
  // Sets a menu item's caption exactly as given (no accelerator marks) and its state.
  static void SetMenuItemCaption(HMENU menu, int id, const std::string& caption, bool enabled);
  // The connection the client's fields describe, for the workers.
  wmi::ConnectionParams Connection() const;
  // Runs a step that arrived from a worker like a message handler: a close that comes while
  // it waits (in a message box) is carried out afterwards.
  void RunAsHandler(const std::function<void()>& step);
  // Lets pending messages be processed (painting, the loader's steps). False when one of them
  // closed the window: the client and the loader are gone, and the caller must stop.
  [[nodiscard]] bool ProcessMessages();

  // The hourglass for one synchronous task (writing an export); the previous cursor comes
  // back on every way out, or earlier by Restore() before a message box is shown.
  class BusyScope {
   public:
    explicit BusyScope(MainWindow& window);
    ~BusyScope() { Restore(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    void Restore();

   private:
    MainWindow& window_;
    framework::win32::BusyCursor cursor_;
    bool active_ = true;
  };

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
 private:
  // Message handlers (main_window.cpp)
  LRESULT OnCreate();
  void OnCommand(int id, int notification, HWND control);
  LRESULT OnNotify(NMHDR& header);
  void OnActivate(WPARAM wParam);
  void OnFirstActivation();
  void OnClose();
  void OnSetFocus();
  LRESULT OnQueryEndSession();
  void NextTabChosen(bool backwards);
  void OnSize();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnContextMenu(HWND window, LPARAM position);
  void OnInitMenuPopup(HMENU menu);
  void OnGetMinMaxInfo(MINMAXINFO& info);
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);

  // Layout (main_window_layout.cpp)
  void CreateControls();
  void ApplyFonts();
  void SetupListControls();
  void LayoutControls();
  void LayoutClassTab(const RECT& page);
  void LayoutQueryTab(const RECT& page);
  void ShowTabPages();
  void OnClassListSplitterDrag(int position);
  void OnPaneSplitterDrag(int position);
  void SetPropertyRowHeight();

  // Classes tab helpers (class_tab.cpp)
  void OnClassNames(util::StringList&& names);
  void OnClassListEnded(bool ok, const std::string& errorText);
  void OnPropertyListing(wmi::PropertyListing&& listing, bool ofInstance);
  // The grid no longer waits for the fetch running, if any; its answer is dropped.
  void DropPropertyFetch();
  void UpdateBusyCursor();

  // Menus and images (main_menu.cpp, main_images.cpp)
  void CreateMenus();
  void CreateImageList();
  void CreateAccelerators();

  // Copy, export and filter helpers
  void CreateListMenus();
  // Puts text on the clipboard; a failure is shown in status panel 2.
  void CopyToClipboard(const std::string& text);
  void CreateClassFilterBox(HFONT font);
  // Columns of resultTable_ in the header's order on screen.
  std::vector<int> ResultColumnOrder() const;
  void ShowClassCount();

  // Query tab helpers (query_tab.cpp)
  void OnQueryRows(wmi::ResultTable&& batch);
  void OnQueryEnded(const wmi::QueryEnd& end, const std::string& queryText);
  void ShowStreamedColumns();
  void LayOutFinishedResult();
  void EndQueryRun();
  void SortResultRows();
  void SubclassQueryCombo();
  // The edit fields' subclass procedures (query_tab.cpp, class_filter_box.cpp).
  static LRESULT CALLBACK QueryComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR refData);
  static LRESULT CALLBACK FilterEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR refData);

  HINSTANCE instance_;
  std::shared_ptr<wmi::Backend> backend_;
  std::shared_ptr<framework::win32::UiDispatcher> dispatcher_;
  // Workers for the requests the user waits for: queries, the class list, and the grid's
  // property fetches (one worker, so that the latest class or instance choice wins).
  std::unique_ptr<wmi::RequestWorker> queryWorker_;
  std::unique_ptr<wmi::RequestWorker> classListWorker_;
  std::unique_ptr<wmi::RequestWorker> propertyWorker_;
  // The query running in the background.
  struct RunningQuery {
    bool active = false;
    std::chrono::steady_clock::time_point start;
    int headerColumns = 0;      // columns of the table's header when the query started
    int captionsShown = 0;      // columns of this result whose captions are shown
    bool rowsReplaced = false;  // the first objects have replaced the previous result
    std::string panelBefore;    // status panel 2 when the query started
  };
  RunningQuery query_;
  // The class list loading in the background: its names so far, and the status text that
  // "Connecting to ..." replaced while the worker connects.
  bool classesLoading_ = false;
  util::StringList classNames_;
  std::optional<std::string> panelBeforeConnect_;
  bool propertiesPending_ = false;
  std::unique_ptr<app::win32::ListBoxInstanceList> instanceListAdapter_;
  // The query that the class list's context menu offers ("select * from" the class).
  std::string selectFromHint_;
  // The class that "Refresh instances (X)" names: the one selected when the menu opened.
  std::string refreshTarget_;
  std::vector<std::string> arguments_;
  UINT dpi_ = 96;
  framework::win32::UniqueFont font_;
  framework::win32::UniqueImageList imageList_;
  framework::win32::UniqueImageList propertyRowHeight_;
  std::vector<framework::win32::UniqueBitmap> menuBitmaps_;
  framework::win32::UniqueMenu classMenu_;
  framework::win32::UniqueMenu
      instanceMenu_;  // context menus of the instance list, the grid, the table
  framework::win32::UniqueMenu propertyMenu_;
  framework::win32::UniqueMenu tableMenu_;
  HWND contextList_ = nullptr;  // the list whose context menu is open
  ClassFilter classFilter_;
  std::vector<wmi::PropertyType> propertyTypes_;  // of currentClass_, from its definition
  framework::win32::UniqueAccelerators accelerators_;
  framework::win32::Splitter classListSplitter_;
  framework::win32::Splitter paneSplitter_;
  // The height of the panes below the class list and the instance pane's width, in design
  // pixels; the splitters change them.
  int detailsHeight_ = 248;
  int instancePaneWidth_ = 252;
  int busyDepth_ = 0;
  HWND lastFocus_ = nullptr;
  bool firstActivationPosted_ = false;
  bool destroyed_ = false;  // WM_DESTROY has run
  bool workersLeftBehind_ = false;
  int handlerDepth_ = 0;       // handlers running, nested ones included
  bool closePending_ = false;  // a close arrived while a handler was running
  ResultRowsSource queryRows_;
  framework::win32::VirtualListView resultView_;
  WindowPlacement placement_{DefaultPlacementFiles()};
  // The search's window side and its state (search_commands.cpp); made on first use.
  friend class SearchCommands;
  std::shared_ptr<SearchCommands> searchCommands_;
};

}  // namespace brevane::app::win32
