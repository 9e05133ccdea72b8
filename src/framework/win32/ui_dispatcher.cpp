#include "framework/win32/ui_dispatcher.h"

namespace brevane::win32 {

namespace {
constexpr wchar_t kClassName[] = L"BrevaneUiDispatcher";
constexpr UINT kRunSteps = WM_APP + 1;
}  // namespace

UiDispatcher::UiDispatcher() : uiThread_(GetCurrentThreadId()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &UiDispatcher::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
  window_ =
      CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

UiDispatcher::~UiDispatcher() {
  queue_.Close();
  if (window_ && GetCurrentThreadId() == uiThread_) DestroyWindow(window_);
}

bool UiDispatcher::Post(std::function<void()> step) {
  bool wasEmpty = false;
  if (!queue_.Post(std::move(step), &wasEmpty)) return false;
  // One wake message per batch of steps: the handler drains everything queued so far. A wake
  // that could not be sent is tried again with the next step.
  if (!wasEmpty && !wakeLost_.exchange(false)) return true;
  if (Wake()) return true;
  wakeLost_ = true;
  return false;
}

bool UiDispatcher::Wake() {
  if (PostMessageW(window_, kRunSteps, 0, 0)) return true;
  // The thread's queue of posted messages is full (10 000 by default). A notification sent
  // from another thread does not count against that limit and is handled as soon as the UI
  // thread reads messages; sent from the UI thread itself it would run the steps at once,
  // inside the caller.
  if (GetCurrentThreadId() == uiThread_) return false;
  return SendNotifyMessageW(window_, kRunSteps, 0, 0) != FALSE;
}

void UiDispatcher::Close() {
  queue_.Close();
  if (window_) {
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

LRESULT CALLBACK UiDispatcher::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == kRunSteps) {
    if (auto* self = reinterpret_cast<UiDispatcher*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      self->queue_.RunPending();
    }
    return 0;
  } else if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace brevane::win32
