#pragma once
// MainWindow: the frame of the program's one main window. It owns what belongs to the whole
// window (the menu, the shortcuts, the tab control, the status bar, the placement, the dialogs,
// the close request and the hand-off, the start-up switches, the connection and the request
// workers) and routes commands to its views, one per tab (view.h). Its files:
//   main_window.cpp           messages, start-up, switches, tab change, shutdown
//   main_window_host.h        what the frame offers its views (ViewHost), and the histories
//   main_window_layout.cpp    creation of the tabs, the status bar and the views; layout, DPI
//   main_window_commands.cpp  command routing, find, connect, help, home page, support, about
//   main_window_close.cpp     the close request and the hand-off to the monitoring program
//   main_menu.cpp             the menu bar and the shortcuts; main_images.cpp: the image list
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/computer_credentials.h"
#include "app/program_settings.h"
#include "app/switches.h"
#include "app/win32/view.h"
#include "app/win32/window_placement.h"
#include "framework/win32/gdi_handles.h"
#include "framework/win32/ui_dispatcher.h"
#include "framework/win32/window_base.h"
#include "wmi/fan_out.h"
#include "wmi/instance_loader.h"
#include "wmi/request_worker.h"
#include "wmi/wmi_api.h"
#include "wmi/wmi_client.h"

namespace brevane::dialogs::win32 {
class ConnectDialog;
class FindDialog;
}  // namespace brevane::dialogs::win32
namespace brevane::framework::win32 {
class HelpAccess;
}  // namespace brevane::framework::win32

namespace brevane::app::win32 {

class ClassBrowserView;
class ClassSearchWindow;
class MethodWindow;
class FrameHost;
class QueryView;
class SearchCommands;  // main_window_commands.cpp

class MainWindow final : public framework::win32::WindowBase {
 public:
  // arguments: the command-line arguments after the program path.
  MainWindow(HINSTANCE instance, std::shared_ptr<wmi::Backend> backend,
             std::vector<std::string> arguments);
  ~MainWindow() override;

  // Creates the window (the client, the workers and the views come with it) and shows it.
  bool Create(int showCmd);
  HACCEL Accelerators() const { return accelerators_.Get(); }
  HMENU ClassMenu() const;  // the class list's context menu
  HIMAGELIST Images() const { return imageList_.Get(); }
  // The dialogs and the help that the application owns; they outlive the message loop.
  void AttachDialogs(dialogs::win32::ConnectDialog* connectDialog,
                     dialogs::win32::FindDialog* findDialog,
                     const framework::win32::HelpAccess* help);
  // Wipes the password the client keeps, at the end of the run.
  void ForgetPassword();
  // The modeless dialogs of the window, then the class browser's keys, see each message
  // first (Tab, Enter, Esc); true when one took it.
  bool PreTranslateDialogMessage(MSG& message);
  // A worker was still stuck in a WMI call when the window was destroyed.
  bool WorkersLeftBehind() const { return workersLeftBehind_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class MainWindowProbe;  // the in-process window tests
  friend class FrameHost;        // what the frame offers its views (main_window_host.h)

  // ---- The class search in every namespace (main_window_class_search.cpp)
  void OpenClassSearch();
  void OpenClassHit(const std::string& ns, const std::string& className);

  // ---- The method dialog (main_window_methods.cpp)
  // classList: on the class selected in the class list; else on the current class and the
  // chosen instance. Read-only mode opens nothing and says why.
  void OpenMethodDialog(bool classList);
  // "执行方法..." greyed in read-only mode.
  void EnableMethodCommands(HMENU menu) const;

  // ---- Messages and start-up (main_window.cpp)
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void OnActivate(WPARAM wParam);
  void OnSetFocus();
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
  void RunStartUp();
  // What the command line set; a switch that is absent leaves its field as it is.
  void ApplySwitches(const StartupSwitches& switches);
  int ActiveTab() const;
  // Selects a tab by code; like a tab chosen in code, it does not run OnTabChanged.
  void SelectTab(int index);
  void OnTabChanged();  // the user chose a tab
  void ShutDownWorkers();

  // ---- Creation, layout, DPI (main_window_layout.cpp)
  LRESULT OnCreate();
  void LayoutControls();
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  // ---- Command routing (main_window_commands.cpp)
  void OnCommand(int id, int notification, HWND control);
  LRESULT OnNotify(NMHDR& header);
  void OnContextMenu(HWND window, LPARAM position);
  // The frame's own menu commands and shortcuts; false for the others.
  bool OnMenuCommand(int id);
  // "后退" and "前进" greyed when there is nowhere to go that way.
  void EnableNavigation(HMENU menu) const;
  // The browser keys and mouse buttons back and forward; false for other commands.
  bool OnAppCommand(int command);

  // ---- Close request (main_window_close.cpp): saves the histories, offers the hand-off;
  // false when the user keeps the window open.
  bool CloseGranted();

  HINSTANCE instance_;
  std::shared_ptr<wmi::Backend> backend_;
  std::vector<std::string> arguments_;
  std::shared_ptr<framework::win32::UiDispatcher> dispatcher_;
  // The connection settings the views share.
  std::unique_ptr<wmi::WmiClient> wmiClient_;
  // The user name and password last used on each computer, in memory only.
  ComputerCredentials credentials_;
  // Workers for the requests the user waits for: queries, the class list, the grid's property
  // fetches, and the instance list.
  std::unique_ptr<wmi::RequestWorker> queryWorker_;
  std::unique_ptr<wmi::RequestWorker> classListWorker_;
  std::unique_ptr<wmi::RequestWorker> propertyWorker_;
  // The definition and related-objects pages' requests.
  std::unique_ptr<wmi::RequestWorker> exploreWorker_;
  std::unique_ptr<ClassSearchWindow> classSearch_;       // made when first opened
  std::unique_ptr<wmi::RequestWorker> methodWorker_;     // the method dialog's requests
  std::unique_ptr<MethodWindow> methodWindow_;           // made when first opened
  std::unique_ptr<wmi::RequestWorker> namespaceWorker_;  // the namespace tree's listings
  std::unique_ptr<wmi::InstanceLoader> instanceLoader_;
  // The query tab's run on the computers of the box "计算机", a worker per computer.
  std::unique_ptr<wmi::FanOut> fanOut_;

  std::unique_ptr<FrameHost> host_;
  std::unique_ptr<ClassBrowserView> classBrowser_;
  std::unique_ptr<QueryView> queryView_;
  std::vector<View*> views_;  // in the order of their tabs

  // ---- Owned by the application, which sets them before the message loop runs
  dialogs::win32::ConnectDialog* connectDialog_ = nullptr;
  dialogs::win32::FindDialog* findDialog_ = nullptr;
  const framework::win32::HelpAccess* help_ = nullptr;
  // The search's window side and its state; made on first use.
  std::shared_ptr<SearchCommands> searchCommands_;

  HWND tabs_ = nullptr;  // draws the tabs only: the views' controls are its siblings
  HWND statusBar_ = nullptr;
  UINT dpi_ = 96;
  framework::win32::UniqueFont font_;
  framework::win32::UniqueImageList imageList_;
  std::vector<framework::win32::UniqueBitmap> menuBitmaps_;
  framework::win32::UniqueAccelerators accelerators_;
  WindowPlacement placement_{DefaultPlacementFiles()};

  bool activated_ = false;
  int32_t monitorWindow_ = 0;
  std::string startupQuery_;
  ProgramSettings settings_;  // read once at start-up, with the histories
  int busyDepth_ = 0;
  HWND lastFocus_ = nullptr;
  bool firstActivationPosted_ = false;
  bool destroyed_ = false;  // WM_DESTROY has run
  bool workersLeftBehind_ = false;
  int handlerDepth_ = 0;       // handlers running, nested ones included
  bool closePending_ = false;  // a close arrived while a handler was running
};

}  // namespace brevane::app::win32
