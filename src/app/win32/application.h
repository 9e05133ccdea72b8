#pragma once
// The application: common controls, the main window, the dialogs that live for the whole
// run, and the message loop.
#include <windows.h>

#include <memory>

#include "wmi/wmi_api.h"

namespace brevane::app {

// Runs the program until the main window is closed; returns the process exit code.
int RunApplication(HINSTANCE instance, int showCmd, std::shared_ptr<wmi::Backend> backend);

}  // namespace brevane::app
