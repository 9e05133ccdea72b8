#include "app/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <chrono>

#include "app/command_route.h"
#include "app/connect_host.h"
#include "app/switches.h"
#include "app/win32/class_browser_view.h"
#include "app/win32/class_search_window.h"
#include "app/win32/method_window.h"
#include "app/win32/history_store.h"
#include "app/win32/main_window_host.h"
#include "app/win32/program_settings_store.h"
#include "app/win32/query_view.h"
#include "dialogs/win32/connect_form.h"
#include "dialogs/win32/find_dialog.h"
#include "dialogs/win32/secret_text.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/encoding.h"
#include "framework/win32/message_box.h"
#include "framework/win32/message_loop.h"
#include "wmi/namespace_path.h"
#include "util/history.h"
#include "util/product_info.h"
#include "util/scope_exit.h"

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

// The four combo boxes whose histories are kept, and one per view; one whose dialog does not
// exist is left out, so that its stored history is neither replaced by an empty list nor lost.
HistoryCombos CollectHistories(const std::vector<View*>& views,
                               dialogs::win32::FindDialog* findDialog,
                               dialogs::win32::ConnectDialog* connectDialog) {
  HistoryCombos combos;
  for (View* view : views) view->Histories(combos);
  if (findDialog && findDialog->Handle()) combos.search = &findDialog->FindText();
  if (connectDialog && connectDialog->Handle()) {
    combos.hosts = &connectDialog->HostCombo();
    combos.namespaces = &connectDialog->wmiPathCombo();
  }
  return combos;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, std::shared_ptr<wmi::Backend> backend,
                       std::vector<std::string> arguments)
    : instance_(instance),
      backend_(std::move(backend)),
      arguments_(std::move(arguments)),
      host_(std::make_unique<FrameHost>(*this)) {}

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
  placement_.Restore(window);
  ShowWindow(window, showCmd);
  UpdateWindow(window);
  return true;
}

HMENU MainWindow::ClassMenu() const {
  return classBrowser_ ? classBrowser_->ClassMenu() : nullptr;
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
  host_->RunAsHandler([&] { result = Dispatch(message, wParam, lParam); });
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
      LayoutControls();
      return 0;
    case WM_GETMINMAXINFO: {
      const framework::win32::DpiScale scale(dpi_);
      auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
      info.ptMinTrackSize.x = scale(kMinDesignWidth);
      info.ptMinTrackSize.y = scale(kMinDesignHeight);
      return 0;
    }
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
      return 0;
    case WM_INITMENUPOPUP:
      host_->EnableViewCommands(reinterpret_cast<HMENU>(wParam));
      EnableNavigation(reinterpret_cast<HMENU>(wParam));
      EnableMethodCommands(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_APPCOMMAND:
      // The mouse's back and forward buttons (a child's WM_XBUTTONUP comes up as this).
      if (OnAppCommand(GET_APPCOMMAND_LPARAM(lParam))) return TRUE;
      return DefaultHandling(message, wParam, lParam);
    case WM_SETCURSOR:
      return OnSetCursor(wParam, lParam);
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_CLOSE:
      if (!CloseGranted()) return 0;
      placement_.SaveAfterClose(Handle());
      DestroyWindow(Handle());
      return 0;
    case WM_QUERYENDSESSION:
      // Logging off closes the window like any other close: the close request may refuse it.
      return CloseGranted() ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wParam != 0) placement_.SaveAfterClose(Handle());
      return 0;
    case kMsgFirstActivation:
      RunStartUp();
      return 0;
    case WM_DESTROY:
      destroyed_ = true;
      placement_.SaveAtDestroy(Handle());
      ShutDownWorkers();
      PostQuitMessage(0);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
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

void MainWindow::OnSetFocus() {
  // Keyboard focus goes back where it was, or to the main control of the visible tab.
  HWND target = lastFocus_;
  if (target == nullptr || !IsWindow(target) || !IsWindowVisible(target) ||
      !IsChild(Handle(), target)) {
    target = views_.empty() ? nullptr : host_->ActiveView().FocusTarget();
  }
  if (target != nullptr) SetFocus(target);
}

LRESULT MainWindow::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  // While a synchronous task runs, messages processed in between must not undo the hourglass.
  if (busyDepth_ > 0) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
  }
  // A request in the background leaves the window usable: the arrow with the hourglass.
  if (host_->BackgroundBusy() && LOWORD(lParam) == HTCLIENT) {
    SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    return TRUE;
  }
  return DefaultHandling(WM_SETCURSOR, wParam, lParam);
}

// ---- Start-up, command line and shutdown

void MainWindow::RunStartUp() {
  if (activated_) return;
  activated_ = true;
  settings_ = LoadProgramSettings(DefaultHistoryFiles());
  host_->LoadHistories();
  SelectTab(0);
  for (View* view : views_) view->Starting();
  if (!host_->ProcessMessages()) return;
  if (!wmiClient_->CheckLocator()) {
    host_->ShowError(wmiClient_->LastError);
    return;
  }
  ApplySwitches(ParseSwitches(arguments_));
  if (!startupQuery_.empty()) {
    queryView_->SetQueryText(startupQuery_);
    SelectTab(1);
    host_->SetStatus(0, wmiClient_->Host);
    if (!host_->ProcessMessages()) return;
    queryView_->RunQuery();
  } else {
    classBrowser_->LoadClasses();
  }
}

void MainWindow::ApplySwitches(const StartupSwitches& switches) {
  if (switches.monitorWindow) monitorWindow_ = *switches.monitorWindow;
  if (switches.host) wmiClient_->SetHost(HostForConnection(*switches.host));
  if (switches.nameSpace) wmiClient_->SetNamespace(*switches.nameSpace);
  if (switches.user) wmiClient_->User = *switches.user;
  if (switches.password) wmiClient_->Password = *switches.password;
  startupQuery_ = switches.query.value_or(std::string());
  // The switch adds to the settings file's ReadOnly=1, it never takes it back.
  if (switches.readOnly) settings_.readOnly = true;
  EnableMethodCommands(GetMenu(Handle()));
  // A start-up query goes to these computers; without -query: they only fill the box.
  if (switches.computers && queryView_) queryView_->SetComputersText(*switches.computers);
}

int MainWindow::ActiveTab() const {
  return tabs_ != nullptr ? TabCtrl_GetCurSel(tabs_) : 0;
}

void MainWindow::SelectTab(int index) {
  if (tabs_ == nullptr) return;
  TabCtrl_SetCurSel(tabs_, index);
  const int active = ActiveTab();
  for (size_t i = 0; i < views_.size(); ++i) views_[i]->Show(static_cast<int>(i) == active);
}

void MainWindow::OnTabChanged() {
  host_->SetStatus(2, "");
  if (!views_.empty()) host_->ActiveView().Activated();
}

void MainWindow::ShutDownWorkers() {
  for (View* view : views_) view->WorkersStopped();
  wmiClient_.reset();
  // Every worker is told to stop before any is waited for, and all of them together get at
  // most 2 s: one stuck in a slow WMI call must not keep the window from closing, nor take the
  // time of the others. The loader's list and callback are detached as it is told.
  // The method dialog goes first: it holds its worker.
  methodWindow_.reset();
  const std::array<std::unique_ptr<wmi::RequestWorker>*, 6> workers{
      &queryWorker_,   &classListWorker_, &propertyWorker_,
      &exploreWorker_, &namespaceWorker_, &methodWorker_};
  for (auto* worker : workers) {
    if (*worker) (*worker)->BeginShutdown();
  }
  if (classSearch_) classSearch_->BeginShutdown();
  if (instanceLoader_) instanceLoader_->BeginShutdown();
  if (fanOut_) fanOut_->BeginShutdown();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  bool allEnded = true;
  for (auto* worker : workers) {
    if (*worker && !(*worker)->FinishShutdown(deadline)) allEnded = false;
    worker->reset();
  }
  if (classSearch_ && !classSearch_->FinishShutdown(deadline)) allEnded = false;
  if (instanceLoader_ && !instanceLoader_->FinishShutdown(deadline)) allEnded = false;
  instanceLoader_.reset();
  if (fanOut_ && !fanOut_->FinishShutdown(deadline)) allEnded = false;
  fanOut_.reset();
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

// ---- What the frame offers its views

void FrameHost::SetStatus(int panel, const std::string& text) {
  if (window_.statusBar_ != nullptr)
    framework::win32::SetStatusText(window_.statusBar_, panel, text);
}

std::string FrameHost::Status(int panel) const {
  return window_.statusBar_ != nullptr ? framework::win32::GetStatusText(window_.statusBar_, panel)
                                       : std::string();
}

void FrameHost::ShowError(const std::string& text) {
  framework::win32::ShowMessageBox(window_.Handle(), text, MB_OK | MB_ICONERROR);
}

void FrameHost::RunAsHandler(const std::function<void()>& step) {
  ++window_.handlerDepth_;
  // Also when the handler throws: a depth left above zero would hold back every later close.
  const util::ScopeExit leave([this] {
    if (--window_.handlerDepth_ == 0 && window_.closePending_) {
      window_.closePending_ = false;
      if (!window_.destroyed_) PostMessageW(window_.Handle(), WM_CLOSE, 0, 0);
    }
  });
  step();
}

void FrameHost::BackgroundChanged() {
  POINT point{};
  if (!GetCursorPos(&point)) return;
  HWND under = WindowFromPoint(point);
  HWND frame = window_.Handle();
  if (under == nullptr || (under != frame && !IsChild(frame, under))) return;
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void FrameHost::RunQueryOnQueryTab(const std::string& text) {
  const auto& views = window_.views_;
  const auto found = std::find(views.begin(), views.end(), window_.queryView_.get());
  if (found == views.end()) return;
  window_.SelectTab(static_cast<int>(found - views.begin()));
  window_.queryView_->SetQueryText(text);
  window_.queryView_->RunQuery();
}

void FrameHost::Activate(const View& view) {
  if (&ActiveView() == &view) return;
  const auto& views = window_.views_;
  const auto found = std::find(views.begin(), views.end(), &view);
  if (found == views.end()) return;
  window_.SelectTab(static_cast<int>(found - views.begin()));
  window_.OnTabChanged();
}

void FrameHost::ChooseNamespace(const std::string& ns) {
  if (!window_.wmiClient_ || wmi::SameNamespace(ns, window_.wmiClient_->Namespace)) return;
  // What runs came from the namespace before.
  for (View* view : window_.views_) {
    if (view->Available(ViewCommand::Stop)) view->Run(ViewCommand::Stop, false);
  }
  window_.wmiClient_->SetNamespace(ns);
  if (window_.connectDialog_ && window_.connectDialog_->Handle())
    util::AddToHistory(window_.connectDialog_->wmiPathCombo(), ns);
  for (View* view : window_.views_) view->ConnectionChanged();
}

bool FrameHost::ProcessMessages() {
  return framework::win32::ProcessPendingMessages(window_.Handle(), window_.Accelerators()) &&
         !window_.destroyed_;
}

bool FrameHost::BackgroundBusy() const {
  return std::any_of(window_.views_.begin(), window_.views_.end(),
                     [](const View* view) { return view->Busy(); });
}

View& FrameHost::ActiveView() const {
  const int active = window_.ActiveTab();
  const auto index = static_cast<size_t>(active < 0 ? 0 : active);
  return *window_.views_[std::min(index, window_.views_.size() - 1)];
}

View* FrameHost::ViewFor(ViewCommand command) const {
  const std::vector<View*>& views = window_.views_;
  const int index = RouteToView(window_.ActiveTab(), static_cast<int>(views.size()), [&](int i) {
    return views[static_cast<size_t>(i)]->Handles(command);
  });
  return index >= 0 ? views[static_cast<size_t>(index)] : nullptr;
}

void FrameHost::LoadHistories() {
  LoadHistoryFiles(DefaultHistoryFiles(),
                   CollectHistories(window_.views_, window_.findDialog_, window_.connectDialog_));
}

void FrameHost::SaveHistories() {
  for (View* view : window_.views_) view->SavingHistories();
  SaveHistoryFiles(DefaultHistoryFiles(),
                   CollectHistories(window_.views_, window_.findDialog_, window_.connectDialog_));
}

}  // namespace brevane::app::win32
