#pragma once
// A WMI property value, portable: the COM backend fills it from a VARIANT, the fake backend
// builds it directly. The tag keeps the VARIANT type codes, including the array bit 0x2000
// and the by-reference bit 0x4000, because value rendering looks at the full tag; and the CIM
// type WMI reported with it, because the tag alone does not say how to read the payload.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "wmi/cim_type.h"

namespace brevane::wmi {

enum VarType : uint16_t {
  kVtEmpty = 0,
  kVtNull = 1,
  kVtI2 = 2,
  kVtI4 = 3,
  kVtR4 = 4,
  kVtR8 = 5,
  kVtCy = 6,
  kVtDate = 7,
  kVtBstr = 8,
  kVtDispatch = 9,
  kVtError = 10,
  kVtBool = 11,
  kVtVariant = 12,
  kVtUnknown = 13,
  kVtDecimal = 14,
  kVtI1 = 16,
  kVtUi1 = 17,
  kVtUi2 = 18,
  kVtUi4 = 19,
  kVtI8 = 20,
  kVtUi8 = 21,
  kVtInt = 22,
  kVtUint = 23,
};
constexpr uint16_t kVtArrayBit = 0x2000;
constexpr uint16_t kVtByRefBit = 0x4000;
constexpr uint16_t kVtTypeMask = 0x0FFF;

// Bounds of one array dimension as the SAFEARRAY gives them (upper = lower + count - 1, which
// can leave the 32-bit range, hence 64 bits).
struct ArrayBound {
  int64_t lower = 0;
  int64_t upper = -1;
};

// A decimal as VT_DECIMAL holds it: a 96-bit magnitude, a scale (0..28) and a sign.
struct DecimalValue {
  uint32_t hi32 = 0;
  uint64_t lo64 = 0;
  uint8_t scale = 0;
  bool negative = false;
};

struct Value {
  uint16_t type = kVtEmpty;        // full tag, with the array and by-reference bits
  uint16_t cimType = kCimUnknown;  // CimType, with kCimArrayFlag for arrays
  // Integers of every width, booleans (VARIANT_TRUE is -1), error codes and currency (scaled
  // by 10000) live here; unsigned 64-bit values keep their bit pattern.
  int64_t integer = 0;
  double real = 0;                 // R4, R8 and DATE (days since 30 December 1899)
  std::string text;                // BSTR as UTF-8
  DecimalValue decimal;            // DECIMAL
  std::vector<ArrayBound> bounds;  // arrays: one entry per dimension, first dimension first
  // A by-reference value that points at another VARIANT (VT_VARIANT | VT_BYREF) keeps it here.
  std::shared_ptr<const Value> referenced;

  static Value Empty() { return {}; }
  static Value Null() { return Make(kVtNull); }
  static Value Text(std::string s) {
    Value v = Make(kVtBstr);
    v.text = std::move(s);
    return v;
  }
  static Value Int(int64_t i, uint16_t type = kVtI4) {
    Value v = Make(type);
    v.integer = i;
    return v;
  }
  static Value Bool(bool b) { return Int(b ? -1 : 0, kVtBool); }
  static Value Real(double d, uint16_t type = kVtR8) {
    Value v = Make(type);
    v.real = d;
    return v;
  }
  static Value Date(double oleDate) { return Real(oleDate, kVtDate); }
  static Value Array(uint16_t elementType, std::vector<ArrayBound> bounds) {
    Value v = Make(static_cast<uint16_t>(elementType | kVtArrayBit));
    v.bounds = std::move(bounds);
    return v;
  }
  static Value Object() { return Make(kVtUnknown); }

 private:
  static Value Make(uint16_t type) {
    Value v;
    v.type = type;
    return v;
  }
};

}  // namespace brevane::wmi
