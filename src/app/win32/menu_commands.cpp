// The remaining menu commands: connect, help, home page, support mail, about, and the hidden
// filter item of the class list.
#include <windows.h>

#include "app/connect_fields.h"
#include "app/connect_host.h"
#include "app/support_mail.h"
#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "app/win32/windows_version.h"
#include "dialogs/win32/about_box.h"
#include "dialogs/win32/connect_form.h"
#include "dialogs/win32/secret_text.h"
#include "dialogs/win32/shell_open.h"
#include "framework/win32/help_access.h"
#include "util/help_texts.h"
#include "util/product_info.h"
#include "wmi/win32/system_error_text.h"

namespace brevane::app::win32 {

void MainWindow::OnConnect() {
  if (!connectDialog_ || !wmiClient_) return;
  dialogs::win32::ConnectDialog& form = *connectDialog_;
  form.HostCombo().SetEditText(wmiClient_->Host);
  form.wmiPathCombo().SetEditText(wmiClient_->Namespace);
  form.SetUserText(wmiClient_->User);
  form.SetPasswordText(wmiClient_->Password);
  if (form.ShowModal() != IDOK) return;

  ConnectFields taken =
      TakeConnectFields({form.HostCombo().EditText(), form.wmiPathCombo().EditText(),
                         form.UserText(), form.PasswordText()});
  StopQuery();  // its rows came from the old connection
  wmiClient_->SetHost(HostForConnection(taken.host));
  wmiClient_->SetNamespace(taken.nameSpace);
  wmiClient_->User = taken.user;
  dialogs::win32::WipeText(wmiClient_->Password);
  wmiClient_->Password = taken.password;
  dialogs::win32::WipeText(taken.password);
  LoadClasses();
}

void MainWindow::OnHideEmptyClasses() {
  // The item's check mark is the opposite of hideEmptyClasses_; the item may not be in the
  // menu at all, so the field carries the state.
  hideEmptyClasses_ = !hideEmptyClasses_;
  if (HMENU menu = GetMenu(Handle())) {
    CheckMenuItem(menu, kCmdHideEmptyClasses,
                  MF_BYCOMMAND | (hideEmptyClasses_ ? MF_UNCHECKED : MF_CHECKED));
  }
  LoadClasses();
}

void MainWindow::OnHelp() {
  if (!help_) return;
  help_->ShowHelpTopic(util::StartPageTopic(help_->HelpFile()), Handle());
}

void MainWindow::OnHomePage() {
  DWORD error = 0;
  if (!dialogs::win32::ShellOpen(Handle(), util::kHomePageUrl, error)) {
    dialogs::win32::ShowPlainMessage(
        Handle(), "Error: " + wmi::win32::SystemErrorText(static_cast<int32_t>(error)));
  }
}

void MainWindow::OnSupport() {
  DWORD error = 0;
  if (!dialogs::win32::ShellOpen(Handle(), SupportMailLink(RunningWindowsVersion()), error)) {
    ShowError(wmi::win32::SystemErrorText(static_cast<int32_t>(error)));
  }
}

void MainWindow::OnAbout() {
  dialogs::win32::ShowAboutBox(Handle(), 0);
}

}  // namespace brevane::app::win32
