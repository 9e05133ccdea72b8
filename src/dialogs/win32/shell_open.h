#pragma once
// Handing a web or mail link to the shell.
#include <windows.h>

#include <string>

namespace brevane::dialogs::win32 {

// Asks the shell to "open" target. On failure returns false and sets errorCode to the
// failure's Windows error code (ShellFailureCode), never to 0.
bool ShellOpen(HWND owner, const std::string& target, DWORD& errorCode);

// A plain message box (no icon, OK) with text.
void ShowPlainMessage(HWND owner, const std::string& text);

}  // namespace brevane::dialogs::win32
