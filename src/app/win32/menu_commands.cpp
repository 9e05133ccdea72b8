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

void TMainWin::Connecttoremotehost1Click() {
  if (!ConnectForm || !Wmi) return;
  dialogs::win32::TConnectForm& form = *ConnectForm;
  form.HostCombo().SetEditText(Wmi->Host);
  form.wmiPathCombo().SetEditText(Wmi->Namespace);
  form.SetUserText(Wmi->User);
  form.SetPasswordText(Wmi->Password);
  if (form.ShowModal() != IDOK) return;

  ConnectFields taken =
      TakeConnectFields({form.HostCombo().EditText(), form.wmiPathCombo().EditText(),
                         form.UserText(), form.PasswordText()});
  StopQuery();  // its rows came from the old connection
  Wmi->SetHost(HostForConnection(taken.host));
  Wmi->SetNamespace(taken.nameSpace);
  Wmi->User = taken.user;
  dialogs::win32::WipeText(Wmi->Password);
  Wmi->Password = taken.password;
  dialogs::win32::WipeText(taken.password);
  LoadClasses();
}

void TMainWin::Hideclasseswithnoinstances1Click() {
  // The item's check mark is the opposite of HideEmptyClasses; the item may not be in the
  // menu at all, so the field carries the state.
  HideEmptyClasses = !HideEmptyClasses;
  if (HMENU menu = GetMenu(Handle())) {
    CheckMenuItem(menu, kCmdHideclasseswithnoinstances1,
                  MF_BYCOMMAND | (HideEmptyClasses ? MF_UNCHECKED : MF_CHECKED));
  }
  LoadClasses();
}

void TMainWin::Help2Click() {
  if (!Help) return;
  Help->ShowHelpTopic(util::StartPageTopic(Help->HelpFile()), Handle());
}

void TMainWin::Homepage1Click() {
  DWORD error = 0;
  if (!dialogs::win32::ShellOpen(Handle(), util::kHomePageUrl, error)) {
    dialogs::win32::ShowPlainMessage(
        Handle(), "Error: " + wmi::win32::SystemErrorText(static_cast<int32_t>(error)));
  }
}

void TMainWin::Support1Click() {
  DWORD error = 0;
  if (!dialogs::win32::ShellOpen(Handle(), SupportMailLink(RunningWindowsVersion()), error)) {
    ShowError(wmi::win32::SystemErrorText(static_cast<int32_t>(error)));
  }
}

void TMainWin::About1Click() {
  dialogs::win32::ShowAboutBox(Handle(), 0);
}

}  // namespace brevane::app::win32
