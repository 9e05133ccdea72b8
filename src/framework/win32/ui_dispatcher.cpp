#include "framework/win32/ui_dispatcher.h"

#include <chrono>
#include <utility>

namespace brevane::framework::win32 {

namespace {
constexpr wchar_t kClassName[] = L"BrevaneUiDispatcher";
constexpr UINT kRunSteps = WM_APP + 1;
constexpr UINT_PTR kTurnTimer = 1;
// Steps run for at most this long per turn before the dispatcher looks at the queue.
constexpr auto kTurnTime = std::chrono::milliseconds(8);

bool InputOrPaintWaiting() {
  return HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT)) != 0;
}
}  // namespace

UiDispatcher::UiDispatcher() : uiThread_(GetCurrentThreadId()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &UiDispatcher::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
  const HWND window =
      CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  std::lock_guard lock(windowLock_);
  window_ = window;
}

UiDispatcher::~UiDispatcher() {
  queue_.Close();
  const HWND window = TakeWindow();
  if (!window) return;
  if (GetCurrentThreadId() == uiThread_) {
    DestroyWindow(window);
    return;
  }
  // Only its own thread can destroy a window. A wake message or timer still on its way must
  // find no dispatcher behind the window; the window then closes itself on the UI thread.
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  PostMessageW(window, WM_CLOSE, 0, 0);
}

HWND UiDispatcher::TakeWindow() {
  std::lock_guard lock(windowLock_);
  return std::exchange(window_, nullptr);
}

bool UiDispatcher::Post(std::function<void()> step) {
  if (!queue_.Post(std::move(step))) return false;
  return RequestTurn();
}

bool UiDispatcher::RequestTurn() {
  if (turnRequested_.exchange(true)) return true;
  if (Wake()) return true;
  turnRequested_ = false;  // tried again with the next step
  return false;
}

bool UiDispatcher::Wake() {
  // Held while posting, which never waits for the UI thread: the window cannot go meanwhile.
  std::lock_guard lock(windowLock_);
  if (!window_) return false;
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
  if (const HWND window = TakeWindow()) DestroyWindow(window);
}

void UiDispatcher::RunTurn() {
  const auto start = std::chrono::steady_clock::now();
  const bool more = queue_.RunWhile([&] {
    return std::chrono::steady_clock::now() - start < kTurnTime && !InputOrPaintWaiting();
  });
  if (!more) return;
  // Posted messages come before input and painting; a timer message comes after them (and
  // needs no room in a full queue).
  if (InputOrPaintWaiting() || !RequestTurn()) {
    std::lock_guard lock(windowLock_);
    if (!window_) return;
    turnRequested_ = true;
    SetTimer(window_, kTurnTimer, USER_TIMER_MINIMUM, nullptr);
  }
}

LRESULT CALLBACK UiDispatcher::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == kRunSteps || (message == WM_TIMER && wParam == kTurnTimer)) {
    if (message == WM_TIMER) KillTimer(window, kTurnTimer);
    if (auto* self = reinterpret_cast<UiDispatcher*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      self->turnRequested_ = false;  // steps posted from now on need a new turn
      self->RunTurn();
    }
    return 0;
  } else if (message == WM_NCDESTROY) {
    // Destroyed by someone else (the system, when the UI thread ends): no wake may follow.
    if (auto* self = reinterpret_cast<UiDispatcher*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
      self->TakeWindow();
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace brevane::framework::win32
