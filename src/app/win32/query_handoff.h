#pragma once
// The close-time hand-off of the query text to the monitoring program's window.
#include <windows.h>

#include <cstdint>
#include <string_view>

namespace brevane::app::win32 {

inline constexpr ULONG_PTR kQueryHandoffCode = 107355;
inline constexpr UINT kQueryHandoffTimeoutMs = 2000;

// The window handle a "-kt:" number stands for. Window handles carry 32 significant bits and
// are sign-extended to 64 bits, so a handle a 32-bit program printed as a negative number
// (or one with the top bit set) is the same window here.
HWND MonitorWindowHandle(int32_t value);

// Sends the query, in the ANSI code page with its terminating zero byte, as WM_COPYDATA.
// Returns whether the receiver handled it in time; a window that is gone or hung costs at
// most the time-out and is not reported.
bool SendQueryHandoff(HWND from, HWND monitor, std::string_view utf8Query) noexcept;

}  // namespace brevane::app::win32
