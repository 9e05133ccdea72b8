#pragma once
// The security of WMI connections: the process-wide defaults, and the identity and
// authentication level that every proxy of one connection (the services and each enumerator
// they return) must carry.
#include <windows.h>
#include <objbase.h>

#include <string>
#include <string_view>

namespace brevane::wmi::win32 {

// Once per process, after the main thread joined its apartment and before any WMI call:
// impersonation by default. Returns S_OK when security was already set (RPC_E_TOO_LATE).
HRESULT InitializeComSecurity();

// True for the host texts that name this computer without going through the network.
bool IsLocalHost(std::string_view host);

// The credentials a connection's proxies present. For a remote computer with a user name they
// are that user ("DOMAIN\user" split at the first backslash) at packet-privacy level; otherwise
// the process's own token. Proxies point into this object, so it must outlive them; it wipes
// its copy of the password when destroyed.
class ConnectionIdentity {
 public:
  ConnectionIdentity(std::string_view user, std::string_view password, bool remote);
  ~ConnectionIdentity();
  ConnectionIdentity(const ConnectionIdentity&) = delete;
  ConnectionIdentity& operator=(const ConnectionIdentity&) = delete;

  bool UsesExplicitCredentials() const { return explicit_; }
  DWORD AuthenticationLevel() const;
  const std::wstring& Domain() const { return domain_; }
  const std::wstring& UserName() const { return userName_; }

  // Sets the proxy blanket on proxy. Objects that are not proxies (in-process servers) accept
  // no blanket, which is no failure. Throws WmiError otherwise.
  void Secure(IUnknown* proxy) const;

 private:
  std::wstring domain_;
  std::wstring userName_;
  std::wstring password_;
  COAUTHIDENTITY identity_{};
  bool explicit_ = false;
};

}  // namespace brevane::wmi::win32
