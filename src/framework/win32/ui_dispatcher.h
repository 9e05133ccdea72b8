#pragma once
// The UI thread's side of MainThreadDispatcher: a hidden message-only window that runs the
// posted steps whenever the UI thread handles messages (also inside message boxes and other
// modal loops). Each turn runs for a bounded time; when input or painting waits, the next turn
// comes on a timer, which the system delivers only after them, so a flood of steps from a
// worker never starves the keyboard, the mouse or the screen.
#include <windows.h>

#include <atomic>
#include <mutex>

#include "framework/main_thread.h"
#include "framework/step_queue.h"

namespace brevane::framework::win32 {

class UiDispatcher final : public MainThreadDispatcher {
 public:
  // Creates the hidden window on the calling thread, which becomes the UI thread.
  UiDispatcher();
  // Destroys the hidden window when it runs on the UI thread. The last owner may be a worker:
  // then the window is cut off from this object and left for the UI thread to close.
  ~UiDispatcher() override;
  UiDispatcher(const UiDispatcher&) = delete;
  UiDispatcher& operator=(const UiDispatcher&) = delete;

  // False also when the UI thread could not be woken: the step stays queued and runs after
  // the next wake that gets through (the next Post tries again).
  bool Post(std::function<void()> step) override;
  // UI thread: drops what is queued, refuses new steps and destroys the hidden window.
  void Close();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void RunTurn();
  // Posts the wake message unless one is already on its way: one message per turn, however
  // many steps arrive meanwhile, so that the message queue never fills with wake messages
  // ahead of the user's input. False when no wake could be sent.
  bool RequestTurn();
  bool Wake();
  // Takes the window away from the workers; afterwards no wake reaches it.
  HWND TakeWindow();

  StepQueue queue_;
  const DWORD uiThread_;
  // Workers read the window's handle to wake the UI thread. It is cleared under the lock by
  // the UI thread alone (Close, the window's own destruction) or by the destructor, which no
  // other user can race; a wake therefore never goes to a window being destroyed, nor to a
  // handle that the system has reused for another window.
  std::mutex windowLock_;
  HWND window_ = nullptr;
  std::atomic<bool> turnRequested_{false};
};

}  // namespace brevane::framework::win32
