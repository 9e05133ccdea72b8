#pragma once
// The application's message loop. Keyboard shortcuts go through the accelerator table of the
// main window (for messages aimed at the main window or its children); the modeless windows of
// another component (the help viewer) see what is left before it is dispatched.
#include <windows.h>

#include <functional>

namespace brevane::framework::win32 {

// True when it took the message.
using MessageFilter = std::function<bool(MSG&)>;

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop(HWND mainWindow, HACCEL accelerators, const MessageFilter& filter = {});

// Lets pending messages be processed (paint, input, the loader's steps), without blocking.
// Returns false when WM_QUIT was seen (it is posted again for the main loop).
bool ProcessPendingMessages(HWND mainWindow, HACCEL accelerators);

}  // namespace brevane::framework::win32
