#include "app/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <chrono>

#include "app/connect_host.h"
#include "app/switches.h"
#include "app/win32/command_ids.h"
#include "app/win32/program_settings_store.h"
#include "dialogs/win32/secret_text.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/encoding.h"
#include "framework/win32/message_box.h"
#include "framework/win32/message_loop.h"
#include "util/product_info.h"
#include "util/scope_exit.h"
#include "util/text.h"
#include "wmi/win32/regional_settings_win32.h"

namespace brevane::app::win32 {

namespace {
constexpr wchar_t kMainWindowClass[] = L"BrevaneMainWindow";
constexpr int kDesignLeft = 205;
constexpr int kDesignTop = 184;
constexpr int kDesignWidth = 732;
constexpr int kDesignHeight = 517;
constexpr int kMinDesignWidth = 360;
constexpr int kMinDesignHeight = 300;
// Posted at the first activation, so that the start-up sequence runs from the message loop
// once the window is shown, not inside the activation.
constexpr UINT kMsgFirstActivation = WM_APP + 1;

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, std::shared_ptr<wmi::Backend> backend,
                       std::vector<std::string> arguments)
    : instance_(instance), backend_(std::move(backend)), arguments_(std::move(arguments)) {}

MainWindow::~MainWindow() = default;

bool MainWindow::Create(int showCmd) {
  HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
  if (!RegisterWindowClass(instance_, kMainWindowClass, icon, GetSysColorBrush(COLOR_BTNFACE)))
    return false;
  const framework::win32::DpiScale scale = framework::win32::DpiScale::ForSystem();
  HWND window =
      CreateFor(instance_, kMainWindowClass, framework::win32::Utf8ToWide(util::kProductName),
                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, scale(kDesignLeft), scale(kDesignTop),
                scale(kDesignWidth), scale(kDesignHeight), nullptr, nullptr);
  if (window == nullptr) return false;
  RestorePlacement();
  ShowWindow(window, showCmd);
  UpdateWindow(window);
  return true;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // A close that arrives while another handler waits (in a message box, or while pending
  // messages are processed) is carried out once that handler has returned: closing under its
  // feet would free what it still uses.
  if (message == WM_CLOSE && handlerDepth_ > 0) {
    closePending_ = true;
    return 0;
  }
  LRESULT result = 0;
  RunAsHandler([&] { result = Dispatch(message, wParam, lParam); });
  return result;
}

LRESULT MainWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_ACTIVATE:
      OnActivate(wParam);
      return DefaultHandling(message, wParam, lParam);
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
      return 0;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_SETCURSOR:
      return OnSetCursor(wParam, lParam);
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_QUERYENDSESSION:
      return OnQueryEndSession();
    case WM_ENDSESSION:
      if (wParam != 0) SavePlacement();
      return 0;
    case kMsgFirstActivation:
      OnFirstActivation();
      return 0;
    case WM_DESTROY:
      destroyed_ = true;
      SavePlacementAtDestroy();
      ShutDownWorkers();
      PostQuitMessage(0);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

LRESULT MainWindow::OnCreate() {
  dpi_ = framework::win32::DpiScale::ForWindow(Handle()).Dpi();
  CreateClientAndWorkers();
  CreateImageList();
  CreateMenus();
  CreateAccelerators();
  CreateControls();
  LayoutControls();
  return 0;
}

void MainWindow::OnCommand(int id, int notification, HWND control) {
  if (control == nullptr) {
    switch (id) {  // menu items and shortcuts
      case kCmdConnect:
        OnConnect();
        return;
      case kCmdRefresh:
        OnRefresh();
        return;
      case kCmdExit:
        OnExit();
        return;
      case kCmdFind:
        OnFind();
        return;
      case kCmdFindNext:
        OnFindNext();
        return;
      case kCmdHideEmptyClasses:
        OnHideEmptyClasses();
        return;
      case kCmdHelp:
        OnHelp();
        return;
      case kCmdHomePage:
        OnHomePage();
        return;
      case kCmdSupport:
        OnSupport();
        return;
      case kCmdAbout:
        OnAbout();
        return;
      case kCmdRefreshInstances:
        OnRefreshInstances();
        return;
      case kCmdSelectFrom:
        OnSelectFrom();
        return;
      case kCmdCopy:  // from a shortcut (notification 1) the focused control, else the menu's list
        OnCopy(notification == 1 ? GetFocus() : contextList_);
        return;
      case kCmdCopyValue:
        if (notification != 1 || GetFocus() == propertyGrid_) OnCopyValue();
        return;
      case kCmdSelectAll:
        OnSelectAll(notification == 1 ? GetFocus() : contextList_);
        return;
      case kCmdExport:
        OnExport();
        return;
      case kCmdFocusClassFilter:
        FocusClassFilter();
        return;
      case kCmdNextTab:
        NextTabChosen(false);
        return;
      case kCmdPreviousTab:
        NextTabChosen(true);
        return;
      default:
        return;
    }
  }
  switch (id) {
    case kIdClassList:
      if (notification == LBN_SELCHANGE) OnClassChosen();
      return;
    case kIdInstanceList:
      if (notification == LBN_SELCHANGE) OnInstanceChosen();
      return;
    case kIdClassTabRunButton:
      if (notification == BN_CLICKED) OnClassTabRunQuery();
      return;
    case kIdRunQueryButton:
      if (notification == BN_CLICKED) OnRunQueryButton();
      return;
    case kIdClassFilterCombo:
      ClassFilterChange(notification);
      return;
    default:
      return;
  }
}

LRESULT MainWindow::OnNotify(NMHDR& header) {
  switch (header.idFrom) {
    case kIdTabs:
      if (header.code == TCN_SELCHANGE) {
        ShowTabPages();
        OnTabChanged();
      }
      return 0;
    case kIdResultTable:
      if (header.code == LVN_GETDISPINFOW)
        resultView_.FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
      if (header.code == LVN_COLUMNCLICK)
        OnResultColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      if (header.code == LVN_ODFINDITEMW)
        return resultView_.FindTypedRow(reinterpret_cast<NMLVFINDITEMW&>(header));
      if (header.code == LVN_KEYDOWN && reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_ESCAPE)
        StopQuery();
      return 0;
    default:
      return 0;
  }
}

void MainWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) lastFocus_ = focus;
  }
  if (LOWORD(wParam) == WA_INACTIVE || activated_ || firstActivationPosted_) return;
  firstActivationPosted_ = true;
  PostMessageW(Handle(), kMsgFirstActivation, 0, 0);
}

void MainWindow::OnFirstActivation() {
  RunStartUp();
}

void MainWindow::OnClose() {
  bool canClose = true;
  OnCloseRequest(canClose);
  if (!canClose) return;
  SavePlacement();
  DestroyWindow(Handle());
}

void MainWindow::OnSetFocus() {
  // Keyboard focus goes back where it was, or to the main control of the visible tab.
  HWND target = lastFocus_;
  if (target == nullptr || !IsWindow(target) || !IsWindowVisible(target) ||
      !IsChild(Handle(), target)) {
    target = ActiveTab() == 0 ? classList_ : queryCombo_;
  }
  if (target != nullptr) SetFocus(target);
}

LRESULT MainWindow::OnQueryEndSession() {
  // Logging off closes the window like any other close: the close request may refuse it.
  bool canClose = true;
  OnCloseRequest(canClose);
  return canClose ? TRUE : FALSE;
}

void MainWindow::NextTabChosen(bool backwards) {
  const int count = TabCtrl_GetItemCount(tabs_);
  if (count <= 1) return;
  SelectTab((ActiveTab() + (backwards ? count - 1 : 1)) % count);
  OnTabChanged();  // a choice of the user, like a click on the tab
}

void MainWindow::OnSize() {
  LayoutControls();
  FitPropertyValueColumn();
}

void MainWindow::OnGetMinMaxInfo(MINMAXINFO& info) {
  const framework::win32::DpiScale scale(dpi_);
  info.ptMinTrackSize.x = scale(kMinDesignWidth);
  info.ptMinTrackSize.y = scale(kMinDesignHeight);
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  const UINT previous = dpi_;
  dpi_ = dpi;
  // Column widths, also those the user dragged, keep their size in design pixels.
  for (HWND listView : {propertyGrid_, resultTable_}) {
    const int columns = Header_GetItemCount(ListView_GetHeader(listView));
    for (int i = 0; i < columns; ++i) {
      const int width = ListView_GetColumnWidth(listView, i);
      ListView_SetColumnWidth(listView, i,
                              framework::win32::DpiScale(dpi).FromDpi(width, previous));
    }
  }
  ApplyFonts();
  SetupListControls();
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls();
}

void MainWindow::OnContextMenu(HWND window, LPARAM position) {
  POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (point.x == -1 && point.y == -1) {  // from the keyboard: open at the list's corner
    point = {0, 0};
    ClientToScreen(window, &point);
  }
  if (window != classList_) {
    ListContextMenu(window, point);
    return;
  }
  if (classMenu_.Get() == nullptr) return;
  contextList_ = classList_;
  PrepareClassMenu();
  TrackPopupMenu(classMenu_.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(),
                 nullptr);
}

void MainWindow::OnInitMenuPopup(HMENU menu) {
  // Export needs a result table; the item also sits in the first menu of the menu bar.
  EnableMenuItem(menu, kCmdExport,
                 MF_BYCOMMAND | (queryRows_.Rows().ColumnCount() > 0 ? MF_ENABLED : MF_GRAYED));
}

LRESULT MainWindow::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  // While a synchronous task runs, messages processed in between must not undo the hourglass.
  if (busyDepth_ > 0) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
  }
  // A request in the background leaves the window usable: the arrow with the hourglass.
  if (BackgroundBusy() && LOWORD(lParam) == HTCLIENT) {
    SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    return TRUE;
  }
  return DefaultHandling(WM_SETCURSOR, wParam, lParam);
}

// ---- Start-up, command line and shutdown

void MainWindow::CreateClientAndWorkers() {
  columnNames_.clear();
  resultValues_.clear();
  wmiClient_ = std::make_unique<wmi::WmiClient>(*backend_, wmi::win32::ReadUserRegionalSettings());
  wmiClient_->SetHost("localhost");
  wmiClient_->SetNamespace("root\\cimv2");
  wmiClient_->User.clear();
  wmiClient_->Password.clear();
  // The loader is set up completely before any request can reach it.
  dispatcher_ = std::make_shared<framework::win32::UiDispatcher>();
  instanceLoader_ =
      std::make_unique<wmi::InstanceLoader>(backend_, dispatcher_, wmiClient_->Regional());
  instanceLoader_->SetMaxInstances(30000);
  instanceLoader_->SetOnDone(
      [this](int count, const std::string& message) { InstancesDone(count, message); });
  // One count of busy threads per computer for all three, so that the cap holds across them.
  const auto hosts = std::make_shared<wmi::HostThreadCounter>();
  queryWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_, hosts);
  classListWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_, hosts);
  propertyWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_, hosts);
}

void MainWindow::RunStartUp() {
  if (activated_) return;
  activated_ = true;
  settings_ = LoadProgramSettings(DefaultHistoryFiles());
  LoadHistory();
  SelectTab(0);
  SetPropertyRowHeight();
  if (!ProcessMessages()) return;
  if (!wmiClient_->CheckLocator()) {
    ShowError(wmiClient_->LastError);
    return;
  }
  ApplySwitches(ParseSwitches(arguments_));
  if (!startupQuery_.empty()) {
    SetQueryText(startupQuery_);
    SelectTab(1);
    SetStatusPanel(0, wmiClient_->Host);
    if (!ProcessMessages()) return;
    RunQuery();
  } else {
    LoadClasses();
  }
}

void MainWindow::ApplySwitches(const StartupSwitches& switches) {
  if (switches.monitorWindow) monitorWindow_ = *switches.monitorWindow;
  if (switches.host) wmiClient_->SetHost(HostForConnection(*switches.host));
  if (switches.nameSpace) wmiClient_->SetNamespace(*switches.nameSpace);
  if (switches.user) wmiClient_->User = *switches.user;
  if (switches.password) wmiClient_->Password = *switches.password;
  startupQuery_ = switches.query.value_or(std::string());
}

void MainWindow::FitPropertyValueColumn() {
  if (propertyGrid_ == nullptr) return;
  const int nameWidth = ListView_GetColumnWidth(propertyGrid_, 0);
  const int valueWidth = ListView_GetColumnWidth(propertyGrid_, 1);
  if (valueWidth < nameWidth) return;
  // The value column takes what the name and type columns leave.
  const int typeWidth = ListView_GetColumnWidth(propertyGrid_, 2);
  RECT client{};
  GetClientRect(propertyGrid_, &client);
  const int width = std::max(nameWidth, static_cast<int>(client.right) - nameWidth - typeWidth - 5);
  ListView_SetColumnWidth(propertyGrid_, 1, width);
}

void MainWindow::OnTabChanged() {
  SetStatusPanel(2, "");
  if (ActiveTab() == 0 && !classesLoaded_ && wmiClient_->CheckLocator()) LoadClasses();
}

void MainWindow::OnRefresh() {
  if (ActiveTab() == 0) {
    LoadClasses();
  } else {
    RunQuery();
  }
}

void MainWindow::OnExit() {
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void MainWindow::ShutDownWorkers() {
  columnNames_.clear();
  resultValues_.clear();
  wmiClient_.reset();
  // Every worker is told to stop before any is waited for, and all of them together get at
  // most 2 s: one stuck in a slow WMI call must not keep the window from closing, nor take the
  // time of the others. The loader's list and callback are detached as it is told.
  const std::array<std::unique_ptr<wmi::RequestWorker>*, 3> workers{
      &queryWorker_, &classListWorker_, &propertyWorker_};
  for (auto* worker : workers) {
    if (*worker) (*worker)->BeginShutdown();
  }
  if (instanceLoader_) instanceLoader_->BeginShutdown();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  bool allEnded = true;
  for (auto* worker : workers) {
    if (*worker && !(*worker)->FinishShutdown(deadline)) allEnded = false;
    worker->reset();
  }
  query_.active = false;
  if (instanceLoader_ && !instanceLoader_->FinishShutdown(deadline)) allEnded = false;
  instanceLoader_.reset();
  workersLeftBehind_ = !allEnded;
  if (dispatcher_) dispatcher_->Close();
}

void MainWindow::AttachDialogs(dialogs::win32::ConnectDialog* connectDialog,
                               dialogs::win32::FindDialog* findDialog,
                               const framework::win32::HelpAccess* help) {
  connectDialog_ = connectDialog;
  findDialog_ = findDialog;
  help_ = help;
}

void MainWindow::ForgetPassword() {
  if (wmiClient_) dialogs::win32::WipeText(wmiClient_->Password);
}

// ---- Small helpers shared by the handlers

void MainWindow::SetStatusPanel(int panel, const std::string& text) {
  if (statusBar_ != nullptr) framework::win32::SetStatusText(statusBar_, panel, text);
}

std::string MainWindow::StatusPanel(int panel) const {
  return statusBar_ != nullptr ? framework::win32::GetStatusText(statusBar_, panel) : std::string();
}

int MainWindow::ActiveTab() const {
  return tabs_ != nullptr ? TabCtrl_GetCurSel(tabs_) : 0;
}

void MainWindow::SelectTab(int index) {
  if (tabs_ == nullptr) return;
  TabCtrl_SetCurSel(tabs_, index);
  ShowTabPages();
}

std::string MainWindow::QueryText() const {
  return framework::win32::GetWindowTextUtf8(queryCombo_);
}

void MainWindow::SetQueryText(const std::string& text) {
  framework::win32::SetWindowTextUtf8(queryCombo_, text);
}

void MainWindow::SetClassTabQueryText(const std::string& text) {
  framework::win32::SetWindowTextUtf8(classTabQueryCombo_, text);
}

void MainWindow::ShowError(const std::string& text) {
  framework::win32::ShowMessageBox(Handle(), text, MB_OK | MB_ICONERROR);
}

MainWindow::BusyScope::BusyScope(MainWindow& window) : window_(window) {
  ++window_.busyDepth_;
}

void MainWindow::BusyScope::Restore() {
  if (!active_) return;
  active_ = false;
  --window_.busyDepth_;
  cursor_.Restore();
}

wmi::ConnectionParams MainWindow::Connection() const {
  return {wmiClient_->Host, wmiClient_->Namespace, wmiClient_->User, wmiClient_->Password};
}

void MainWindow::RunAsHandler(const std::function<void()>& step) {
  ++handlerDepth_;
  // Also when the handler throws: a depth left above zero would hold back every later close.
  const util::ScopeExit leave([this] {
    if (--handlerDepth_ == 0 && closePending_) {
      closePending_ = false;
      if (!destroyed_) PostMessageW(Handle(), WM_CLOSE, 0, 0);
    }
  });
  step();
}

bool MainWindow::ProcessMessages() {
  return framework::win32::ProcessPendingMessages(Handle(), Accelerators()) && !destroyed_;
}

}  // namespace brevane::app::win32
