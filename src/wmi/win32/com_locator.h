#pragma once
// The WMI locator: opens connections to namespaces on this or another computer.
#include <wbemidl.h>

#include <string>

#include "framework/com_ref.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi::win32 {

// The namespace path ConnectServer is given: the namespace alone for this computer ("." or
// ""), "\\host\namespace" for any other name ("localhost" included, which works the same).
// Leading backslashes of host are dropped, so "\\server" is accepted as typed.
std::wstring ConnectionPath(const std::string& host, const std::string& ns);

class ComLocator final : public Locator {
 public:
  explicit ComLocator(framework::ComRef<IWbemLocator> locator);

  // user and password are ignored when empty (the caller's own identity is used).
  // Throws WmiError for an empty namespace, an unreachable host, a wrong namespace or wrong
  // credentials.
  std::unique_ptr<Services> ConnectServer(const std::string& host, const std::string& ns,
                                          const std::string& user,
                                          const std::string& password) override;

 private:
  framework::ComRef<IWbemLocator> locator_;
};

}  // namespace brevane::wmi::win32
