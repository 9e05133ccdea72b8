#pragma once
// Turning a failing HRESULT into a WmiError with the text the user sees: the description that
// came with the failure, else the WMI or system text for the code, else our own table, else
// "OLE error XXXXXXXX" (the rules themselves are in wmi/wmi_error_text.h).
#include <windows.h>

#include <string>

namespace brevane::wmi::win32 {

// Forgets an error description left over from an earlier call, so that the next failure's text
// cannot come from someone else's failure. Call before a WMI call whose failure is reported.
void ClearComErrorInfo();

// The failure text of hr, taking the thread's pending error description if there is one.
std::string ComFailureText(HRESULT hr);

// The text of hr without an error description: the system's message, our table, "OLE error".
std::string SystemFailureText(HRESULT hr);

[[noreturn]] void ThrowComFailure(HRESULT hr);

inline void ThrowIfFailed(HRESULT hr) {
  if (FAILED(hr)) ThrowComFailure(hr);
}

// A failure of our own making, for requests that must not reach the platform (an empty path or
// namespace crashes some WMI implementations); worded as the platform would word hr.
[[noreturn]] void ThrowRefused(HRESULT hr);

}  // namespace brevane::wmi::win32
