#pragma once
// The application: common controls, the main window, the dialogs that live for the whole
// run, and the message loop.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "wmi/wmi_api.h"

namespace brevane::dialogs::win32 {
class TConnectForm;
class TFindDialog;
}  // namespace brevane::dialogs::win32

namespace brevane::app::win32 {

// The dialogs that live for the whole run, those that could be created; a command whose
// dialog is missing does nothing, and the user was told why at the start.
struct RunDialogs {
  dialogs::win32::TConnectForm* connectForm = nullptr;
  dialogs::win32::TFindDialog* findDialog = nullptr;
  std::vector<std::string> failures;  // one text per dialog that could not be created
};
RunDialogs CreateRunDialogs(HWND owner, dialogs::win32::TConnectForm& connectForm,
                            dialogs::win32::TFindDialog& findDialog);

// Runs the program until the main window is closed; returns the process exit code.
int RunApplication(HINSTANCE instance, int showCmd, std::shared_ptr<wmi::Backend> backend);

}  // namespace brevane::app::win32
