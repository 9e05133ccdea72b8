#pragma once
// TMainWin: the program's one main window, with the classes tab, the query tab, the menu and
// the status bar. Its handlers are spread over one file per concern:
//   main_window.cpp          start-up, switches, tab change, refresh, exit, destruction
//   main_window_layout.cpp   creation of the controls, layout, splitters, DPI changes
//   main_menu.cpp            main menu, context menu, shortcuts; main_images.cpp: ImageList1
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
class TConnectForm;
class TFindDialog;
}  // namespace brevane::dialogs::win32
namespace brevane::framework::win32 {
class HelpAccess;
}  // namespace brevane::framework::win32

namespace brevane::app::win32 {

class SearchCommands;  // search_commands.cpp

class TMainWin final : public framework::win32::WindowBase {
 public:
  // arguments: the command-line arguments after the program path.
  TMainWin(HINSTANCE instance, std::shared_ptr<wmi::Backend> backend,
           std::vector<std::string> arguments);
  ~TMainWin() override;

  // Creates the window (FormCreate runs during creation) and shows it.
  bool Create(int showCmd);
  HACCEL Accelerators() const { return accelerators_.Get(); }

  // ---- Start-up, command line and shutdown (main_window.cpp)
  void FormCreate();
  void FormActivate();
  void ParseSwitch(const std::string& argument);
  void FormResize();
  void PageControl2Change();
  void Refresh1Click();
  void Exit1Click();
  void FormDestroy();

  // ---- Classes tab (class_tab.cpp)
  void LoadClasses();
  void ClassListBoxClick();
  // Requests the class's instances and shows its properties; it becomes CurrentClass.
  void LoadClass(const std::string& className);
  // Instances and properties emptied; CurrentClass forgotten, so a click loads it again.
  void EmptyClassPanes();
  void InstancesDone(int count, const std::string& message);
  void InstanceListBoxClick();
  void Query1BtnClick();
  void PopupMenu1Popup();
  void Selectfrom1Click();
  void Refresh2Click();
  // Fills PropGrid: one row per name, with its value when values are given, then a blank row.
  void SetPropGridRows(const util::StringList& names, const util::StringList* values);

  // ---- Query tab (query_tab.cpp)
  // Starts the query of Query2Combo in the background; a query still running is stopped.
  void Query2BtnClick();
  // The run button: runs the query, or stops the one running (its caption is then "停止").
  void QueryButtonClicked();
  // Esc, the run button, a new host: the rows already shown stay.
  void StopQuery();
  bool QueryRunning() const { return query_.active; }
  // A query, the class list or a property fetch runs in the background (the cursor then shows
  // the arrow with the hourglass).
  bool BackgroundBusy() const;
  // key: the typed character; set to 0 when it was consumed.
  void Query2ComboKeyPress(wchar_t& key);
  void ListView1ColumnClick(int column);

  // ---- Search (search_commands.cpp)
  void Search1Click();
  void Findagain1Click();

  // ---- Histories (history_commands.cpp)
  void LoadHistory();
  void SaveHistory();

  // ---- Close request (close_request.cpp)
  void FormCloseQuery(bool& canClose);

  // ---- Menu commands (menu_commands.cpp)
  void Connecttoremotehost1Click();
  void Help2Click();
  void Homepage1Click();
  void Support1Click();
  void About1Click();
  void Hideclasseswithnoinstances1Click();

  // ---- Copy (copy_commands.cpp)
  // "复制" from the given list (the class list, the instance list, the property grid or the
  // result table); from the keyboard the focused control, where an edit field copies its own
  // selection.
  void CopyClick(HWND list);
  void CopyValueClick();              // "复制值": the property grid's values
  void SelectAllClick(HWND control);  // Ctrl+A
  // The context menus of the instance list, the property grid and the result table.
  void ListContextMenu(HWND list, POINT point);

  // ---- Export (export_commands.cpp)
  void ExportClick();  // "导出...": the save dialog, then ExportResultTable
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
  // the keys; SetPropGridRows ends with it.
  void ShowPropertyTypes();
  const wmi::PropertyType* PropertyTypeOf(const std::string& name) const;

  // ---- Window placement (window_placement_hooks.cpp)
  void RestorePlacement();        // before the window is first shown
  void SavePlacement();           // when a close request was granted
  void SavePlacementAtDestroy();  // when the window is destroyed without a granted close

  // ---- Fields of the window's data model
  std::unique_ptr<wmi::TWMI> Wmi;
  std::unique_ptr<wmi::InstanceLoader> InstancesThread;
  util::StringList ColumnNames;
  util::StringList ResultValues;
  bool Activated = false;
  bool ClassesLoaded = false;
  std::string CurrentClass;
  bool HideEmptyClasses = false;
  std::string SearchText;
  bool MatchCase = false;
  bool WholeWord = false;
  int SortColumn = 0;
  bool SortAscending = true;
  int32_t MonitorWindow = 0;
  std::string StartupQuery;

  // ---- Owned by the application, which sets them before the message loop runs
  dialogs::win32::TConnectForm* ConnectForm = nullptr;
  dialogs::win32::TFindDialog* FindDialog = nullptr;
  const framework::win32::HelpAccess* Help = nullptr;

  // ---- Controls (children of the window; the tab controls only draw the tabs)
  HWND PageControl2 = nullptr;
  HWND ClassListBox = nullptr;
  HWND PageControl3 = nullptr;  // its one tab: TabSheet4 "结果预览"
  HWND InstanceListBox = nullptr;
  HWND PageControl1 = nullptr;  // its one tab: TabSheet1 "属性"
  HWND PropGrid = nullptr;
  HWND Label4 = nullptr;
  HWND QueryCombo = nullptr;
  HWND Query1Btn = nullptr;
  HWND Label5 = nullptr;
  HWND Query2Combo = nullptr;
  HWND Query2Btn = nullptr;
  HWND ListView1 = nullptr;
  HWND StatusBar1 = nullptr;
  HWND ClassFilterLabel = nullptr;
  HWND ClassFilterCombo = nullptr;
  HIMAGELIST ImageList1 = nullptr;  // owned by imageList_
  HMENU PopupMenu1 = nullptr;       // owned by popupMenu_

  // Status bar panels: 0 host, 1 class count, 2 activity.
  void SetStatusPanel(int panel, const std::string& text);
  std::string StatusPanel(int panel) const;
  int ActiveTab() const;
  // Selects a tab by code; like a tab chosen in code, it does not run PageControl2Change.
  void SelectTab(int index);
  // The text of Query2Combo and QueryCombo.
  std::string Query2Text() const;
  void SetQuery2Text(const std::string& text);
  void SetQueryComboText(const std::string& text);
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
    explicit BusyScope(TMainWin& window);
    ~BusyScope() { Restore(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    void Restore();

   private:
    TMainWin& window_;
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
  void OnSplitter1Drag(int position);
  void OnSplitter2Drag(int position);
  void SetPropGridRowHeight();

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
  void CreateClassFilterBox(HFONT font);
  // Columns of ListView1 in the header's order on screen.
  std::vector<int> ResultColumnOrder() const;
  void ShowClassCount();

  // Query tab helpers (query_tab.cpp)
  void OnQueryRows(wmi::ResultTable&& batch);
  void OnQueryEnded(const wmi::QueryEnd& end, const std::string& queryText);
  void ShowStreamedColumns();
  void LayOutFinishedResult();
  void EndQueryRun();
  void SortResultRows();
  void SubclassQuery2Combo();

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
  std::unique_ptr<app::win32::ListBoxInstanceList> instanceList_;
  // Selectfrom1's hint: the query that the context menu offers.
  std::string selectFromHint_;
  // The class that "Refresh instances (X)" names: the one selected when the menu opened.
  std::string refreshTarget_;
  std::vector<std::string> arguments_;
  UINT dpi_ = 96;
  framework::win32::UniqueFont font_;
  framework::win32::UniqueImageList imageList_;
  framework::win32::UniqueImageList propGridRowHeight_;
  std::vector<framework::win32::UniqueBitmap> menuBitmaps_;
  framework::win32::UniqueMenu popupMenu_;
  framework::win32::UniqueMenu
      instanceMenu_;  // context menus of the instance list, the grid, the table
  framework::win32::UniqueMenu propGridMenu_;
  framework::win32::UniqueMenu tableMenu_;
  HWND contextList_ = nullptr;  // the list whose context menu is open
  ClassFilter classFilter_;
  std::vector<wmi::PropertyType> propertyTypes_;  // of CurrentClass, from its definition
  framework::win32::UniqueAccelerators accelerators_;
  framework::win32::Splitter splitter1_;
  framework::win32::Splitter splitter2_;
  // Panel2's height and PageControl3's width, in design pixels; the splitters change them.
  int panel2Height_ = 248;
  int pageControl3Width_ = 252;
  int busyDepth_ = 0;
  HWND lastFocus_ = nullptr;
  bool firstActivationPosted_ = false;
  bool destroyed_ = false;     // WM_DESTROY has run
  int handlerDepth_ = 0;       // handlers running, nested ones included
  bool closePending_ = false;  // a close arrived while a handler was running
  ResultRowsSource queryRows_;
  framework::win32::VirtualListView listView1_;
  WindowPlacement placement_{DefaultPlacementFiles()};
  // The search's window side and its state (search_commands.cpp); made on first use.
  friend class SearchCommands;
  std::shared_ptr<SearchCommands> searchCommands_;
};

}  // namespace brevane::app::win32
