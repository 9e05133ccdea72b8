#pragma once
// The CIM type WMI reports with every property value (the CIMTYPE codes of the native API).
// The VARIANT a value arrives in does not say it all: uint16 and uint32 come as a signed
// 32-bit VT_I4, sint8 and char16 as VT_I2, 64-bit integers, date-times and references as text.
#include <cstdint>
#include <string>
#include <string_view>

namespace brevane::wmi {

enum CimType : uint16_t {
  kCimUnknown = 0,  // not reported (values that do not come from a WMI property)
  kCimSint16 = 2,
  kCimSint32 = 3,
  kCimReal32 = 4,
  kCimReal64 = 5,
  kCimString = 8,
  kCimBoolean = 11,
  kCimObject = 13,
  kCimSint8 = 16,
  kCimUint8 = 17,
  kCimUint16 = 18,
  kCimUint32 = 19,
  kCimSint64 = 20,
  kCimUint64 = 21,
  kCimDatetime = 101,
  kCimReference = 102,
  kCimChar16 = 103,
};
constexpr uint16_t kCimArrayFlag = 0x2000;

// The type as WMI names it: "string", "uint32", "datetime", "reference", "object"; with the
// class of an embedded object or a reference when it is known ("object:Win32_Foo",
// "ref:Win32_Foo", as WMI's CIMTYPE qualifier writes them); arrays with "[]" after the element
// type ("string[]"). Empty for kCimUnknown and codes WMI does not define.
std::string CimTypeName(uint16_t cimType, std::string_view objectClass = {});

// A name CimTypeName gives a single reference ("reference", "ref:Win32_Foo"): a value that names
// one object, which can be gone to. An array of references ("ref:X[]") names none on its own.
bool IsSingleReference(std::string_view typeName);

}  // namespace brevane::wmi
