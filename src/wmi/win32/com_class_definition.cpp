#include "wmi/win32/com_class_definition.h"

#include <algorithm>

#include "framework/com_ref.h"
#include "framework/win32/com_bstr.h"
#include "framework/win32/com_variant.h"
#include "util/text.h"
#include "wmi/value_text.h"
#include "wmi/win32/com_failure.h"
#include "wmi/win32/variant_value.h"

namespace brevane::wmi::win32 {

namespace {

using brevane::framework::ComRef;
using brevane::framework::win32::Bstr;
using brevane::framework::win32::Variant;

// Bounds against a provider that never ends a list.
constexpr size_t kMaxEntries = 10000;
constexpr LONG kMaxArrayItems = 100000;

// The elements of a one-dimensional array as text (ValueMap, Values, __DERIVATION).
std::vector<std::string> ArrayItems(const VARIANT& value) {
  std::vector<std::string> items;
  if ((value.vt & VT_ARRAY) == 0 || (value.vt & VT_BYREF) != 0 || !value.parray) return items;
  SAFEARRAY* array = value.parray;
  LONG lower = 0;
  LONG upper = -1;
  if (SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
      FAILED(SafeArrayGetUBound(array, 1, &upper))) {
    return items;
  }
  const auto element = static_cast<VARTYPE>(value.vt & VT_TYPEMASK);
  const LONG last = upper - lower >= kMaxArrayItems ? lower + kMaxArrayItems - 1 : upper;
  for (LONG i = lower; i <= last; ++i) {
    Variant item;
    VARIANT* slot = item.Receive();
    // Every scalar element fits the VARIANT's payload, which starts at the same place for
    // every member; a BSTR element is copied and freed with the Variant.
    void* target = element == VT_VARIANT ? static_cast<void*>(slot) : &slot->llVal;
    if (FAILED(SafeArrayGetElement(array, &i, target))) {
      items.emplace_back();
      continue;
    }
    if (element != VT_VARIANT) slot->vt = element;
    items.push_back(ValueToText(VariantToValue(item.Get()), RegionalSettings{}));
  }
  return items;
}

std::vector<Qualifier> ReadQualifiers(IWbemQualifierSet* set) {
  std::vector<Qualifier> qualifiers;
  if (!set || FAILED(set->BeginEnumeration(0))) return qualifiers;
  while (qualifiers.size() < kMaxEntries) {
    Bstr name;
    Variant value;
    long flavor = 0;
    if (set->Next(0, name.Receive(), value.Receive(), &flavor) != WBEM_S_NO_ERROR) break;
    qualifiers.push_back({name.ToUtf8(), VariantToValue(value.Get()), ArrayItems(value.Get())});
  }
  set->EndEnumeration();
  return qualifiers;
}

std::vector<Qualifier> QualifiersOfProperty(IWbemClassObject* object, BSTR name) {
  ComRef<IWbemQualifierSet> set;
  if (FAILED(object->GetPropertyQualifierSet(name, set.Receive()))) return {};
  return ReadQualifiers(set.Get());
}

std::string PropertyOrigin(IWbemClassObject* object, BSTR name) {
  Bstr origin;
  if (FAILED(object->GetPropertyOrigin(name, origin.Receive()))) return {};
  return origin.ToUtf8();
}

// The non-system properties of an object in its own order, with name, CIM type and qualifiers.
template <typename Visit>
void ForEachProperty(IWbemClassObject* object, Visit visit) {
  if (!object || FAILED(object->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY))) return;
  for (size_t count = 0; count < kMaxEntries; ++count) {
    Bstr name;
    CIMTYPE cimType = 0;
    if (object->Next(0, name.Receive(), nullptr, &cimType, nullptr) != WBEM_S_NO_ERROR) break;
    if (!name.Get()) continue;
    visit(name, static_cast<uint16_t>(cimType));
  }
  object->EndEnumeration();
}

std::vector<ParameterDefinition> ReadParameters(IWbemClassObject* signature, bool outputs) {
  std::vector<ParameterDefinition> parameters;
  ForEachProperty(signature, [&](const Bstr& name, uint16_t cimType) {
    ParameterDefinition p;
    p.name = name.ToUtf8();
    p.cimType = cimType;
    p.qualifiers = QualifiersOfProperty(signature, name.Get());
    if (const Qualifier* id = FindQualifier(p.qualifiers, "ID");
        id && (id->value.type == kVtI4 || id->value.type == kVtI2 || id->value.type == kVtUi1)) {
      p.id = static_cast<int>(id->value.integer);
    }
    parameters.push_back(std::move(p));
  });
  // Parameters by ID; ReturnValue, which has none, first among the outputs.
  auto rank = [outputs](const ParameterDefinition& p) {
    const bool returnValue = outputs && util::AsciiLower(p.name) == "returnvalue";
    return std::make_pair(returnValue ? 0 : 1, p.id);
  };
  std::stable_sort(parameters.begin(), parameters.end(),
                   [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
  return parameters;
}

std::vector<MethodDefinition> ReadMethods(IWbemClassObject* object) {
  std::vector<MethodDefinition> methods;
  if (FAILED(object->BeginMethodEnumeration(0))) return methods;
  while (methods.size() < kMaxEntries) {
    Bstr name;
    ComRef<IWbemClassObject> in;
    ComRef<IWbemClassObject> out;
    if (object->NextMethod(0, name.Receive(), in.Receive(), out.Receive()) != WBEM_S_NO_ERROR)
      break;
    if (!name.Get()) continue;
    MethodDefinition method;
    method.name = name.ToUtf8();
    Bstr origin;
    if (SUCCEEDED(object->GetMethodOrigin(name.Get(), origin.Receive())))
      method.originClass = origin.ToUtf8();
    ComRef<IWbemQualifierSet> set;
    if (SUCCEEDED(object->GetMethodQualifierSet(name.Get(), set.Receive())))
      method.qualifiers = ReadQualifiers(set.Get());
    method.inputs = ReadParameters(in.Get(), false);
    method.outputs = ReadParameters(out.Get(), true);
    methods.push_back(std::move(method));
  }
  object->EndMethodEnumeration();
  return methods;
}

ComRef<IWbemClassObject> GetClassObject(IWbemServices* services, const std::string& className) {
  const Bstr wideClass = Bstr::FromUtf8(className);
  ComRef<IWbemClassObject> object;
  ClearComErrorInfo();
  HRESULT hr = services->GetObject(wideClass.Get(), WBEM_FLAG_USE_AMENDED_QUALIFIERS, nullptr,
                                   object.Receive(), nullptr);
  if (FAILED(hr)) {
    // Some providers refuse the amended form; the plain one still shows the definition.
    ClearComErrorInfo();
    hr = services->GetObject(wideClass.Get(), 0, nullptr, object.Receive(), nullptr);
  }
  ThrowIfFailed(hr);
  if (!object) ThrowRefused(WBEM_E_NOT_FOUND);
  return object;
}

}  // namespace

ClassDefinition ReadClassDefinition(IWbemServices* services, const std::string& className) {
  // An empty name gives an unusable object on some WMI implementations (reading it crashes).
  if (util::Trim(className).empty()) ThrowRefused(WBEM_E_INVALID_CLASS);
  const ComRef<IWbemClassObject> object = GetClassObject(services, className);
  ClassDefinition definition;
  Variant value;
  if (SUCCEEDED(object->Get(L"__CLASS", 0, value.Receive(), nullptr, nullptr)) &&
      value.Get().vt == VT_BSTR) {
    definition.name = VariantToValue(value.Get()).text;
  }
  if (definition.name.empty()) definition.name = className;
  if (SUCCEEDED(object->Get(L"__DERIVATION", 0, value.Receive(), nullptr, nullptr)))
    definition.derivation = ArrayItems(value.Get());
  ComRef<IWbemQualifierSet> classQualifiers;
  if (SUCCEEDED(object->GetQualifierSet(classQualifiers.Receive())))
    definition.qualifiers = ReadQualifiers(classQualifiers.Get());
  ForEachProperty(object.Get(), [&](const Bstr& name, uint16_t cimType) {
    definition.properties.push_back({name.ToUtf8(), cimType,
                                     PropertyOrigin(object.Get(), name.Get()),
                                     QualifiersOfProperty(object.Get(), name.Get())});
  });
  definition.methods = ReadMethods(object.Get());
  Bstr text;
  if (SUCCEEDED(object->GetObjectText(0, text.Receive()))) definition.mofText = text.ToUtf8();
  return definition;
}

}  // namespace brevane::wmi::win32
