#include "wmi/win32/com_object_set.h"

#include "wmi/win32/com_failure.h"
#include "wmi/win32/com_object_enumerator.h"

namespace brevane::wmi::win32 {

using brevane::framework::ComRef;

ComObjectSet::ComObjectSet(std::shared_ptr<const WmiConnection> connection,
                           ComRef<IEnumWbemClassObject> enumerator)
    : connection_(std::move(connection)), enumerator_(std::move(enumerator)) {}

std::unique_ptr<ObjectEnumerator> ComObjectSet::NewEnum() {
  if (!handedOut_) {
    handedOut_ = true;
    return std::make_unique<ComObjectEnumerator>(connection_, enumerator_.Copy());
  }
  ComRef<IEnumWbemClassObject> copy;
  ClearComErrorInfo();
  ThrowIfFailed(enumerator_->Clone(copy.Receive()));
  connection_->Secure(copy.Get());
  ClearComErrorInfo();
  ThrowIfFailed(copy->Reset());
  return std::make_unique<ComObjectEnumerator>(connection_, std::move(copy));
}

}  // namespace brevane::wmi::win32
