#pragma once
// The classes tab: the class list with its filter box, the instances of the chosen class, the
// property grid, and the query strip whose run button hands its text to the query tab. Its
// handlers are spread over:
//   class_browser_view.cpp      controls, layout, DPI, splitters, commands and menus
//   class_browser_classes.cpp   the class list, the instances and the property grid
//   class_browser_filter.cpp    the filter box above the class list
//   class_browser_copy.cpp      copy and select all, the lists' context menus
//   class_browser_explore.cpp   the pages "定义" and "关联" beside the property grid
//   class_browser_navigation.cpp  back, forward, and going to an object in any namespace
//   class_browser_tree.cpp      the namespace tree left of the class filter and class list
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/class_choice.h"
#include "app/class_filter.h"
#include "app/method_form.h"
#include "app/navigation_history.h"
#include "app/place_arrival.h"
#include "app/win32/list_box_instance_list.h"
#include "app/win32/namespace_tree_pane.h"
#include "app/win32/view.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/gdi_handles.h"
#include "framework/win32/splitter.h"
#include "util/string_list.h"
#include "wmi/instance_loader.h"
#include "wmi/object_explore.h"
#include "wmi/object_fetch.h"
#include "wmi/request_worker.h"
#include "wmi/wmi_client.h"

namespace brevane::app::win32 {

class ClassBrowserView final : public View {
 public:
  // classListWorker: the class list; propertyWorker: the grid's fetches (one worker, so that
  // the latest class or instance choice wins); loader: the instance list.
  ClassBrowserView(ViewHost& host, wmi::WmiClient& client, wmi::RequestWorker& classListWorker,
                   wmi::RequestWorker& propertyWorker, wmi::InstanceLoader& loader);
  ~ClassBrowserView() override;

  std::string Caption() const override { return "WMI 类"; }
  void Create(HFONT font, HIMAGELIST images, UINT dpi) override;
  void Layout(const RECT& page) override;
  void DpiChanged(UINT dpi, UINT previous, HFONT font) override;
  void Show(bool shown) override;
  void Activated() override;
  void Starting() override;
  HWND FocusTarget() const override { return classList_; }
  bool Handles(ViewCommand command) const override;
  void Run(ViewCommand command, bool fromKeyboard) override;
  SearchList Searched() override { return {nullptr, &classListControl_}; }
  void Found() override;
  bool OnCommand(int id, int notification, HWND control) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  bool OnContextMenu(HWND control, POINT point) override;
  void Histories(HistoryCombos& combos) override;
  void SavingHistories() override;
  bool Busy() const override { return classesLoading_ || propertiesPending_; }
  void ConnectionChanged() override;
  void WorkersStopped() override;

  // The worker of the definition and related-objects pages; set before Create.
  void SetExploreWorker(wmi::RequestWorker& worker) { exploreWorker_ = &worker; }
  // The worker of the namespace tree's listings; set before Create.
  void SetNamespaceWorker(wmi::RequestWorker& worker) { namespaceWorker_ = &worker; }
  HMENU ClassMenu() const { return classMenu_.Get(); }  // the class list's context menu
  // Keys of the lists and pages, seen by the message loop before they are dispatched: Esc
  // while a definition or the related objects are coming stops them, Enter on a related
  // object goes to it. True when the key was taken. (A subclass of the lists would put each
  // line of a 100 000-class fill through the subclass chain, which takes seconds.)
  bool PreTranslateKey(const MSG& message);
  // Requests the class list afresh (F5, a new connection, the first look at the tab).
  void LoadClasses();
  bool ClassesLoaded() const { return classesLoaded_; }
  // Back and forward through the classes and objects shown (the first menu, Alt+Left and
  // Alt+Right, the mouse's buttons); each makes the classes tab the active one.
  bool CanGoBack() const { return navigation_.CanGoBack(); }
  bool CanGoForward() const { return navigation_.CanGoForward(); }
  void GoBack();
  void GoForward();
  // Selects the class and loads its instances, once the class list that is loading has it.
  void ShowClass(const std::string& className);
  // What "执行方法" acts on: the class selected in the class list (classList), else the
  // current class and the chosen instance.
  MethodTarget MethodTargetOf(bool classList) const;
  // A method ran on the instance at path: its values are fetched again if it is the one chosen.
  void InstanceChanged(const std::string& path);

 private:
  friend class MainWindowProbe;  // the in-process window tests

  // ---- Class list, instances, property grid (class_browser_classes.cpp)
  void OnClassNames(util::StringList&& names);
  void OnClassListEnded(bool ok, const std::string& errorText);
  void OnClassChosen();
  // Requests the class's instances and shows its properties; it becomes currentClass_.
  void LoadClass(const std::string& className);
  // Instances and properties emptied; currentClass_ forgotten, so a click loads it again.
  void EmptyClassPanes();
  // The grid no longer waits for the fetch running, if any; its answer is dropped.
  void DropPropertyFetch();
  void InstancesDone(int count, const std::string& message);
  void OnInstanceChosen();
  void OnPropertyListing(wmi::PropertyListing&& listing, bool ofInstance);
  // Fills propertyGrid_: one row per name, with its value when values are given, then a blank row.
  void SetPropertyRows(const util::StringList& names, const util::StringList* values);
  // Shows the types of the current class's properties in the grid's "Type" column and marks
  // the keys; SetPropertyRows ends with it.
  void ShowPropertyTypes();
  const wmi::PropertyType* PropertyTypeOf(const std::string& name) const;
  void PrepareClassMenu();
  void OnSelectFrom();
  void OnRefreshInstances();
  void OnHideEmptyClasses();

  // ---- Filter box (class_browser_filter.cpp)
  void CreateClassFilterBox(HFONT font);
  // Shows the loaded class list through the filter; LoadClasses hands its list over.
  void ShowClassList(util::StringList classes);
  void ClassFilterChange(int notification);
  void ApplyClassFilter(const std::string& text);
  void FocusClassFilter();  // Ctrl+L
  std::string ClassFilterText() const;
  void ShowClassCount();
  // The class list's line of a class, or -1 when the class is not in the list. A class the
  // filter hides is let through by emptying the filter: the user asked to go to it.
  int ListedClassIndex(const std::string& className);
  static LRESULT CALLBACK FilterEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR refData);

  // ---- Copy (class_browser_copy.cpp)
  void CreateListMenus();
  // "复制" from the class list, the instance list, the property grid or the related objects
  // (an object's path); an edit field copies its own selection.
  void OnCopy(HWND list);
  void OnCopyValue();
  // The chosen instance, else the class's instances, as a Get-CimInstance line.
  void OnCopyPowerShell();         // "复制值": the property grid's values
  void OnSelectAll(HWND control);  // Ctrl+A
  // The context menus of the instance list and the property grid: the menu for list, its
  // commands enabled for what is selected ("转到对象" only on a reference), then shown.
  HMENU PrepareListMenu(HWND list);
  void ListContextMenu(HWND list, POINT point);

  // ---- Definition and related objects (class_browser_explore.cpp)
  void CreateExplorePages(HFONT font);
  void LayoutExplorePages(const RECT& area);
  // Shows the control of the pane's chosen page, when the view is shown.
  void ShowDetailPage();
  void OnDetailPageChanged();
  // The class or instance chosen changed: the page shown reads what it shows now.
  void RefreshExplorePage();
  void EmptyExplorePages();
  void OnDefinition(wmi::DefinitionAnswer&& answer);
  void OnRelatedObjects(wmi::RelatedAnswer&& answer);
  // Goes to the related object on this line of the related list.
  void FollowRelated(int line);
  // Goes to the object a path names: its class is chosen and its line selected once listed.
  void FollowPath(const std::string& path);
  // Follows the reference value of the grid's selected row (Enter, double-click, "转到对象").
  void FollowGridReference();
  // The instance list has loaded: the line an object that was followed is on is selected.
  void SelectFollowedInstance();

  // Esc in the lists and the pages: the definition and related-objects requests stop.
  void StopExplore();

  // ---- Places (class_browser_navigation.cpp)
  // A class (empty path) or one of its objects is shown now: a visit, unless it is a step on
  // the way to a place of the history or to a followed object.
  void Visited(const std::string& objectPath);
  // How the window set out for a place: following an object (a visit once shown), a step back
  // or forward in the history, or the way back to where it set out from when the connection
  // there failed (neither asked about nor left again on failure).
  enum class Trip { Follow, Back, Forward, Return };
  // Shows place, connecting to its namespace or (once the user agreed) its computer first.
  // False when the user declined to connect.
  bool GoToPlace(const Place& place, Trip trip);
  // What the window shows now, as a place (empty class when none is chosen).
  Place PlaceShown() const;
  // The connection to the place's namespace failed: back to where the trip set out, the
  // history where it stood before.
  void ReturnToDeparture();
  // Selects the class of the place arrival_ goes to and, once listed, its object.
  void ShowArrival();
  // The user chose something else (a namespace, a connection, a class) while a trip was on its
  // way: nothing of the trip acts afterwards, neither its arrival nor the way back on failure.
  void DropTrip();
  // Connects for a trip: the connection change that follows is the trip's, not the user's.
  void ConnectForTrip(const std::string& host, const std::string& nameSpace);
  // ---- Namespace tree (class_browser_tree.cpp)
  void CreateNamespaceTree(HFONT font);
  // Places the tree and its splitter at the left of area; returns what is left of it.
  RECT LayoutNamespaceTree(const RECT& area);
  void OnTreeSplitterDrag(int position);
  // The tree shows the client's connection (at start-up, after a connect).
  void ShowTreeConnection();
  void SelectPendingClass();

  // ---- Layout (class_browser_view.cpp)
  void SetupListControls();
  void SetPropertyRowHeight();
  void FitPropertyValueColumn();
  void OnClassListSplitterDrag(int position);
  void OnPaneSplitterDrag(int position);

  ViewHost& host_;
  wmi::WmiClient& client_;
  wmi::RequestWorker& classListWorker_;
  wmi::RequestWorker& propertyWorker_;
  wmi::InstanceLoader& instanceLoader_;

  HWND classFilterLabel_ = nullptr;
  HWND classFilterCombo_ = nullptr;
  HWND classList_ = nullptr;
  HWND instancePane_ = nullptr;  // its one tab "结果预览" frames the instance list
  HWND instanceList_ = nullptr;
  HWND propertyPane_ = nullptr;  // its one tab "属性" frames the property grid
  HWND propertyGrid_ = nullptr;
  HWND definitionText_ = nullptr;  // the page "定义": read-only, copyable
  HWND relatedList_ = nullptr;     // the page "关联"
  HWND queryLabel_ = nullptr;
  HWND queryCombo_ = nullptr;
  HWND runButton_ = nullptr;
  framework::win32::Win32ListBox classListControl_{nullptr};
  framework::win32::Win32ComboBox filterHistory_{nullptr};
  framework::win32::Splitter classListSplitter_;
  framework::win32::Splitter paneSplitter_;
  framework::win32::UniqueImageList propertyRowHeight_;
  framework::win32::UniqueMenu classMenu_;
  framework::win32::UniqueMenu instanceMenu_;
  framework::win32::UniqueMenu propertyMenu_;
  HWND contextList_ = nullptr;  // the list whose context menu is open
  HFONT font_ = nullptr;        // the frame's
  UINT dpi_ = 96;
  RECT page_{};  // where the last layout placed the view
  bool started_ = false;
  // The height of the panes below the class list and the instance pane's width, in 96-DPI
  // pixels; the splitters change them.
  int detailsHeight_ = 248;
  int instancePaneWidth_ = 252;

  bool classesLoaded_ = false;
  bool hideEmptyClasses_ = false;
  // The class list loading in the background: its names so far, and the status text that
  // "Connecting to ..." replaced while the worker connects.
  bool classesLoading_ = false;
  util::StringList classNames_;
  std::optional<std::string> panelBeforeConnect_;
  ClassFilter classFilter_;
  std::string currentClass_;
  // Status panel 2 as the panes' events leave it: what the instance list and the grid show now.
  ClassPanesStatus panesStatus_;
  std::unique_ptr<ListBoxInstanceList> instanceListAdapter_;
  bool propertiesPending_ = false;
  util::StringList columnNames_;
  util::StringList resultValues_;
  std::vector<wmi::PropertyType> propertyTypes_;  // of currentClass_, from its definition
  // The query that the class list's context menu offers ("select * from" the class).
  std::string selectFromHint_;
  // The class that "Refresh instances (X)" names: the one selected when the menu opened.
  std::string refreshTarget_;

  wmi::RequestWorker* exploreWorker_ = nullptr;
  wmi::RequestWorker* namespaceWorker_ = nullptr;
  std::unique_ptr<NamespaceTreePane> namespaceTree_;  // none without its worker
  framework::win32::Splitter treeSplitter_;
  int treeWidth_ = 180;       // in 96-DPI pixels; its splitter changes it
  std::string pendingClass_;  // ShowClass's class, while the class list loads
  bool shown_ = true;
  int detailPage_ = 0;           // 0 the grid, 1 the definition, 2 the related objects
  std::string definitionClass_;  // the class the definition page shows or reads
  std::string relatedPath_;      // the instance the related page shows or reads
  wmi::RelatedAnswer related_;
  std::vector<int> relatedLineObjects_;
  // The name the computer connected to writes into its paths (its objects' __SERVER), so that
  // a reference naming it is not taken for one to another computer; empty until an object came.
  std::string ownServerName_;
  std::string followedPath_;  // an object followed, selected once its class is listed
  bool definitionPending_ = false;
  bool relatedPending_ = false;

  NavigationHistory navigation_;
  PlaceArrival arrival_;
  bool arrivalAwaitsClasses_ = false;  // shown once the class list of its namespace is in
  // Where a trip into another namespace or computer set out from, until its class list is in.
  struct Departure {
    Place place;
    Trip trip = Trip::Follow;
  };
  std::optional<Departure> departure_;
  bool tripConnecting_ = false;  // ConnectionChanged comes from a trip's own connect
};

}  // namespace brevane::app::win32
