#include "wmi/parameter_input.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "util/text.h"
#include "util/word_characters.h"
#include "wmi/cim_type.h"

namespace brevane::wmi {

namespace {

struct IntegerRange {
  uint16_t cimType;
  int64_t min;
  uint64_t max;
};

constexpr std::array<IntegerRange, 8> kIntegerRanges = {{
    {kCimSint8, -128, 127},
    {kCimUint8, 0, 255},
    {kCimSint16, -32768, 32767},
    {kCimUint16, 0, 65535},
    {kCimSint32, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()},
    {kCimUint32, 0, std::numeric_limits<uint32_t>::max()},
    {kCimSint64, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()},
    {kCimUint64, 0, std::numeric_limits<uint64_t>::max()},
}};

const IntegerRange* IntegerRangeOf(uint16_t cimType) {
  for (const IntegerRange& range : kIntegerRanges) {
    if (range.cimType == cimType) return &range;
  }
  return nullptr;
}

ParameterParse Accept(Value value, uint16_t cimType) {
  value.cimType = cimType;
  ParameterValue parsed;
  parsed.cimType = cimType;
  parsed.given = true;
  parsed.elements.push_back(std::move(value));
  return {std::move(parsed), {}};
}

ParameterParse Refuse(std::string error) {
  return {std::nullopt, std::move(error)};
}

int DigitValue(char c, int base) {
  int digit = -1;
  if (c >= '0' && c <= '9') {
    digit = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    digit = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    digit = c - 'A' + 10;
  }
  return digit < base ? digit : -1;
}

std::string RangeText(const IntegerRange& range) {
  return "a whole number from " + std::to_string(range.min) + " to " + std::to_string(range.max) +
         " (" + CimTypeName(range.cimType) + ")";
}

ParameterParse ParseInteger(std::string_view raw, const IntegerRange& range) {
  const std::string text = util::Trim(raw);
  std::string_view rest = text;
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  int base = 10;
  if (rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    base = 16;
    rest.remove_prefix(2);
  }
  if (rest.empty()) return Refuse("Not a number: expected " + RangeText(range));
  // The magnitude saturates instead of overflowing, so that any number of digits is safe.
  uint64_t magnitude = 0;
  bool tooLarge = false;
  for (char c : rest) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return Refuse("Not a number: expected " + RangeText(range));
    if (magnitude > (std::numeric_limits<uint64_t>::max() - static_cast<uint64_t>(digit)) /
                        static_cast<uint64_t>(base)) {
      tooLarge = true;
    } else {
      magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
  }
  const uint64_t negativeLimit = range.min < 0 ? static_cast<uint64_t>(-(range.min + 1)) + 1 : 0;
  const bool inRange = !tooLarge && (negative ? (magnitude == 0 || magnitude <= negativeLimit)
                                              : magnitude <= range.max);
  if (!inRange) return Refuse("Out of range: expected " + RangeText(range));

  const int64_t signedValue = negative ? static_cast<int64_t>(0 - magnitude)  // two's complement
                                       : static_cast<int64_t>(magnitude);
  switch (range.cimType) {
    case kCimSint8:
    case kCimSint16:
      return Accept(Value::Int(signedValue, kVtI2), range.cimType);
    case kCimUint8:
      return Accept(Value::Int(signedValue, kVtUi1), range.cimType);
    case kCimUint16:
    case kCimSint32:
      return Accept(Value::Int(signedValue, kVtI4), range.cimType);
    case kCimUint32:  // the bits of the unsigned number in a signed 32-bit VT_I4
      return Accept(Value::Int(static_cast<int32_t>(static_cast<uint32_t>(magnitude)), kVtI4),
                    range.cimType);
    case kCimSint64:
      return Accept(Value::Text(std::to_string(signedValue)), range.cimType);
    default:  // uint64
      return Accept(Value::Text(std::to_string(magnitude)), range.cimType);
  }
}

ParameterParse ParseReal(std::string_view raw, uint16_t cimType) {
  const std::string text = util::Trim(raw);
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  const std::string expected = cimType == kCimReal32 ? "a number (real32), with \".\" as the "
                                                       "decimal point"
                                                     : "a number (real64), with \".\" as the "
                                                       "decimal point";
  // from_chars would read "inf" and "nan": only digits, a point and an exponent are numbers.
  const size_t first = !digits.empty() && digits.front() == '-' ? 1 : 0;
  const bool plain = first < digits.size() &&
                     (digits[first] == '.' || (digits[first] >= '0' && digits[first] <= '9'));
  double value = 0;
  const auto [end, status] =
      plain ? std::from_chars(digits.data(), digits.data() + digits.size(), value)
            : std::from_chars_result{digits.data(), std::errc::invalid_argument};
  if (status == std::errc::invalid_argument || end != digits.data() + digits.size()) {
    return Refuse("Not a number: expected " + expected);
  }
  const double limit = cimType == kCimReal32 ? std::numeric_limits<float>::max()
                                             : std::numeric_limits<double>::max();
  if (status == std::errc::result_out_of_range || !std::isfinite(value) ||
      std::fabs(value) > limit) {
    return Refuse("Out of range: expected " + expected);
  }
  if (cimType == kCimReal32) return Accept(Value::Real(static_cast<float>(value), kVtR4), cimType);
  return Accept(Value::Real(value, kVtR8), cimType);
}

ParameterParse ParseBoolean(std::string_view raw) {
  const std::string text = util::AsciiLower(util::Trim(raw));
  if (text == "true" || text == "1") return Accept(Value::Bool(true), kCimBoolean);
  if (text == "false" || text == "0") return Accept(Value::Bool(false), kCimBoolean);
  return Refuse("Not a boolean: expected true or false");
}

ParameterParse ParseChar16(std::string_view text) {
  const std::optional<char32_t> character = util::Utf8CharacterAt(text, 0);
  const size_t length = !character             ? 0
                        : *character < 0x80    ? 1
                        : *character < 0x800   ? 2
                        : *character < 0x10000 ? 3
                                               : 4;
  if (!character || length != text.size() || *character > 0xFFFF) {
    return Refuse("Expected exactly one character (char16)");
  }
  return Accept(Value::Int(static_cast<int16_t>(static_cast<uint16_t>(*character)), kVtI2),
                kCimChar16);
}

bool HasControlCharacter(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 32) return true;
  }
  return false;
}

ParameterParse ParseReference(std::string_view text) {
  // The provider resolves the path; what we can see is that it names a class at least.
  const std::string trimmed = util::Trim(text);
  if (trimmed.empty() || HasControlCharacter(text)) {
    return Refuse("Expected an object path, such as Win32_Service.Name=\"Spooler\"");
  }
  return Accept(Value::Text(trimmed), kCimReference);
}

// Digits (or, where `wild`, all asterisks) in text[first, first + count).
std::optional<int> Field(std::string_view text, size_t first, size_t count, bool wild,
                         bool& unknown) {
  unknown = false;
  int value = 0;
  size_t stars = 0;
  for (size_t i = first; i < first + count; ++i) {
    if (wild && text[i] == '*') {
      ++stars;
    } else if (text[i] >= '0' && text[i] <= '9') {
      value = value * 10 + (text[i] - '0');
    } else {
      return std::nullopt;
    }
  }
  if (stars == count) {
    unknown = true;
    return 0;
  }
  if (stars != 0) return std::nullopt;
  return value;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

}  // namespace

std::string CheckDmtfDatetime(std::string_view text) {
  static const std::string kForm =
      "expected a DMTF date-time such as 20240131235959.000000+060 (yyyymmddHHMMSS.mmmmmm and the "
      "offset from UTC in minutes), or an interval such as 00000001000000.000000:000";
  if (text.size() != 25 || text[14] != '.') return "Not a date-time: " + kForm;
  const char sign = text[21];
  const bool interval = sign == ':';
  if (!interval && sign != '+' && sign != '-') return "Not a date-time: " + kForm;

  struct Part {
    size_t first;
    size_t count;
    int low;
    int high;
    const char* name;
  };
  // Intervals have days where date-times have the date; the clock fields are the same.
  static constexpr std::array<Part, 7> kDateTimeParts = {{
      {0, 4, 0, 9999, "year"},
      {4, 2, 1, 12, "month"},
      {6, 2, 1, 31, "day"},
      {8, 2, 0, 23, "hour"},
      {10, 2, 0, 59, "minute"},
      {12, 2, 0, 59, "second"},
      {15, 6, 0, 999999, "microseconds"},
  }};
  bool unknown = false;
  std::array<std::optional<int>, 7> values;
  for (size_t i = 0; i < kDateTimeParts.size(); ++i) {
    const Part& part = kDateTimeParts[i];
    if (interval && i < 3) continue;
    const std::optional<int> value = Field(text, part.first, part.count, !interval, unknown);
    if (!value) return "Not a date-time: " + kForm;
    if (!unknown && (*value < part.low || *value > part.high)) {
      return std::string("The ") + part.name + " is out of range: " + kForm;
    }
    if (!unknown) values[i] = value;
  }
  if (interval) {
    for (size_t i = 0; i < 8; ++i) {
      if (text[i] < '0' || text[i] > '9') return "Not a date-time: " + kForm;
    }
    if (text.substr(22) != "000") return "Not a date-time: an interval ends in \":000\"";
    return {};
  }
  if (values[0] && values[1] && values[2] && *values[2] > DaysInMonth(*values[0], *values[1])) {
    return "The day is out of range: " + kForm;
  }
  bool offsetUnknown = false;
  const std::optional<int> offset = Field(text, 22, 3, true, offsetUnknown);
  if (!offset) return "Not a date-time: " + kForm;
  if (!offsetUnknown && *offset > 840) return "The offset from UTC is out of range: " + kForm;
  return {};
}

ParameterParse ParseScalar(std::string_view text, uint16_t cimType) {
  if (const IntegerRange* range = IntegerRangeOf(cimType)) return ParseInteger(text, *range);
  switch (cimType) {
    case kCimReal32:
    case kCimReal64:
      return ParseReal(text, cimType);
    case kCimBoolean:
      return ParseBoolean(text);
    case kCimString:
      return Accept(Value::Text(std::string(text)), kCimString);
    case kCimChar16:
      return ParseChar16(text);
    case kCimDatetime: {
      const std::string trimmed = util::Trim(text);
      std::string error = CheckDmtfDatetime(trimmed);
      if (!error.empty()) return Refuse(std::move(error));
      return Accept(Value::Text(trimmed), kCimDatetime);
    }
    case kCimReference:
      return ParseReference(text);
    case kCimObject:
      return Refuse("An embedded object cannot be typed in here");
    default:
      return Refuse("This type of value cannot be typed in here");
  }
}

ParameterParse ParseParameterText(std::string_view text, uint16_t cimType) {
  const auto element = static_cast<uint16_t>(cimType & ~kCimArrayFlag);
  const bool blankIsNothing = element != kCimString;
  if (text.empty() || (blankIsNothing && util::Trim(text).empty())) {
    ParameterValue nothing;
    nothing.cimType = cimType;
    return {std::move(nothing), {}};
  }
  if ((cimType & kCimArrayFlag) == 0) return ParseScalar(text, cimType);

  ParameterValue array;
  array.cimType = cimType;
  array.given = true;
  size_t lineNumber = 0;
  size_t begin = 0;
  while (begin <= text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNumber;
    begin = end + 1;
    if (line.empty() || (blankIsNothing && util::Trim(line).empty())) continue;
    if (array.elements.size() == kMaxArrayElements) {
      return Refuse("Too many lines: at most " + std::to_string(kMaxArrayElements) + " elements");
    }
    ParameterParse one = ParseScalar(line, element);
    if (!one.value) return Refuse("Line " + std::to_string(lineNumber) + ": " + one.error);
    array.elements.push_back(std::move(one.value->elements.front()));
  }
  return {std::move(array), {}};
}

}  // namespace brevane::wmi
