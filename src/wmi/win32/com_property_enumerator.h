#pragma once
// Walks the non-system properties of one WMI object in the object's own order.
#include <wbemidl.h>

#include "framework/com_ref.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi::win32 {

// The walk is a state of the object itself (BeginEnumeration/EndEnumeration), so only one walk
// per object may run at a time; PropertyValue may be called meanwhile.
class ComPropertyEnumerator final : public PropertyEnumerator {
 public:
  // Throws WmiError when the object refuses the walk.
  explicit ComPropertyEnumerator(framework::ComRef<IWbemClassObject> object);
  ~ComPropertyEnumerator() override;
  ComPropertyEnumerator(const ComPropertyEnumerator&) = delete;
  ComPropertyEnumerator& operator=(const ComPropertyEnumerator&) = delete;

  bool Next(Property& out) override;

 private:
  framework::ComRef<IWbemClassObject> object_;
  bool finished_ = false;
};

}  // namespace brevane::wmi::win32
