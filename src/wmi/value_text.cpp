#include "wmi/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <new>
#include <optional>
#include <system_error>

#include "wmi/date_format.h"

namespace brevane::wmi {

namespace {

constexpr const char* kInvalidConversion = "Invalid variant type conversion";
// A chain of references longer than this is malformed; COM itself allows one level.
constexpr int kMaxReferenceDepth = 8;

// No text: the conversion failed, and its failure text becomes the rendered value.
using Rendered = std::optional<std::string>;

const std::string& DecimalSeparator(const RegionalSettings& regional) {
  static const std::string kDot = ".";
  return regional.decimalSeparator.empty() ? kDot : regional.decimalSeparator;
}

std::string ArrayText(const Value& value) {
  std::string text = "array[";
  for (const ArrayBound& bound : value.bounds) {
    text += std::to_string(bound.lower);
    text += "..";
    text += std::to_string(bound.upper);
    text += ' ';
  }
  if (text.back() == ' ') text.pop_back();
  text += ']';
  return text;
}

// Lays out the shortest digits that read back to the same number the way the platform's
// conversion writes reals: plain notation for moderate exponents, otherwise "1.5E+20".
template <typename Real>
Rendered RealText(Real number, int precision, const RegionalSettings& regional) {
  if (std::isnan(number)) return "NaN";
  if (std::isinf(number)) return number < 0 ? "-INF" : "INF";
  if (number == 0) return "0";

  char buffer[64];
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific);
  if (result.ec != std::errc()) return std::nullopt;
  const std::string_view scientific(buffer, static_cast<size_t>(result.ptr - buffer));

  const bool negative = scientific.front() == '-';
  const size_t exponentAt = scientific.find('e');
  std::string digits;
  for (char c : scientific.substr(0, exponentAt)) {
    if (c >= '0' && c <= '9') digits += c;
  }
  const int exponent = std::atoi(std::string(scientific.substr(exponentAt + 1)).c_str());
  const std::string& separator = DecimalSeparator(regional);

  std::string text = negative ? "-" : "";
  if (exponent < -4 || exponent >= precision) {
    text += digits.front();
    if (digits.size() > 1) {
      text += separator;
      text.append(digits, 1);
    }
    text += exponent < 0 ? "E-" : "E+";
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) text += '0';
    text += std::to_string(magnitude);
  } else if (exponent >= 0) {
    const size_t integerDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
      text += digits;
      text.append(integerDigits - digits.size(), '0');
    } else {
      text.append(digits, 0, integerDigits);
      text += separator;
      text.append(digits, integerDigits);
    }
  } else {
    text += '0';
    text += separator;
    text.append(static_cast<size_t>(-exponent - 1), '0');
    text += digits;
  }
  return text;
}

Rendered PlatformOrOwnRealText(double number, bool single, const RegionalSettings& regional) {
  if (regional.realText) {
    if (Rendered text = regional.realText(number, single)) return text;
  }
  return single ? RealText(static_cast<float>(number), 7, regional)
                : RealText(number, 15, regional);
}

// A magnitude in decimal digits with `scale` of them after the separator; trailing zeros of
// the fraction are dropped, as the platform writes currency and decimals.
std::string ScaledText(std::string digits, size_t scale, bool negative,
                       const RegionalSettings& regional) {
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  const size_t integerDigits = digits.size() - scale;
  size_t end = digits.size();
  while (end > integerDigits && digits[end - 1] == '0') --end;
  const bool zero = digits.find_first_not_of('0') == std::string::npos;

  std::string text = negative && !zero ? "-" : "";
  text.append(digits, 0, integerDigits);
  if (end > integerDigits) {
    text += DecimalSeparator(regional);
    text.append(digits, integerDigits, end - integerDigits);
  }
  return text;
}

std::string CurrencyText(int64_t scaled, const RegionalSettings& regional) {
  const bool negative = scaled < 0;
  const uint64_t magnitude =
      negative ? uint64_t{0} - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  return ScaledText(std::to_string(magnitude), 4, negative, regional);
}

Rendered DecimalText(const DecimalValue& decimal, const RegionalSettings& regional) {
  if (decimal.scale > 28) return std::nullopt;
  // The 96-bit magnitude as three 32-bit limbs, most significant first, divided down by ten.
  uint32_t limbs[3] = {decimal.hi32, static_cast<uint32_t>(decimal.lo64 >> 32),
                       static_cast<uint32_t>(decimal.lo64)};
  std::string reversed;
  while (limbs[0] != 0 || limbs[1] != 0 || limbs[2] != 0) {
    uint64_t remainder = 0;
    for (uint32_t& limb : limbs) {
      const uint64_t current = (remainder << 32) | limb;
      limb = static_cast<uint32_t>(current / 10);
      remainder = current % 10;
    }
    reversed += static_cast<char>('0' + remainder);
  }
  if (reversed.empty()) reversed.push_back('0');
  return ScaledText(std::string(reversed.rbegin(), reversed.rend()), decimal.scale,
                    decimal.negative, regional);
}

Rendered DateText(double oleDate, bool withTime, const RegionalSettings& regional) {
  const std::optional<OleDateParts> parts = DecodeOleDate(oleDate);
  if (!parts) return std::nullopt;
  std::string text = FormatDatePicture(regional.shortDatePicture, *parts, regional);
  if (withTime && (parts->hour != 0 || parts->minute != 0 || parts->second != 0)) {
    text += ' ';
    text += FormatTimePicture(regional.longTimePicture, *parts, regional);
  }
  return text;
}

bool IsIntegerTag(uint16_t baseType) {
  switch (baseType) {
    case kVtI1:
    case kVtUi1:
    case kVtI2:
    case kVtUi2:
    case kVtI4:
    case kVtUi4:
    case kVtInt:
    case kVtUint:
    case kVtI8:
    case kVtUi8:
      return true;
    default:
      return false;
  }
}

// One UTF-16 code unit as UTF-8; half a surrogate pair stands for no character.
std::string CharacterText(uint16_t unit) {
  if (unit == 0) return {};
  if (unit >= 0xD800 && unit <= 0xDFFF) return "\xEF\xBF\xBD";  // U+FFFD
  std::string text;
  if (unit < 0x80) {
    text += static_cast<char>(unit);
  } else if (unit < 0x800) {
    text += static_cast<char>(0xC0 | (unit >> 6));
    text += static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (unit >> 12));
    text += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (unit & 0x3F));
  }
  return text;
}

// An integer read as its CIM type says, whatever integer tag carried it (WMI hands uint32 over
// as a signed VT_I4, sint8 and char16 as VT_I2). No text when the CIM type is not an integer.
Rendered CimIntegerText(int64_t i, uint16_t cimType) {
  switch (cimType) {
    case kCimSint8:
      return std::to_string(static_cast<int8_t>(i));
    case kCimUint8:
      return std::to_string(static_cast<uint8_t>(i));
    case kCimSint16:
      return std::to_string(static_cast<int16_t>(i));
    case kCimUint16:
      return std::to_string(static_cast<uint16_t>(i));
    case kCimSint32:
      return std::to_string(static_cast<int32_t>(i));
    case kCimUint32:
      return std::to_string(static_cast<uint32_t>(i));
    case kCimSint64:
      return std::to_string(i);
    case kCimUint64:
      return std::to_string(static_cast<uint64_t>(i));
    case kCimChar16:
      return CharacterText(static_cast<uint16_t>(i));
    default:
      return std::nullopt;
  }
}

// The platform's standard conversion to text of a value that is neither an array nor held
// by reference.
Rendered StandardText(const Value& value, uint16_t baseType, uint16_t cimType,
                      const RegionalSettings& regional) {
  const int64_t i = value.integer;
  if (IsIntegerTag(baseType)) {
    if (Rendered text = CimIntegerText(i, cimType)) return text;
  }
  switch (baseType) {
    case kVtEmpty:
    case kVtNull:
      return std::string();
    case kVtI1:
      return std::to_string(static_cast<int8_t>(i));
    case kVtUi1:
      return std::to_string(static_cast<uint8_t>(i));
    case kVtI2:
      return std::to_string(static_cast<int16_t>(i));
    case kVtUi2:
      return std::to_string(static_cast<uint16_t>(i));
    case kVtI4:
    case kVtInt:
      return std::to_string(static_cast<int32_t>(i));
    case kVtUi4:
    case kVtUint:
      return std::to_string(static_cast<uint32_t>(i));
    case kVtI8:
      return std::to_string(i);
    case kVtUi8:
      return std::to_string(static_cast<uint64_t>(i));
    case kVtR4:
    case kVtR8:
      return PlatformOrOwnRealText(value.real, baseType == kVtR4, regional);
    case kVtCy:
      return CurrencyText(i, regional);
    case kVtDate:
      return DateText(value.real, true, regional);
    case kVtBstr:
      return value.text;
    case kVtBool:
      return i != 0 ? "-1" : "0";
    case kVtDecimal:
      return DecimalText(value.decimal, regional);
    default:  // objects, error codes, a variant without referent, unknown kinds
      return std::nullopt;
  }
}

Rendered RenderValue(const Value& value, const RegionalSettings& regional) {
  if (value.type == kVtEmpty || value.type == kVtNull) return std::string();
  if (value.type == kVtDate) return DateText(value.real, false, regional);
  if (value.type & kVtArrayBit) return ArrayText(value);

  const Value* current = &value;
  uint16_t tag = value.type;
  for (int depth = 0; tag & kVtByRefBit; ++depth) {
    if (depth >= kMaxReferenceDepth) return std::nullopt;
    if (current->referenced) {
      current = current->referenced.get();
      tag = current->type;
    } else {
      tag = static_cast<uint16_t>(tag & ~kVtByRefBit);
    }
  }
  if (tag & kVtArrayBit) return ArrayText(*current);
  if (tag & ~kVtTypeMask) return std::nullopt;  // vector or reserved bits
  // The CIM type describes the property, so the outer value's wins over a referent's.
  const uint16_t cimType = value.cimType != kCimUnknown ? value.cimType : current->cimType;
  return StandardText(*current, static_cast<uint16_t>(tag & kVtTypeMask), cimType, regional);
}

}  // namespace

std::string ValueToText(const Value& value, const RegionalSettings& regional) {
  try {
    Rendered text = RenderValue(value, regional);
    return text ? std::move(*text) : std::string(kInvalidConversion);
  } catch (const std::bad_alloc&) {
    return "Out of memory";  // short enough to need no allocation
  } catch (...) {
    return kInvalidConversion;
  }
}

}  // namespace brevane::wmi
