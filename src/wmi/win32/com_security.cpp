#include "wmi/win32/com_security.h"

#include "framework/com_ref.h"
#include "framework/win32/encoding.h"
#include "util/text.h"
#include "wmi/win32/com_failure.h"

namespace brevane::wmi::win32 {

using brevane::framework::win32::Utf8ToWide;

HRESULT InitializeComSecurity() {
  const HRESULT hr = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                          RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  return hr == RPC_E_TOO_LATE ? S_OK : hr;
}

bool IsLocalHost(std::string_view host) {
  const std::string name = util::AsciiLower(host);
  return name.empty() || name == "." || name == "localhost";
}

ProxySecurity ChooseProxySecurity(bool remote, bool hasUser) {
  const bool explicitIdentity = remote && hasUser;
  return {remote ? static_cast<DWORD>(RPC_C_AUTHN_LEVEL_PKT_PRIVACY)
                 : static_cast<DWORD>(RPC_C_AUTHN_LEVEL_CALL),
          explicitIdentity, explicitIdentity};
}

bool PasswordIsNull(std::string_view user, std::string_view password) {
  return user.empty() && password.empty();
}

ConnectionIdentity::ConnectionIdentity(std::string_view user, std::string_view password,
                                       bool remote)
    : security_(ChooseProxySecurity(remote, !user.empty())) {
  if (!security_.explicitIdentity) return;
  const std::wstring wideUser = Utf8ToWide(user);
  if (const size_t slash = wideUser.find(L'\\'); slash != std::wstring::npos) {
    domain_ = wideUser.substr(0, slash);
    userName_ = wideUser.substr(slash + 1);
  } else {
    userName_ = wideUser;
  }
  std::wstring converted = Utf8ToWide(password);
  password_ = converted;
  SecureZeroMemory(converted.data(), converted.capacity() * sizeof(wchar_t));
  identity_.User = reinterpret_cast<USHORT*>(userName_.data());
  identity_.UserLength = static_cast<ULONG>(userName_.size());
  identity_.Domain = reinterpret_cast<USHORT*>(domain_.data());
  identity_.DomainLength = static_cast<ULONG>(domain_.size());
  identity_.Password = reinterpret_cast<USHORT*>(password_.data());
  identity_.PasswordLength = static_cast<ULONG>(password_.size());
  identity_.Flags = SEC_WINNT_AUTH_IDENTITY_UNICODE;
}

ConnectionIdentity::~ConnectionIdentity() {
  SecureZeroMemory(password_.data(), password_.capacity() * sizeof(wchar_t));
}

HRESULT ConnectionIdentity::SetBlanket(IUnknown* proxy) const {
  return CoSetProxyBlanket(
      proxy, RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT, COLE_DEFAULT_PRINCIPAL,
      security_.authenticationLevel, RPC_C_IMP_LEVEL_IMPERSONATE,
      security_.explicitIdentity ? const_cast<COAUTHIDENTITY*>(&identity_) : nullptr, EOAC_NONE);
}

void ConnectionIdentity::Secure(IUnknown* proxy) const {
  if (!proxy) return;
  const HRESULT hr = SetBlanket(proxy);
  if (hr == E_NOINTERFACE) return;
  ThrowIfFailed(hr);
  if (!security_.secureUnknown) return;
  framework::ComRef<IUnknown> unknown;
  if (FAILED(proxy->QueryInterface(IID_IUnknown, unknown.ReceiveVoid())) || !unknown) return;
  const HRESULT unknownHr = SetBlanket(unknown.Get());
  if (unknownHr != E_NOINTERFACE) ThrowIfFailed(unknownHr);
}

}  // namespace brevane::wmi::win32
