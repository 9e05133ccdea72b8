#pragma once
// The base of our window classes: one window procedure per class that finds the object from
// the handle (stored at WM_NCCREATE) and hands each message to HandleMessage. No exception
// leaves a window procedure: a handler that throws is reported to the user instead.
#include <windows.h>

#include <functional>
#include <string>

namespace brevane::framework::win32 {

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND Handle() const { return hwnd_; }

 protected:
  WindowBase() = default;
  // Destroys the window if it still exists; HandleMessage is no longer called by then.
  virtual ~WindowBase();

  // Registers a window class whose procedure dispatches to HandleMessage (once per process;
  // registering an existing class is not an error).
  static bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon,
                                  HBRUSH background, UINT style = CS_HREDRAW | CS_VREDRAW);
  HWND CreateFor(HINSTANCE instance, const wchar_t* className, const std::wstring& caption,
                 DWORD style, DWORD exStyle, int x, int y, int width, int height, HWND parent,
                 HMENU menuOrId);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// Shows "Error: " and the exception's message in an error box owned by owner.
void ShowHandlerError(HWND owner, const std::exception& error);

// Runs a handler; an exception is shown as "Error: " and its message. False when it threw.
bool RunGuarded(HWND owner, const std::function<void()>& handler);

}  // namespace brevane::framework::win32
