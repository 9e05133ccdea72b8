#include "app/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <chrono>

#include "app/connect_host.h"
#include "app/switches.h"
#include "app/win32/command_ids.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/encoding.h"
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

TMainWin::TMainWin(HINSTANCE instance, std::shared_ptr<wmi::Backend> backend,
                   std::vector<std::string> arguments)
    : instance_(instance), backend_(std::move(backend)), arguments_(std::move(arguments)) {}

TMainWin::~TMainWin() = default;

bool TMainWin::Create(int showCmd) {
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

LRESULT TMainWin::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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

LRESULT TMainWin::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
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
      FormDestroy();
      PostQuitMessage(0);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

LRESULT TMainWin::OnCreate() {
  dpi_ = framework::win32::DpiScale::ForWindow(Handle()).Dpi();
  FormCreate();
  CreateImageList();
  CreateMenus();
  CreateAccelerators();
  CreateControls();
  LayoutControls();
  return 0;
}

void TMainWin::OnCommand(int id, int notification, HWND control) {
  if (control == nullptr) {
    switch (id) {  // menu items and shortcuts
      case kCmdConnecttoremotehost1:
        Connecttoremotehost1Click();
        return;
      case kCmdRefresh1:
        Refresh1Click();
        return;
      case kCmdExit1:
        Exit1Click();
        return;
      case kCmdSearch1:
        Search1Click();
        return;
      case kCmdFindagain1:
        Findagain1Click();
        return;
      case kCmdHideclasseswithnoinstances1:
        Hideclasseswithnoinstances1Click();
        return;
      case kCmdHelp2:
        Help2Click();
        return;
      case kCmdHomepage1:
        Homepage1Click();
        return;
      case kCmdSupport1:
        Support1Click();
        return;
      case kCmdAbout1:
        About1Click();
        return;
      case kCmdRefresh2:
        Refresh2Click();
        return;
      case kCmdSelectfrom1:
        Selectfrom1Click();
        return;
      case kCmdCopy:  // from a shortcut (notification 1) the focused control, else the menu's list
        CopyClick(notification == 1 ? GetFocus() : contextList_);
        return;
      case kCmdCopyValue:
        if (notification != 1 || GetFocus() == PropGrid) CopyValueClick();
        return;
      case kCmdSelectAll:
        SelectAllClick(notification == 1 ? GetFocus() : contextList_);
        return;
      case kCmdExport:
        ExportClick();
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
    case kIdClassListBox:
      if (notification == LBN_SELCHANGE) ClassListBoxClick();
      return;
    case kIdInstanceListBox:
      if (notification == LBN_SELCHANGE) InstanceListBoxClick();
      return;
    case kIdQuery1Btn:
      if (notification == BN_CLICKED) Query1BtnClick();
      return;
    case kIdQuery2Btn:
      if (notification == BN_CLICKED) QueryButtonClicked();
      return;
    case kIdClassFilterCombo:
      ClassFilterChange(notification);
      return;
    default:
      return;
  }
}

LRESULT TMainWin::OnNotify(NMHDR& header) {
  switch (header.idFrom) {
    case kIdPageControl2:
      if (header.code == TCN_SELCHANGE) {
        ShowTabPages();
        PageControl2Change();
      }
      return 0;
    case kIdListView1:
      if (header.code == LVN_GETDISPINFOW)
        listView1_.FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
      if (header.code == LVN_COLUMNCLICK)
        ListView1ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      if (header.code == LVN_ODFINDITEMW)
        return listView1_.FindTypedRow(reinterpret_cast<NMLVFINDITEMW&>(header));
      if (header.code == LVN_KEYDOWN && reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_ESCAPE)
        StopQuery();
      return 0;
    default:
      return 0;
  }
}

void TMainWin::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) lastFocus_ = focus;
  }
  if (LOWORD(wParam) == WA_INACTIVE || Activated || firstActivationPosted_) return;
  firstActivationPosted_ = true;
  PostMessageW(Handle(), kMsgFirstActivation, 0, 0);
}

void TMainWin::OnFirstActivation() {
  FormActivate();
}

void TMainWin::OnClose() {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (!canClose) return;
  SavePlacement();
  DestroyWindow(Handle());
}

void TMainWin::OnSetFocus() {
  // Keyboard focus goes back where it was, or to the main control of the visible tab.
  HWND target = lastFocus_;
  if (target == nullptr || !IsWindow(target) || !IsWindowVisible(target) ||
      !IsChild(Handle(), target)) {
    target = ActiveTab() == 0 ? ClassListBox : Query2Combo;
  }
  if (target != nullptr) SetFocus(target);
}

LRESULT TMainWin::OnQueryEndSession() {
  // Logging off closes the window like any other close: the close request may refuse it.
  bool canClose = true;
  FormCloseQuery(canClose);
  return canClose ? TRUE : FALSE;
}

void TMainWin::NextTabChosen(bool backwards) {
  const int count = TabCtrl_GetItemCount(PageControl2);
  if (count <= 1) return;
  SelectTab((ActiveTab() + (backwards ? count - 1 : 1)) % count);
  PageControl2Change();  // a choice of the user, like a click on the tab
}

void TMainWin::OnSize() {
  LayoutControls();
  FormResize();
}

void TMainWin::OnGetMinMaxInfo(MINMAXINFO& info) {
  const framework::win32::DpiScale scale(dpi_);
  info.ptMinTrackSize.x = scale(kMinDesignWidth);
  info.ptMinTrackSize.y = scale(kMinDesignHeight);
}

void TMainWin::OnDpiChanged(UINT dpi, const RECT& suggested) {
  const UINT previous = dpi_;
  dpi_ = dpi;
  // Column widths, also those the user dragged, keep their size in design pixels.
  for (HWND listView : {PropGrid, ListView1}) {
    const int columns = Header_GetItemCount(ListView_GetHeader(listView));
    for (int i = 0; i < columns; ++i) {
      const int width = ListView_GetColumnWidth(listView, i);
      ListView_SetColumnWidth(listView, i,
                              MulDiv(width, static_cast<int>(dpi), static_cast<int>(previous)));
    }
  }
  ApplyFonts();
  SetupListControls();
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls();
}

void TMainWin::OnContextMenu(HWND window, LPARAM position) {
  POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (point.x == -1 && point.y == -1) {  // from the keyboard: open at the list's corner
    point = {0, 0};
    ClientToScreen(window, &point);
  }
  if (window != ClassListBox) {
    ListContextMenu(window, point);
    return;
  }
  if (PopupMenu1 == nullptr) return;
  contextList_ = ClassListBox;
  PopupMenu1Popup();
  TrackPopupMenu(PopupMenu1, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(),
                 nullptr);
}

void TMainWin::OnInitMenuPopup(HMENU menu) {
  // Export needs a result table; the item also sits in the first menu of the menu bar.
  EnableMenuItem(menu, kCmdExport,
                 MF_BYCOMMAND | (queryRows_.Rows().ColumnCount() > 0 ? MF_ENABLED : MF_GRAYED));
}

LRESULT TMainWin::OnSetCursor(WPARAM wParam, LPARAM lParam) {
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

void TMainWin::FormCreate() {
  ColumnNames.clear();
  ResultValues.clear();
  Wmi = std::make_unique<wmi::TWMI>(*backend_, wmi::win32::ReadUserRegionalSettings());
  Wmi->SetHost("localhost");
  Wmi->SetNamespace("root\\cimv2");
  Wmi->User.clear();
  Wmi->Password.clear();
  // The loader is set up completely before any request can reach it.
  dispatcher_ = std::make_shared<framework::win32::UiDispatcher>();
  InstancesThread = std::make_unique<wmi::InstanceLoader>(backend_, dispatcher_, Wmi->Regional());
  InstancesThread->SetMaxInstances(30000);
  InstancesThread->SetOnDone(
      [this](int count, const std::string& message) { InstancesDone(count, message); });
  queryWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_);
  classListWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_);
  propertyWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_);
}

void TMainWin::FormActivate() {
  if (Activated) return;
  Activated = true;
  LoadHistory();
  SelectTab(0);
  SetPropGridRowHeight();
  if (!ProcessMessages()) return;
  if (!Wmi->CheckLocator()) {
    ShowError(Wmi->LastError);
    return;
  }
  StartupQuery.clear();
  for (const std::string& argument : arguments_) ParseSwitch(argument);
  if (!StartupQuery.empty()) {
    SetQuery2Text(StartupQuery);
    SelectTab(1);
    SetStatusPanel(0, Wmi->Host);
    if (!ProcessMessages()) return;
    Query2BtnClick();
  } else {
    LoadClasses();
  }
}

void TMainWin::ParseSwitch(const std::string& argument) {
  for (const SwitchMatch& match : MatchSwitches(argument)) {
    switch (match.kind) {
      case SwitchKind::MonitorWindow:
        MonitorWindow = MonitorWindowFromValue(match.value);
        break;
      case SwitchKind::Host:
        Wmi->SetHost(HostForConnection(match.value));
        break;
      case SwitchKind::Namespace:
        Wmi->SetNamespace(match.value);
        break;
      case SwitchKind::User:
        Wmi->User = match.value;
        break;
      case SwitchKind::Password:
        Wmi->Password = match.value;
        break;
      case SwitchKind::Query:
        StartupQuery = match.value;
        break;
    }
  }
}

void TMainWin::FormResize() {
  if (PropGrid == nullptr) return;
  const int w0 = ListView_GetColumnWidth(PropGrid, 0);
  const int w1 = ListView_GetColumnWidth(PropGrid, 1);
  if (w1 < w0) return;
  // The value column takes what the name and type columns leave.
  const int w2 = ListView_GetColumnWidth(PropGrid, 2);
  RECT client{};
  GetClientRect(PropGrid, &client);
  const int width = std::max(w0, static_cast<int>(client.right) - w0 - w2 - 5);
  ListView_SetColumnWidth(PropGrid, 1, width);
}

void TMainWin::PageControl2Change() {
  SetStatusPanel(2, "");
  if (ActiveTab() == 0 && !ClassesLoaded && Wmi->CheckLocator()) LoadClasses();
}

void TMainWin::Refresh1Click() {
  if (ActiveTab() == 0) {
    LoadClasses();
  } else {
    Query2BtnClick();
  }
}

void TMainWin::Exit1Click() {
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TMainWin::FormDestroy() {
  ColumnNames.clear();
  ResultValues.clear();
  Wmi.reset();
  // Stop every worker; one stuck in a slow WMI call must not keep the window from closing,
  // so all of them together are waited for at most 2 s.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  auto remaining = [&] {
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now()));
  };
  for (auto* worker : {&queryWorker_, &classListWorker_, &propertyWorker_}) {
    if (*worker) (*worker)->Shutdown(remaining());
    worker->reset();
  }
  query_.active = false;
  // The loader's list and callback are detached before it stops.
  if (InstancesThread) {
    InstancesThread->Shutdown(remaining());
    InstancesThread.reset();
  }
  if (dispatcher_) dispatcher_->Close();
}

// ---- Small helpers shared by the handlers

void TMainWin::SetStatusPanel(int panel, const std::string& text) {
  if (StatusBar1 != nullptr) framework::win32::SetStatusText(StatusBar1, panel, text);
}

std::string TMainWin::StatusPanel(int panel) const {
  return StatusBar1 != nullptr ? framework::win32::GetStatusText(StatusBar1, panel) : std::string();
}

int TMainWin::ActiveTab() const {
  return PageControl2 != nullptr ? TabCtrl_GetCurSel(PageControl2) : 0;
}

void TMainWin::SelectTab(int index) {
  if (PageControl2 == nullptr) return;
  TabCtrl_SetCurSel(PageControl2, index);
  ShowTabPages();
}

std::string TMainWin::Query2Text() const {
  return framework::win32::GetWindowTextUtf8(Query2Combo);
}

void TMainWin::SetQuery2Text(const std::string& text) {
  framework::win32::SetWindowTextUtf8(Query2Combo, text);
}

void TMainWin::SetQueryComboText(const std::string& text) {
  framework::win32::SetWindowTextUtf8(QueryCombo, text);
}

void TMainWin::ShowError(const std::string& text) {
  const std::wstring wide = framework::win32::Utf8ToWide(text);
  MessageBoxW(Handle(), wide.c_str(), framework::win32::Utf8ToWide(util::kProductName).c_str(),
              MB_OK | MB_ICONERROR);
}

TMainWin::BusyScope::BusyScope(TMainWin& window) : window_(window) {
  ++window_.busyDepth_;
}

void TMainWin::BusyScope::Restore() {
  if (!active_) return;
  active_ = false;
  --window_.busyDepth_;
  cursor_.Restore();
}

wmi::ConnectionParams TMainWin::Connection() const {
  return {Wmi->Host, Wmi->Namespace, Wmi->User, Wmi->Password};
}

void TMainWin::RunAsHandler(const std::function<void()>& step) {
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

bool TMainWin::ProcessMessages() {
  return framework::win32::ProcessPendingMessages(Handle(), Accelerators()) && !destroyed_;
}

}  // namespace brevane::app::win32
