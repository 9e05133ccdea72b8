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
#include "framework/win32/help_access.h"
#include "framework/win32/message_box.h"
#include "framework/win32/message_loop.h"
#include "wmi/win32/system_error_text.h"

namespace brevane::app::win32 {

namespace {

std::string DialogFailure(const char* caption) {
  const DWORD error = GetLastError();
  std::string text = std::string("The dialog \"") + caption + "\" could not be created";
  if (error != ERROR_SUCCESS)
    text += ": " + wmi::win32::SystemErrorText(static_cast<int32_t>(error));
  return text;
}

}  // namespace

RunDialogs CreateRunDialogs(HWND owner, dialogs::win32::ConnectDialog& connectForm,
                            dialogs::win32::FindDialog& findDialog) {
  RunDialogs created;
  SetLastError(ERROR_SUCCESS);
  if (connectForm.Create(owner)) {
    created.connectForm = &connectForm;
  } else {
    created.failures.push_back(DialogFailure("连接到"));
  }
  SetLastError(ERROR_SUCCESS);
  if (findDialog.Create(owner)) {
    created.findDialog = &findDialog;
  } else {
    created.failures.push_back(DialogFailure("查找"));
  }
  return created;
}

int RunApplication(HINSTANCE instance, int showCmd, std::shared_ptr<wmi::Backend> backend) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                   ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);

  // Before any window exists; failures are reported only when the user asks for help. It is
  // declared first so that the help system is shut down after every window is gone.
  framework::win32::HelpAccess helpAccess;
  helpAccess.LoadHtmlHelp();
  helpAccess.LocateHelpFile();

  std::vector<std::string> arguments =
      CommandLineArguments(framework::win32::WideToUtf8(GetCommandLineW()));
  MainWindow mainWin(instance, std::move(backend), std::move(arguments));
  if (!mainWin.Create(showCmd)) {
    framework::win32::ShowMessageBox(nullptr, "The main window could not be created.",
                                     MB_OK | MB_ICONERROR);
    return 1;
  }

  // Created once, after the main window, and kept hidden between their modal showings (they
  // run their own modal loops, so they need no modeless keyboard handling here). The first
  // activation, which loads their histories, runs from the message loop, after this.
  dialogs::win32::ConnectDialog connectForm;
  dialogs::win32::FindDialog findDialog;
  const RunDialogs dialogs = CreateRunDialogs(mainWin.Handle(), connectForm, findDialog);
  for (const std::string& failure : dialogs.failures) {
    framework::win32::ShowMessageBox(mainWin.Handle(), failure, MB_OK | MB_ICONERROR);
  }
  mainWin.AttachDialogs(dialogs.connectForm, dialogs.findDialog, &helpAccess);

  const int exitCode = framework::win32::RunMessageLoop(
      mainWin.Handle(), mainWin.Accelerators(), [&helpAccess, &mainWin](MSG& message) {
        return helpAccess.PreTranslateMessage(message) ||
               mainWin.PreTranslateDialogMessage(message);
      });

  // The password the client kept does not outlive the run in freed memory.
  mainWin.ForgetPassword();
  mainWin.AttachDialogs(nullptr, nullptr, nullptr);
  if (mainWin.WorkersLeftBehind()) {
    // A worker is still inside a WMI call. The histories and the placement are saved by now;
    // leaving the normal way would release its proxies under it, race its apartment's end
    // with ours and run DLL detach code that can deadlock on the loader lock.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
  }
  return exitCode;
}

}  // namespace brevane::app::win32
