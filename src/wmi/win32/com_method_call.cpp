#include "wmi/win32/com_method_call.h"

#include <oleauto.h>

#include <string>

#include "framework/com_ref.h"
#include "framework/win32/com_bstr.h"
#include "framework/win32/com_variant.h"
#include "framework/win32/encoding.h"
#include "util/text.h"
#include "wmi/object_path.h"
#include "wmi/win32/com_failure.h"
#include "wmi/win32/com_object.h"

namespace brevane::wmi::win32 {

namespace {

using brevane::framework::ComRef;
using brevane::framework::win32::Bstr;
using brevane::framework::win32::Variant;

// The VARIANT type an element travels as. The parsed value already has the shape the native
// API uses for its CIM type (uint32 in a signed VT_I4, 64-bit integers, date-times and
// references as text), so its tag is the VARIANT type.
VARTYPE ElementType(const Value& value) {
  switch (value.type) {
    case kVtUi1:
    case kVtI2:
    case kVtI4:
    case kVtR4:
    case kVtR8:
    case kVtBool:
    case kVtBstr:
      return static_cast<VARTYPE>(value.type);
    default:
      ThrowRefused(WBEM_E_TYPE_MISMATCH);
  }
}

void PutScalar(const Value& value, VARIANT& slot) {
  switch (ElementType(value)) {
    case VT_UI1:
      slot.bVal = static_cast<BYTE>(value.integer);
      break;
    case VT_I2:
      slot.iVal = static_cast<SHORT>(value.integer);
      break;
    case VT_I4:
      slot.lVal = static_cast<LONG>(value.integer);
      break;
    case VT_R4:
      slot.fltVal = static_cast<float>(value.real);
      break;
    case VT_R8:
      slot.dblVal = value.real;
      break;
    case VT_BOOL:
      slot.boolVal = value.integer != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    default: {  // VT_BSTR
      const std::wstring wide = framework::win32::Utf8ToWide(value.text);
      slot.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      if (!slot.bstrVal) ThrowRefused(WBEM_E_OUT_OF_MEMORY);
      break;
    }
  }
  slot.vt = ElementType(value);
}

// A one-dimensional SAFEARRAY with lower bound 0 of the elements' VARIANT type.
void PutArray(const ParameterValue& parameter, VARIANT& slot) {
  VARTYPE element = VT_BSTR;
  if (!parameter.elements.empty()) element = ElementType(parameter.elements.front());
  const auto count = static_cast<ULONG>(parameter.elements.size());
  SAFEARRAY* array = SafeArrayCreateVector(element, 0, count);
  if (!array) ThrowRefused(WBEM_E_OUT_OF_MEMORY);
  // Owned by the VARIANT from here on, so a failure below frees it.
  slot.vt = static_cast<VARTYPE>(VT_ARRAY | element);
  slot.parray = array;
  for (LONG i = 0; i < static_cast<LONG>(count); ++i) {
    const Value& item = parameter.elements[static_cast<size_t>(i)];
    if (ElementType(item) != element) ThrowRefused(WBEM_E_TYPE_MISMATCH);
    Variant scalar;
    PutScalar(item, *scalar.Receive());
    const VARIANT& v = scalar.Get();
    // SafeArrayPutElement copies a BSTR, and takes every other type by its address.
    void* source = element == VT_BSTR ? static_cast<void*>(v.bstrVal)
                                      : const_cast<void*>(static_cast<const void*>(&v.llVal));
    ThrowIfFailed(SafeArrayPutElement(array, &i, source));
  }
}

Variant ToVariant(const ParameterValue& parameter) {
  Variant variant;
  VARIANT& slot = *variant.Receive();
  if (!parameter.given) {
    slot.vt = VT_NULL;
  } else if (parameter.IsArray()) {
    PutArray(parameter, slot);
  } else {
    if (parameter.elements.size() != 1) ThrowRefused(WBEM_E_INVALID_PARAMETER);
    PutScalar(parameter.elements.front(), slot);
  }
  return variant;
}

}  // namespace

std::unique_ptr<Object> CallMethod(const std::shared_ptr<const WmiConnection>& connection,
                                   const std::string& objectPath, const std::string& method,
                                   const std::vector<MethodArgument>& arguments) {
  // Empty names crash some WMI implementations and name nothing anywhere.
  if (util::Trim(method).empty()) ThrowRefused(WBEM_E_INVALID_METHOD);
  const ObjectPathParse parsed = ParseObjectPath(objectPath);
  if (!parsed.path || util::Trim(parsed.path->className).empty())
    ThrowRefused(WBEM_E_INVALID_OBJECT_PATH);
  IWbemServices* services = connection->Services();

  // The signatures come from the class, never from an instance.
  const Bstr className = Bstr::FromUtf8(parsed.path->className);
  ComRef<IWbemClassObject> classObject;
  ClearComErrorInfo();
  ThrowIfFailed(services->GetObject(className.Get(), 0, nullptr, classObject.Receive(), nullptr));
  if (!classObject) ThrowRefused(WBEM_E_NOT_FOUND);

  const Bstr methodName = Bstr::FromUtf8(method);
  ComRef<IWbemClassObject> inSignature;
  ComRef<IWbemClassObject> outSignature;
  ClearComErrorInfo();
  ThrowIfFailed(
      classObject->GetMethod(methodName.Get(), 0, inSignature.Receive(), outSignature.Receive()));

  ComRef<IWbemClassObject> inParameters;
  if (inSignature) {
    ThrowIfFailed(inSignature->SpawnInstance(0, inParameters.Receive()));
    for (const MethodArgument& argument : arguments) {
      if (!argument.value.given) continue;  // left NULL: the method's default
      const Bstr name = Bstr::FromUtf8(argument.name);
      Variant value = ToVariant(argument.value);
      ClearComErrorInfo();
      ThrowIfFailed(inParameters->Put(name.Get(), 0, const_cast<VARIANT*>(&value.Get()), 0));
    }
  } else {
    for (const MethodArgument& argument : arguments) {
      if (argument.value.given) ThrowRefused(WBEM_E_INVALID_PARAMETER);
    }
  }

  const Bstr path = Bstr::FromUtf8(objectPath);
  ComRef<IWbemClassObject> outParameters;
  ClearComErrorInfo();
  ThrowIfFailed(services->ExecMethod(path.Get(), methodName.Get(), 0, nullptr, inParameters.Get(),
                                     outParameters.Receive(), nullptr));
  if (!outParameters) return nullptr;
  return std::make_unique<ComObject>(connection, std::move(outParameters));
}

}  // namespace brevane::wmi::win32
