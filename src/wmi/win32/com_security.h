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

// How the proxies of one connection are secured.
struct ProxySecurity {
  DWORD authenticationLevel;
  // The user's own credentials rather than the process's token.
  bool explicitIdentity;
  // The blanket goes on each proxy's IUnknown too: with explicit credentials, COM otherwise
  // releases the proxy under the process's identity, which the remote computer refuses only
  // after a time-out.
  bool secureUnknown;
};

// Every connection to another computer is encrypted (packet privacy): some namespaces refuse
// anything less, whoever connects. Local connections use per-call authentication.
ProxySecurity ChooseProxySecurity(bool remote, bool hasUser);

// What ConnectServer gets for the password: null means "the current identity", so a user name
// with an empty password passes an empty password, not null. Without a user name an empty
// password is null.
bool PasswordIsNull(std::string_view user, std::string_view password);

// The credentials a connection's proxies present (see ChooseProxySecurity). For a remote
// computer with a user name they are that user ("DOMAIN\user" split at the first backslash);
// otherwise the process's own token. Proxies point into this object, so it must outlive them;
// it wipes its copy of the password when destroyed.
class ConnectionIdentity {
 public:
  ConnectionIdentity(std::string_view user, std::string_view password, bool remote);
  ~ConnectionIdentity();
  ConnectionIdentity(const ConnectionIdentity&) = delete;
  ConnectionIdentity& operator=(const ConnectionIdentity&) = delete;

  bool UsesExplicitCredentials() const { return security_.explicitIdentity; }
  DWORD AuthenticationLevel() const { return security_.authenticationLevel; }
  const std::wstring& Domain() const { return domain_; }
  const std::wstring& UserName() const { return userName_; }

  // Sets the proxy blanket on proxy (and on its IUnknown where that is needed). Objects that
  // are not proxies (in-process servers) accept no blanket, which is no failure. Throws
  // WmiError otherwise.
  void Secure(IUnknown* proxy) const;

 private:
  HRESULT SetBlanket(IUnknown* proxy) const;

  std::wstring domain_;
  std::wstring userName_;
  std::wstring password_;
  COAUTHIDENTITY identity_{};
  ProxySecurity security_;
};

}  // namespace brevane::wmi::win32
