#include "framework/win32/window_base.h"

#include <exception>
#include <stdexcept>

#include "framework/win32/message_box.h"

namespace brevane::framework::win32 {

WindowBase::~WindowBase() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    HWND window = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(window);
  }
}

bool WindowBase::RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon,
                                     HBRUSH background, UINT style) {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, className, &wc)) return true;
  wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = &WindowBase::WindowProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0;
}

HWND WindowBase::CreateFor(HINSTANCE instance, const wchar_t* className,
                           const std::wstring& caption, DWORD style, DWORD exStyle, int x, int y,
                           int width, int height, HWND parent, HMENU menuOrId) {
  return CreateWindowExW(exStyle, className, caption.c_str(), style, x, y, width, height, parent,
                         menuOrId, instance, this);
}

LRESULT CALLBACK WindowBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    self = static_cast<WindowBase*>(create->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    ShowHandlerError(window, error);
  } catch (...) {
    ShowHandlerError(window, std::runtime_error("unexpected failure"));
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

void ShowHandlerError(HWND owner, const std::exception& error) {
  try {
    ShowMessageBox(owner, std::string("Error: ") + error.what(), MB_OK | MB_ICONERROR);
  } catch (...) {
    ShowMessageBox(owner, "Error", MB_OK | MB_ICONERROR);
  }
}

bool RunGuarded(HWND owner, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    ShowHandlerError(owner, error);
  } catch (...) {
    ShowHandlerError(owner, std::runtime_error("unexpected failure"));
  }
  return false;
}

}  // namespace brevane::framework::win32
