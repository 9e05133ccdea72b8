#include "wmi/cim_type.h"

namespace brevane::wmi {

namespace {

std::string_view ElementTypeName(uint16_t elementType) {
  switch (elementType) {
    case kCimSint8: return "sint8";
    case kCimUint8: return "uint8";
    case kCimSint16: return "sint16";
    case kCimUint16: return "uint16";
    case kCimSint32: return "sint32";
    case kCimUint32: return "uint32";
    case kCimSint64: return "sint64";
    case kCimUint64: return "uint64";
    case kCimReal32: return "real32";
    case kCimReal64: return "real64";
    case kCimBoolean: return "boolean";
    case kCimString: return "string";
    case kCimDatetime: return "datetime";
    case kCimReference: return "reference";
    case kCimChar16: return "char16";
    case kCimObject: return "object";
    default: return {};
  }
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

}  // namespace brevane::wmi
