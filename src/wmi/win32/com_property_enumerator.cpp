#include "wmi/win32/com_property_enumerator.h"

#include "framework/win32/com_bstr.h"
#include "framework/win32/com_variant.h"
#include "wmi/win32/com_failure.h"
#include "wmi/win32/variant_value.h"

namespace brevane::wmi::win32 {

ComPropertyEnumerator::ComPropertyEnumerator(framework::ComRef<IWbemClassObject> object)
    : object_(std::move(object)) {
  ClearComErrorInfo();
  ThrowIfFailed(object_->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY));
}

ComPropertyEnumerator::~ComPropertyEnumerator() {
  if (!finished_) object_->EndEnumeration();
}

bool ComPropertyEnumerator::Next(Property& out) {
  if (finished_) return false;
  brevane::framework::win32::Bstr name;
  brevane::framework::win32::Variant value;
  ClearComErrorInfo();
  CIMTYPE cimType = 0;
  const HRESULT hr = object_->Next(0, name.Receive(), value.Receive(), &cimType, nullptr);
  if (hr == WBEM_S_NO_MORE_DATA || hr == S_FALSE) {
    finished_ = true;
    object_->EndEnumeration();
    return false;
  }
  if (FAILED(hr)) {
    finished_ = true;
    object_->EndEnumeration();
    ThrowComFailure(hr);
  }
  out.name = name.ToUtf8();
  out.value = VariantToValue(value.Get(), cimType);
  return true;
}

}  // namespace brevane::wmi::win32
