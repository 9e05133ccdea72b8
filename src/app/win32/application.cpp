#include "app/win32/application.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/win32/main_window.h"
#include "framework/win32/encoding.h"
#include "framework/win32/message_loop.h"

namespace brevane::app {

int RunApplication(HINSTANCE instance, int showCmd, wmi::Backend& backend) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                   ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);

  // HOOK (help access): locate and load the HTML Help control and choose the help file here,
  // before any window exists; it reports nothing at this time.

  std::vector<std::string> arguments = CommandLineArguments(win32::WideToUtf8(GetCommandLineW()));
  TMainWin mainWin(instance, backend, std::move(arguments));
  if (!mainWin.Create(showCmd)) return 1;

  win32::ModelessDialogs modelessDialogs;
  // HOOK (dialogs): create the connect dialog (TConnectForm), then the find dialog
  // (TFindDialog), here, after the main window; both live until RunApplication returns. A
  // modeless dialog registers with modelessDialogs for its keyboard handling.

  const int exitCode =
      win32::RunMessageLoop(mainWin.Handle(), mainWin.Accelerators(), &modelessDialogs);

  // HOOK (help access): unload the HTML Help control here.
  return exitCode;
}

}  // namespace brevane::app
