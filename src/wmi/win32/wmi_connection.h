#pragma once
// One connection to a WMI namespace: the services proxy and the identity its proxies carry.
// Shared by everything made from the connection (object sets, enumerators, objects), so that
// the services stay reachable for an object's instance walk and the identity outlives every
// proxy that points into it.
#include <wbemidl.h>

#include <string_view>

#include "framework/com_ref.h"
#include "wmi/win32/com_security.h"

namespace brevane::wmi::win32 {

class WmiConnection {
 public:
  WmiConnection(std::string_view user, std::string_view password, bool remote)
      : identity_(user, password, remote) {}
  WmiConnection(const WmiConnection&) = delete;
  WmiConnection& operator=(const WmiConnection&) = delete;

  // Takes the services of a successful ConnectServer and secures them. Throws WmiError.
  void TakeServices(framework::ComRef<IWbemServices> services) {
    identity_.Secure(services.Get());
    services_ = std::move(services);
  }
  IWbemServices* Services() const { return services_.Get(); }
  // Every enumerator the services return is a proxy of its own and needs the same security.
  void Secure(IUnknown* proxy) const { identity_.Secure(proxy); }
  const ConnectionIdentity& Identity() const { return identity_; }

 private:
  // Declared first so that it is destroyed last, after the proxies that use it.
  ConnectionIdentity identity_;
  framework::ComRef<IWbemServices> services_;
};

}  // namespace brevane::wmi::win32
