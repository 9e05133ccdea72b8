#include "wmi/win32/com_failure.h"

#include <oleauto.h>
#include <wbemidl.h>

#include <memory>

#include "framework/com_ref.h"
#include "framework/win32/com_bstr.h"
#include "framework/win32/encoding.h"
#include "wmi/wmi_error.h"
#include "wmi/wmi_error_text.h"

namespace brevane::wmi::win32 {

namespace {

using brevane::framework::ComRef;
using brevane::framework::win32::Bstr;

struct LocalFreeDeleter {
  void operator()(wchar_t* p) const { LocalFree(p); }
};

bool IsWmiStatus(HRESULT hr) {
  const auto code = static_cast<uint32_t>(hr);
  return (code & 0xFFFFF000u) == 0x80041000u || (code & 0xFFFFF000u) == 0x80042000u ||
         (code & 0xFFFFF000u) == 0x80044000u;
}

std::string PendingDescription() {
  ComRef<IErrorInfo> info;
  if (GetErrorInfo(0, info.Receive()) != S_OK || !info) return {};
  Bstr description;
  if (FAILED(info->GetDescription(description.Receive()))) return {};
  return description.ToUtf8();
}

std::string WmiCodeText(HRESULT hr) {
  ComRef<IWbemStatusCodeText> statusText;
  if (FAILED(CoCreateInstance(CLSID_WbemStatusCodeText, nullptr, CLSCTX_INPROC_SERVER,
                              __uuidof(IWbemStatusCodeText), statusText.ReceiveVoid()))) {
    return {};
  }
  Bstr text;
  if (FAILED(statusText->GetErrorCodeText(hr, 0, 0, text.Receive()))) return {};
  return text.ToUtf8();
}

std::string SystemMessage(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, LocalFreeDeleter> owned(buffer);
  if (length == 0 || !buffer) return {};
  return brevane::framework::win32::WideToUtf8(std::wstring_view(buffer, length));
}

std::string CodeText(HRESULT hr) {
  if (IsWmiStatus(hr)) {
    std::string text = WmiCodeText(hr);
    if (!CleanErrorDescription(text).empty() && !IsPlaceholderErrorText(text)) return text;
  }
  return SystemMessage(hr);
}

}  // namespace

void ClearComErrorInfo() {
  SetErrorInfo(0, nullptr);
}

std::string ComFailureText(HRESULT hr) {
  const std::string description = PendingDescription();
  return ComposeFailureText(hr, description, CodeText(hr));
}

std::string SystemFailureText(HRESULT hr) {
  return ComposeFailureText(hr, {}, CodeText(hr));
}

void ThrowComFailure(HRESULT hr) {
  throw WmiError(hr, ComFailureText(hr));
}

void ThrowRefused(HRESULT hr) {
  throw WmiError(hr, SystemFailureText(hr));
}

}  // namespace brevane::wmi::win32
