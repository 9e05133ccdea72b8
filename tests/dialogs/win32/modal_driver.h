#pragma once
// Runs steps on the test's own UI thread while a modal dialog's loop is running, and finds
// the dialogs and message boxes that the code under test opens.
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/win32/control_adapters.h"

namespace brevane::testing {

// The lines of a combo box's list.
inline std::vector<std::string> ComboItems(util::ComboBoxControl& combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo.ItemCount(); ++i) items.push_back(combo.ItemText(i));
  return items;
}

class ModalDriver {
 public:
  ModalDriver() { Current() = this; }
  ~ModalDriver() {
    for (const auto& entry : steps_) KillTimer(nullptr, entry.first);
    Current() = nullptr;
  }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  // Runs step once, delayMs after the next message loop starts waiting.
  void After(UINT delayMs, std::function<void()> step) {
    const UINT_PTR id = SetTimer(nullptr, 0, delayMs, &ModalDriver::OnTimer);
    if (id != 0) steps_[id] = std::move(step);
  }

 private:
  static ModalDriver*& Current() {
    static thread_local ModalDriver* current = nullptr;
    return current;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ModalDriver* self = Current();
    if (!self) return;
    auto found = self->steps_.find(id);
    if (found == self->steps_.end()) return;
    auto step = std::move(found->second);
    self->steps_.erase(found);
    step();
  }
  std::map<UINT_PTR, std::function<void()>> steps_;
};

// Visible dialog-class windows of this thread other than except.
inline std::vector<HWND> ThreadDialogs(HWND except = nullptr) {
  struct Search {
    HWND except;
    std::vector<HWND> found;
  } search{except, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (window != s->except && IsWindowVisible(window) && std::wstring(name) == L"#32770") {
          s->found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The text of a message box (its static with id 0xFFFF).
inline std::string MessageBoxText(HWND box) {
  return framework::win32::GetWindowTextUtf8(GetDlgItem(box, 0xFFFF));
}

inline void Click(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace brevane::testing
