// The routing of commands: the view commands go to the active view (or the first that has
// them), the controls' messages to the view that owns them; and the frame's own commands:
// find and find again, connect, help, home page, support mail, about, the tab shortcuts.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <memory>
#include <optional>
#include <utility>

#include "app/connect_fields.h"
#include "app/connect_host.h"
#include "app/search_flow.h"
#include "app/support_mail.h"
#include "app/win32/class_browser_view.h"
#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_host.h"
#include "app/win32/windows_version.h"
#include "dialogs/win32/about_box.h"
#include "dialogs/win32/connect_form.h"
#include "dialogs/win32/find_dialog.h"
#include "dialogs/win32/secret_text.h"
#include "dialogs/win32/shell_open.h"
#include "framework/win32/help_access.h"
#include "framework/win32/message_box.h"
#include "util/help_texts.h"
#include "util/history.h"
#include "util/product_info.h"
#include "wmi/win32/system_error_text.h"

namespace brevane::app::win32 {

// Find and find again over the list of the active view; the search state lives as long as the
// window.
class SearchCommands final : public SearchWindowPort, public SearchMessagePort {
 public:
  SearchCommands(HWND frame, std::function<View&()> activeView, dialogs::FindDialogPort& dialog)
      : frame_(frame), activeView_(std::move(activeView)), flow_(dialog, *this, *this) {}

  SearchFlow& Flow() { return flow_; }

  SearchTab ActiveTab() const override {
    return activeView_().Searched().table != nullptr ? SearchTab::Query : SearchTab::Classes;
  }
  util::ListViewControl& QueryList() override { return *activeView_().Searched().table; }
  util::ListBoxControl& ClassList() override { return *activeView_().Searched().lines; }
  void FocusQueryList() override { activeView_().Found(); }
  void FocusClassList() override { activeView_().Found(); }
  void EmptyClassPanes() override {}  // part of the view's Found

  bool AskYesNo(const std::string& text) override {
    return Box(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  void ShowWarning(const std::string& text) override { Box(text, MB_OK | MB_ICONWARNING); }

 private:
  int Box(const std::string& text, UINT type) {
    return framework::win32::ShowMessageBox(frame_, text, type);
  }

  HWND frame_;
  std::function<View&()> activeView_;
  SearchFlow flow_;
};

namespace {

constexpr std::array<std::pair<int, ViewCommand>, 8> kViewCommands = {{
    {kCmdCopy, ViewCommand::Copy},
    {kCmdCopyValue, ViewCommand::CopyValue},
    {kCmdSelectAll, ViewCommand::SelectAll},
    {kCmdFind, ViewCommand::Find},
    {kCmdFindNext, ViewCommand::FindNext},
    {kCmdExport, ViewCommand::Export},
    {kCmdRefresh, ViewCommand::Refresh},
    {kCmdCopyPowerShell, ViewCommand::CopyPowerShell},
}};

std::optional<ViewCommand> ViewCommandOf(int id) {
  for (const auto& [commandId, command] : kViewCommands) {
    if (commandId == id) return command;
  }
  return std::nullopt;
}

}  // namespace

void MainWindow::OnCommand(int id, int notification, HWND control) {
  if (control == nullptr) {  // menu items and shortcuts (notification 1)
    if (const std::optional<ViewCommand> command = ViewCommandOf(id)) {
      host_->RunViewCommand(*command, notification == 1);
      return;
    }
    if (OnMenuCommand(id)) return;
  }
  // The view's own controls and menu items; the active view is asked first.
  if (views_.empty() || host_->ActiveView().OnCommand(id, notification, control)) return;
  for (View* view : views_) {
    if (view->OnCommand(id, notification, control)) return;
  }
}

LRESULT MainWindow::OnNotify(NMHDR& header) {
  if (header.idFrom == kIdTabs) {
    if (header.code == TCN_SELCHANGE) {
      SelectTab(ActiveTab());
      OnTabChanged();
    }
    return 0;
  }
  LRESULT result = 0;
  for (View* view : views_) {
    if (view->OnNotify(header, result)) return result;
  }
  return 0;
}

void MainWindow::OnContextMenu(HWND window, LPARAM position) {
  POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (point.x == -1 && point.y == -1) {  // from the keyboard: open at the list's corner
    point = {0, 0};
    ClientToScreen(window, &point);
  }
  for (View* view : views_) {
    if (view->OnContextMenu(window, point)) return;
  }
}

void FrameHost::EnableViewCommands(HMENU menu) const {
  for (const auto& [id, command] : kViewCommands) {
    if (id == kCmdCopy || id == kCmdCopyValue || id == kCmdSelectAll) continue;  // list menus
    const View* view = ViewFor(command);
    const bool available = view != nullptr && view->Available(command);
    EnableMenuItem(menu, static_cast<UINT>(id),
                   MF_BYCOMMAND | (available ? MF_ENABLED : MF_GRAYED));
  }
}

void FrameHost::RunViewCommand(ViewCommand command, bool fromKeyboard) {
  View* view = ViewFor(command);
  if (view == nullptr) return;
  if (command != ViewCommand::Find && command != ViewCommand::FindNext) {
    view->Run(command, fromKeyboard);
    return;
  }
  if (!window_.findDialog_) return;
  auto& search = window_.searchCommands_;
  if (!search) {
    search = std::make_shared<SearchCommands>(
        Frame(), [this]() -> View& { return ActiveView(); }, *window_.findDialog_);
  }
  if (command == ViewCommand::Find) {
    search->Flow().OnFind();
  } else {
    search->Flow().OnFindNext();
  }
}

void MainWindow::EnableNavigation(HMENU menu) const {
  if (!classBrowser_) return;
  EnableMenuItem(menu, kCmdBack,
                 MF_BYCOMMAND | (classBrowser_->CanGoBack() ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu, kCmdForward,
                 MF_BYCOMMAND | (classBrowser_->CanGoForward() ? MF_ENABLED : MF_GRAYED));
}

bool MainWindow::OnAppCommand(int command) {
  if (!classBrowser_) return false;
  switch (command) {
    case APPCOMMAND_BROWSER_BACKWARD:
      classBrowser_->GoBack();
      return true;
    case APPCOMMAND_BROWSER_FORWARD:
      classBrowser_->GoForward();
      return true;
    default:
      return false;
  }
}

std::string FrameHost::UserFor(const std::string& host) const {
  if (window_.wmiClient_ && wmi::HostKey(host) == wmi::HostKey(window_.wmiClient_->Host))
    return window_.wmiClient_->User;
  return window_.credentials_.For(host).user;
}

void FrameHost::ConnectTo(const std::string& host, const std::string& nameSpace) {
  if (!window_.wmiClient_) return;
  wmi::WmiClient& client = *window_.wmiClient_;
  // What runs came from the old connection.
  for (View* view : window_.views_) {
    if (view->Available(ViewCommand::Stop)) view->Run(ViewCommand::Stop, false);
  }
  if (wmi::HostKey(host) != wmi::HostKey(client.Host)) {
    // Each computer gets its own user name and password, or none: never the ones of this one.
    window_.credentials_.Remember(client.Host, client.User, client.Password);
    Credentials own = window_.credentials_.For(host);
    client.SetHost(HostForConnection(host));
    client.User = own.user;
    dialogs::win32::WipeText(client.Password);
    client.Password = own.password;
  }
  client.SetNamespace(nameSpace);
  if (dialogs::win32::ConnectDialog* form = window_.connectDialog_; form && form->Handle()) {
    util::AddToHistory(form->HostCombo(), client.Host);
    util::AddToHistory(form->wmiPathCombo(), client.Namespace);
  }
  for (View* view : window_.views_) view->ConnectionChanged();
}

bool MainWindow::OnMenuCommand(int id) {
  switch (id) {
    case kCmdConnect: {
      if (!connectDialog_ || !wmiClient_) return true;
      dialogs::win32::ConnectDialog& form = *connectDialog_;
      form.HostCombo().SetEditText(wmiClient_->Host);
      form.wmiPathCombo().SetEditText(wmiClient_->Namespace);
      form.SetUserText(wmiClient_->User);
      form.SetPasswordText(wmiClient_->Password);
      if (form.ShowModal() != IDOK) return true;
      ConnectFields taken =
          TakeConnectFields({form.HostCombo().EditText(), form.wmiPathCombo().EditText(),
                             form.UserText(), form.PasswordText()});
      // What runs came from the old connection.
      for (View* view : views_) {
        if (view->Available(ViewCommand::Stop)) view->Run(ViewCommand::Stop, false);
      }
      credentials_.Remember(wmiClient_->Host, wmiClient_->User, wmiClient_->Password);
      wmiClient_->SetHost(HostForConnection(taken.host));
      wmiClient_->SetNamespace(taken.nameSpace);
      wmiClient_->User = taken.user;
      dialogs::win32::WipeText(wmiClient_->Password);
      wmiClient_->Password = taken.password;
      dialogs::win32::WipeText(taken.password);
      for (View* view : views_) view->ConnectionChanged();
      return true;
    }
    case kCmdExit:
      PostMessageW(Handle(), WM_CLOSE, 0, 0);
      return true;
    case kCmdFindClassEverywhere:
      OpenClassSearch();
      return true;
    case kCmdExecuteMethod:
    case kCmdExecuteClassMethod:
      OpenMethodDialog(id == kCmdExecuteClassMethod);
      return true;
    case kCmdNextTab:
    case kCmdPreviousTab: {
      const int count = TabCtrl_GetItemCount(tabs_);
      if (count <= 1) return true;
      SelectTab((ActiveTab() + (id == kCmdPreviousTab ? count - 1 : 1)) % count);
      OnTabChanged();  // a choice of the user, like a click on the tab
      return true;
    }
    case kCmdHelp:
      if (help_) help_->ShowHelpTopic(util::StartPageTopic(help_->HelpFile()), Handle());
      return true;
    case kCmdHomePage: {
      DWORD error = 0;
      if (!dialogs::win32::ShellOpen(Handle(), util::kHomePageUrl, error)) {
        dialogs::win32::ShowPlainMessage(
            Handle(), "Error: " + wmi::win32::SystemErrorText(static_cast<int32_t>(error)));
      }
      return true;
    }
    case kCmdSupport: {
      DWORD error = 0;
      if (!dialogs::win32::ShellOpen(Handle(), SupportMailLink(RunningWindowsVersion()), error))
        host_->ShowError(wmi::win32::SystemErrorText(static_cast<int32_t>(error)));
      return true;
    }
    case kCmdAbout:
      dialogs::win32::ShowAboutBox(Handle(), 0);
      return true;
    default:
      return false;
  }
}

}  // namespace brevane::app::win32
