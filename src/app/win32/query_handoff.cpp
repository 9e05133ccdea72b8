#include "app/win32/query_handoff.h"

#include <string>

#include "framework/win32/encoding.h"

namespace brevane::app::win32 {

HWND MonitorWindowHandle(int32_t value) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(value));
}

bool SendQueryHandoff(HWND from, HWND monitor, std::string_view utf8Query) noexcept {
  try {
    if (!monitor || !IsWindow(monitor)) return false;
    std::string bytes = framework::win32::Utf8ToAnsi(utf8Query);
    if (bytes.size() >= MAXDWORD) return false;
    bytes.push_back('\0');
    COPYDATASTRUCT data{};
    data.dwData = kQueryHandoffCode;
    data.cbData = static_cast<DWORD>(bytes.size());
    data.lpData = bytes.data();
    DWORD_PTR reply = 0;
    return SendMessageTimeoutA(monitor, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                               reinterpret_cast<LPARAM>(&data), SMTO_BLOCK, kQueryHandoffTimeoutMs,
                               &reply) != 0;
  } catch (...) {
    return false;
  }
}

}  // namespace brevane::app::win32
