#pragma once
// The system's own description of a Windows error code.
#include <cstdint>
#include <string>

namespace brevane::wmi::win32 {

// The system's message for code without its line break, or the fixed fallback text when the
// system has none (or none that fits 512 characters).
std::string SystemErrorText(int32_t code);

}  // namespace brevane::wmi::win32
