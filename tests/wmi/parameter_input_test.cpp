#include "wmi/parameter_input.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brevane::wmi {
namespace {

// "I4:-1", "BSTR:42", "R8:0.5": the VARIANT tag and the payload, or "!" and the error.
std::string Shape(const ParameterParse& parse) {
  if (!parse.value) return "!" + parse.error;
  if (!parse.value->given) return "(not given)";
  std::ostringstream out;
  for (const Value& v : parse.value->elements) {
    if (&v != &parse.value->elements.front()) out << " ";
    switch (v.type) {
      case kVtI2:
        out << "I2:" << v.integer;
        break;
      case kVtI4:
        out << "I4:" << v.integer;
        break;
      case kVtUi1:
        out << "UI1:" << v.integer;
        break;
      case kVtBool:
        out << "BOOL:" << v.integer;
        break;
      case kVtR4:
        out << "R4:" << v.real;
        break;
      case kVtR8:
        out << "R8:" << v.real;
        break;
      case kVtBstr:
        out << "BSTR:" << v.text;
        break;
      default:
        out << "?" << v.type;
    }
  }
  return out.str();
}

TEST(ParameterInputTest, ScalarsTakeTheShapeOfTheirCimTypeAndItsRange) {
  const struct {
    const char* text;
    uint16_t cimType;
    const char* shape;  // "!..." : the error starts so
  } cases[] = {
      {"255", kCimUint8, "UI1:255"},
      {"256", kCimUint8, "!Out of range: expected a whole number from 0 to 255 (uint8)"},
      {"-1", kCimUint8, "!Out of range"},
      {"-0", kCimUint8, "UI1:0"},
      {"-128", kCimSint8, "I2:-128"},
      {"-129", kCimSint8, "!Out of range"},
      {"127", kCimSint8, "I2:127"},
      {" 0x7FFF ", kCimSint16, "I2:32767"},
      {"0x8000", kCimSint16, "!Out of range"},
      {"65535", kCimUint16, "I4:65535"},
      {"65536", kCimUint16, "!Out of range"},
      {"-2147483648", kCimSint32, "I4:-2147483648"},
      {"2147483648", kCimSint32, "!Out of range"},
      // uint32 keeps its bits in the signed VT_I4, as WMI hands it over.
      {"4294967295", kCimUint32, "I4:-1"},
      {"4294967296", kCimUint32, "!Out of range"},
      {"+10", kCimUint32, "I4:10"},
      {"-9223372036854775808", kCimSint64, "BSTR:-9223372036854775808"},
      {"9223372036854775808", kCimSint64, "!Out of range"},
      {"18446744073709551615", kCimUint64, "BSTR:18446744073709551615"},
      {"18446744073709551616", kCimUint64, "!Out of range"},
      {"99999999999999999999999999999", kCimUint64, "!Out of range"},
      {"12a", kCimUint32, "!Not a number: expected a whole number from 0 to 4294967295 (uint32)"},
      {"1.5", kCimUint32, "!Not a number"},
      {"0x", kCimUint32, "!Not a number"},
      {"-", kCimSint32, "!Not a number"},
      {"1.5", kCimReal32, "R4:1.5"},
      {"-2.5e3", kCimReal64, "R8:-2500"},
      {"+.25", kCimReal64, "R8:0.25"},
      {"1e39", kCimReal32, "!Out of range"},
      {"1e39", kCimReal64, "R8:1e+39"},
      {"1e400", kCimReal64, "!Out of range"},
      {"inf", kCimReal64, "!Not a number"},
      {"-nan", kCimReal64, "!Not a number"},
      {"1,5", kCimReal64, "!Not a number: expected a number (real64), with \".\""},
      {"TRUE", kCimBoolean, "BOOL:-1"},
      {"0", kCimBoolean, "BOOL:0"},
      {"yes", kCimBoolean, "!Not a boolean"},
      {" a b ", kCimString, "BSTR: a b "},
      {"x", kCimChar16, "I2:120"},
      {"\xE4\xB8\xAD", kCimChar16, "I2:20013"},  // U+4E2D
      {"\xEF\xBF\xBF", kCimChar16, "I2:-1"},     // U+FFFF keeps its bits
      {"ab", kCimChar16, "!Expected exactly one character"},
      {"\xF0\x9F\x98\x80", kCimChar16, "!Expected exactly one character"},
      {"Win32_Service.Name=\"x\"", kCimReference, "BSTR:Win32_Service.Name=\"x\""},
      {"A\x01", kCimReference, "!Expected an object path"},
      {"20240229235959.000000+060", kCimDatetime, "BSTR:20240229235959.000000+060"},
      {"", kCimObject, "(not given)"},
      {"x", kCimObject, "!An embedded object cannot be typed in here"},
  };
  for (const auto& c : cases) {
    const std::string shape = Shape(ParseParameterText(c.text, c.cimType));
    if (c.shape[0] == '!') {
      EXPECT_EQ(shape.rfind(c.shape, 0), 0u) << c.text << " -> " << shape;
    } else {
      EXPECT_EQ(shape, c.shape) << c.text;
    }
  }
}

TEST(ParameterInputTest, DmtfDatesAndIntervalsAreChecked) {
  const struct {
    const char* text;
    const char* error;  // the start of the error; "" when accepted
  } cases[] = {
      {"20240229235959.000000+060", ""},
      {"20240131000000.123456-300", ""},
      {"2024********************", "Not a date-time"},
      {"2024**********.******+***", ""},
      {"********000000.000000+000", ""},
      {"00000001123456.000000:000", ""},
      {"99999999235959.999999:000", ""},
      {"00000001243456.000000:000", "The hour is out of range"},
      {"00000001000000.000000:060", "Not a date-time: an interval ends in \":000\""},
      {"20230229000000.000000+000", "The day is out of range"},
      {"21000229000000.000000+000", "The day is out of range"},
      {"20001301000000.000000+000", "The month is out of range"},
      {"20000100000000.000000+000", "The day is out of range"},
      {"20000101006000.000000+000", "The minute is out of range"},
      {"20000101000060.000000+000", "The second is out of range"},
      {"20000101000000.000000+841", "The offset from UTC is out of range"},
      {"20000101000000,000000+000", "Not a date-time"},
      {"20000101000000.000000*000", "Not a date-time"},
      {"2000010100000.000000+000", "Not a date-time"},
      {"20*00101000000.000000+000", "Not a date-time"},
      {"2024-01-31 10:00", "Not a date-time"},
  };
  for (const auto& c : cases) {
    const std::string error = CheckDmtfDatetime(c.text);
    if (c.error[0] == '\0') {
      EXPECT_EQ(error, "") << c.text;
    } else {
      EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " -> " << error;
    }
  }
}

TEST(ParameterInputTest, FieldsAndArrays) {
  const struct {
    const char* text;
    uint16_t cimType;
    const char* shape;
  } cases[] = {
      // Empty means not given; blanks too, except for a string, where they are the value.
      {"", kCimString, "(not given)"},
      {"  ", kCimUint32, "(not given)"},
      {"  ", kCimString, "BSTR:  "},
      {"", kCimUint32 | kCimArrayFlag, "(not given)"},
      {"1\r\n2\n\n 3 \n", kCimUint8 | kCimArrayFlag, "UI1:1 UI1:2 UI1:3"},
      {"a\r\nb c", kCimString | kCimArrayFlag, "BSTR:a BSTR:b c"},
      {"1\n2\n300", kCimUint8 | kCimArrayFlag, "!Line 3: Out of range"},
      {"true\nmaybe", kCimBoolean | kCimArrayFlag, "!Line 2: Not a boolean"},
  };
  for (const auto& c : cases) {
    const std::string shape = Shape(ParseParameterText(c.text, c.cimType));
    if (c.shape[0] == '!') {
      EXPECT_EQ(shape.rfind(c.shape, 0), 0u) << c.text << " -> " << shape;
    } else {
      EXPECT_EQ(shape, c.shape) << c.text;
    }
  }
  const ParameterParse array = ParseParameterText("1\n2", kCimSint32 | kCimArrayFlag);
  ASSERT_TRUE(array.value);
  EXPECT_TRUE(array.value->IsArray());
  EXPECT_EQ(array.value->elements.at(1).cimType, kCimSint32);

  std::string huge;
  for (size_t i = 0; i <= kMaxArrayElements; ++i) huge += "1\n";
  EXPECT_EQ(Shape(ParseParameterText(huge, kCimUint8 | kCimArrayFlag)).rfind("!Too many lines", 0),
            0u);
}

}  // namespace
}  // namespace brevane::wmi
