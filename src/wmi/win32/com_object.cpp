#include "wmi/win32/com_object.h"

#include "framework/win32/com_bstr.h"
#include "framework/win32/com_variant.h"
#include "wmi/win32/com_failure.h"
#include "wmi/win32/com_property_enumerator.h"
#include "wmi/win32/com_services.h"
#include "wmi/win32/variant_value.h"

namespace brevane::wmi::win32 {

using brevane::framework::ComRef;
using brevane::framework::win32::Bstr;
using brevane::framework::win32::Variant;

ComObject::ComObject(std::shared_ptr<const WmiConnection> connection,
                     ComRef<IWbemClassObject> object)
    : connection_(std::move(connection)), object_(std::move(object)) {}

std::string ComObject::ClassName() {
  Variant value;
  ClearComErrorInfo();
  ThrowIfFailed(object_->Get(L"__CLASS", 0, value.Receive(), nullptr, nullptr));
  Value name = VariantToValue(value.Get());
  return name.type == kVtBstr ? std::move(name.text) : std::string();
}

std::unique_ptr<PropertyEnumerator> ComObject::Properties() {
  return std::make_unique<ComPropertyEnumerator>(object_.Copy());
}

Value ComObject::PropertyValue(const std::string& name) {
  // An empty name must not reach the platform; no property has one.
  if (name.empty()) ThrowRefused(WBEM_E_NOT_FOUND);
  const Bstr wideName = Bstr::FromUtf8(name);
  Variant value;
  CIMTYPE cimType = 0;
  ClearComErrorInfo();
  ThrowIfFailed(object_->Get(wideName.Get(), 0, value.Receive(), &cimType, nullptr));
  return VariantToValue(value.Get(), cimType);
}

std::unique_ptr<ObjectSet> ComObject::Instances(int32_t flags) {
  // The services' instance walk is deep by default.
  return ComServices(connection_).InstancesOf(ClassName(), flags);
}

std::string ComObject::ObjectText(int32_t flags) {
  Bstr text;
  ClearComErrorInfo();
  ThrowIfFailed(object_->GetObjectText(flags, text.Receive()));
  return text.ToUtf8();
}

PropertyQualifiers ComObject::Qualifiers(const std::string& propertyName) {
  if (propertyName.empty()) ThrowRefused(WBEM_E_NOT_FOUND);
  const Bstr wideName = Bstr::FromUtf8(propertyName);
  ComRef<IWbemQualifierSet> qualifiers;
  ClearComErrorInfo();
  ThrowIfFailed(object_->GetPropertyQualifierSet(wideName.Get(), qualifiers.Receive()));
  PropertyQualifiers result;
  // A qualifier that is not there is the usual case, not a failure.
  Variant key;
  if (SUCCEEDED(qualifiers->Get(L"key", 0, key.Receive(), nullptr))) {
    const Value value = VariantToValue(key.Get());
    result.key = value.type == kVtBool && value.integer != 0;
  }
  Variant cimType;
  if (SUCCEEDED(qualifiers->Get(L"CIMTYPE", 0, cimType.Receive(), nullptr))) {
    const Value value = VariantToValue(cimType.Get());
    const size_t colon = value.text.find(':');
    if (value.type == kVtBstr && colon != std::string::npos)
      result.objectClass = value.text.substr(colon + 1);
  }
  return result;
}

std::unique_ptr<Object> ComObject::EmbeddedObject(const std::string& propertyName) {
  if (propertyName.empty()) ThrowRefused(WBEM_E_NOT_FOUND);
  const Bstr wideName = Bstr::FromUtf8(propertyName);
  Variant value;
  ClearComErrorInfo();
  ThrowIfFailed(object_->Get(wideName.Get(), 0, value.Receive(), nullptr, nullptr));
  const VARIANT& held = value.Get();
  if (held.vt == VT_NULL || held.vt == VT_EMPTY) return nullptr;
  IUnknown* unknown = nullptr;
  if (held.vt == VT_UNKNOWN) unknown = held.punkVal;
  if (held.vt == VT_DISPATCH) unknown = held.pdispVal;
  if (!unknown) ThrowRefused(WBEM_E_TYPE_MISMATCH);
  ComRef<IWbemClassObject> embedded;
  ThrowIfFailed(unknown->QueryInterface(__uuidof(IWbemClassObject), embedded.ReceiveVoid()));
  return std::make_unique<ComObject>(connection_, std::move(embedded));
}

}  // namespace brevane::wmi::win32
