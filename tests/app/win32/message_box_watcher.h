#pragma once
// Presses OK on every message box this process shows, from a thread of its own, and keeps
// their texts.
#include <windows.h>

#include <chrono>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "framework/win32/encoding.h"
#include "framework/win32/control_adapters.h"

namespace brevane::app::win32 {

class MessageBoxWatcher {
 public:
  MessageBoxWatcher()
      : thread_([this](std::stop_token stop) {
          while (!stop.stop_requested()) {
            EnumWindows(&MessageBoxWatcher::Visit, reinterpret_cast<LPARAM>(this));
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
          }
        }) {}

  std::vector<std::string> Texts() {
    std::lock_guard lock(mutex_);
    return texts_;
  }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (process != GetCurrentProcessId() || std::wstring(className) != L"#32770" ||
        !IsWindowVisible(window)) {
      return TRUE;
    }
    auto* self = reinterpret_cast<MessageBoxWatcher*>(param);
    HWND text = GetDlgItem(window, 0xFFFF);
    {
      std::lock_guard lock(self->mutex_);
      self->texts_.push_back(text != nullptr ? framework::win32::GetWindowTextUtf8(text)
                                             : std::string());
    }
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
  }

  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::jthread thread_;
};

}  // namespace brevane::app::win32
