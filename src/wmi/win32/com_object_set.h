#pragma once
// A WMI object set: the result of a class or instance enumeration or of a query.
#include <wbemidl.h>

#include <memory>

#include "framework/com_ref.h"
#include "wmi/win32/wmi_connection.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi::win32 {

class ComObjectSet final : public ObjectSet {
 public:
  // enumerator must already carry the connection's security.
  ComObjectSet(std::shared_ptr<const WmiConnection> connection,
               framework::ComRef<IEnumWbemClassObject> enumerator);

  // The first walk uses the set's own enumerator; each later one starts from the beginning of
  // a copy, which a forward-only set refuses (WmiError).
  std::unique_ptr<ObjectEnumerator> NewEnum() override;

 private:
  std::shared_ptr<const WmiConnection> connection_;
  framework::ComRef<IEnumWbemClassObject> enumerator_;
  bool handedOut_ = false;
};

}  // namespace brevane::wmi::win32
