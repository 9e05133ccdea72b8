#include "app/win32/application.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/win32/main_window.h"
#include "dialogs/win32/connect_form.h"
#include "dialogs/win32/find_dialog.h"
#include "dialogs/win32/secret_text.h"
#include "framework/win32/encoding.h"
#include "framework/win32/message_loop.h"
#include "util/win32/help_access.h"

namespace brevane::app {

int RunApplication(HINSTANCE instance, int showCmd, std::shared_ptr<wmi::Backend> backend) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                   ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);

  // Before any window exists; failures are reported only when the user asks for help. It is
  // declared first so that the control is unloaded after every window is gone.
  help::HelpAccess helpAccess;
  helpAccess.LoadHtmlHelp();
  helpAccess.LocateHelpFile();

  std::vector<std::string> arguments = CommandLineArguments(win32::WideToUtf8(GetCommandLineW()));
  TMainWin mainWin(instance, std::move(backend), std::move(arguments));
  if (!mainWin.Create(showCmd)) {
    MessageBoxW(nullptr, L"The main window could not be created.", L"Brevane",
                MB_OK | MB_ICONERROR);
    return 1;
  }

  win32::ModelessDialogs modelessDialogs;
  // Created once, after the main window, and kept hidden between their modal showings (they
  // run their own modal loops, so they need no modeless keyboard handling here). The first
  // activation, which loads their histories, runs from the message loop, after this.
  dialogs::win32::TConnectForm connectForm;
  connectForm.Create(mainWin.Handle());
  dialogs::win32::TFindDialog findDialog;
  findDialog.Create(mainWin.Handle());
  mainWin.ConnectForm = &connectForm;
  mainWin.FindDialog = &findDialog;
  mainWin.Help = &helpAccess;

  const int exitCode =
      win32::RunMessageLoop(mainWin.Handle(), mainWin.Accelerators(), &modelessDialogs);

  // The password the client kept does not outlive the run in freed memory.
  if (mainWin.Wmi) dialogs::win32::WipeText(mainWin.Wmi->Password);
  mainWin.ConnectForm = nullptr;
  mainWin.FindDialog = nullptr;
  mainWin.Help = nullptr;
  return exitCode;
}

}  // namespace brevane::app
