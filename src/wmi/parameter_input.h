#pragma once
// Text typed for a method's in-parameter, checked against the parameter's CIM type and turned
// into the value WMI expects. The range check is ours: WMI converts an out-of-range number
// silently or fails depending on the provider, so a wrong value must be caught before
// anything is sent. Every refusal says why, in a sentence that can stand beside the field.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wmi/value.h"

namespace brevane::wmi {

// A value that has been checked: nothing (the parameter is not given: WMI sees NULL), one
// scalar, or the elements of an array, each a scalar of the element type. Scalars have the
// shape the native API uses for the CIM type (uint32 as a signed VT_I4 with the same bits,
// 64-bit integers, date-times and references as text, ...), cimType set.
struct ParameterValue {
  uint16_t cimType = kCimUnknown;  // with kCimArrayFlag for arrays
  bool given = false;
  std::vector<Value> elements;  // scalar: exactly one; array: one per element

  bool IsArray() const { return (cimType & kCimArrayFlag) != 0; }
};

struct ParameterParse {
  std::optional<ParameterValue> value;  // set when the text is acceptable
  std::string error;                    // otherwise: what is wrong with it
};

// Arrays take one element per line; more lines than this are refused.
inline constexpr size_t kMaxArrayElements = 100000;

// One scalar of the CIM type (no array flag) from its text. Blanks around numbers, booleans
// and date-times are ignored; strings and references are taken as typed. Integers are
// decimal, or hexadecimal after "0x"; reals use "." as the decimal point.
ParameterParse ParseScalar(std::string_view text, uint16_t cimType);

// The text of a whole field: empty (or only blanks for a non-string type) means not given;
// an array type takes one element per line, empty lines left out, and names the line that
// does not parse.
ParameterParse ParseParameterText(std::string_view text, uint16_t cimType);

// Checks a date-time in the DMTF form WMI uses: "yyyymmddHHMMSS.mmmmmmsUUU" (a date and time
// with its offset from UTC in minutes; fields not known written as asterisks) or
// "ddddddddHHMMSS.mmmmmm:000" (an interval). Empty when it is well formed, else what is wrong.
std::string CheckDmtfDatetime(std::string_view text);

}  // namespace brevane::wmi
