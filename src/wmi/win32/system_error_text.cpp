#include "wmi/win32/system_error_text.h"

#include <windows.h>

#include <array>

#include "framework/win32/encoding.h"
#include "wmi/system_error_fallback.h"

namespace brevane::wmi::win32 {

std::string SystemErrorText(int32_t code) {
  std::array<wchar_t, 512> buffer{};
  // FORMAT_MESSAGE_IGNORE_INSERTS: a message with "%1" and no arguments would otherwise read
  // arguments that were never passed.
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, static_cast<DWORD>(code), 0, buffer.data(),
                                      static_cast<DWORD>(buffer.size()), nullptr);
  if (length == 0 || length >= buffer.size()) return SystemErrorFallback(code);
  return TidySystemMessage(
      brevane::framework::win32::WideToUtf8(std::wstring_view(buffer.data(), length)));
}

}  // namespace brevane::wmi::win32
