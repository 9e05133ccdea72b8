#include "wmi/cim_type.h"

namespace brevane::wmi {

namespace {

struct NamedType {
  uint16_t type;
  std::string_view name;
};

constexpr NamedType kNames[] = {
    {kCimSint8, "sint8"},       {kCimUint8, "uint8"},         {kCimSint16, "sint16"},
    {kCimUint16, "uint16"},     {kCimSint32, "sint32"},       {kCimUint32, "uint32"},
    {kCimSint64, "sint64"},     {kCimUint64, "uint64"},       {kCimReal32, "real32"},
    {kCimReal64, "real64"},     {kCimBoolean, "boolean"},     {kCimString, "string"},
    {kCimDatetime, "datetime"}, {kCimReference, "reference"}, {kCimChar16, "char16"},
    {kCimObject, "object"},
};

std::string_view ElementTypeName(uint16_t elementType) {
  for (const NamedType& named : kNames) {
    if (named.type == elementType) return named.name;
  }
  return {};
}

}  // namespace

std::string CimTypeName(uint16_t cimType, std::string_view objectClass) {
  const auto elementType = static_cast<uint16_t>(cimType & ~kCimArrayFlag);
  std::string name(ElementTypeName(elementType));
  if (name.empty()) return {};
  if (!objectClass.empty()) {
    if (elementType == kCimObject) {
      name += ':';
      name += objectClass;
    } else if (elementType == kCimReference) {
      name = "ref:";
      name += objectClass;
    }
  }
  if (cimType & kCimArrayFlag) name += "[]";
  return name;
}

bool IsSingleReference(std::string_view typeName) {
  const bool reference = typeName == "reference" || typeName.substr(0, 4) == "ref:";
  return reference && typeName.find('[') == std::string_view::npos;
}

}  // namespace brevane::wmi
