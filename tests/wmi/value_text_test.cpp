#include "wmi/value_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brevane::wmi {
namespace {

constexpr const char* kInvalid = "Invalid variant type conversion";

RegionalSettings German() {
  RegionalSettings regional;
  regional.shortDatePicture = "dd.MM.yyyy";
  regional.longTimePicture = "HH:mm:ss";
  regional.decimalSeparator = ",";
  return regional;
}

Value Currency(int64_t scaled) {
  return Value::Int(scaled, kVtCy);
}

Value Decimal(uint32_t hi, uint64_t lo, uint8_t scale, bool negative) {
  Value v;
  v.type = kVtDecimal;
  v.decimal = {hi, lo, scale, negative};
  return v;
}

Value ByRef(Value referent) {
  Value v;
  v.type = static_cast<uint16_t>(kVtVariant | kVtByRefBit);
  v.referenced = std::make_shared<const Value>(std::move(referent));
  return v;
}

Value WithByRefBit(Value v) {
  v.type = static_cast<uint16_t>(v.type | kVtByRefBit);
  return v;
}

Value OfType(uint16_t type) {
  Value v;
  v.type = type;
  return v;
}

struct RenderCase {
  const char* name;
  Value value;
  std::string us;      // en-US defaults
  std::string german;  // dd.MM.yyyy, decimal comma
};

TEST(ValueToTextTest, EveryKindUnderTwoRegionalSettings) {
  const double kDec7At1430 = 46363.0 + 14.5 / 24;
  const RenderCase cases[] = {
      {"empty", Value::Empty(), "", ""},
      {"null", Value::Null(), "", ""},
      {"date drops the time", Value::Date(kDec7At1430), "12/7/2026", "07.12.2026"},
      {"text untouched", Value::Text("  padded \t"), "  padded \t", "  padded \t"},
      {"utf8 text", Value::Text("Straße 東京"), "Straße 東京", "Straße 東京"},
      {"i4", Value::Int(-42), "-42", "-42"},
      {"i4 min", Value::Int(INT32_MIN), "-2147483648", "-2147483648"},
      {"i2", Value::Int(-32768, kVtI2), "-32768", "-32768"},
      {"i1", Value::Int(-5, kVtI1), "-5", "-5"},
      {"ui1", Value::Int(255, kVtUi1), "255", "255"},
      {"ui2", Value::Int(65535, kVtUi2), "65535", "65535"},
      {"ui4 unsigned", Value::Int(0xFFFFFFFFll, kVtUi4), "4294967295", "4294967295"},
      {"uint", Value::Int(-1, kVtUint), "4294967295", "4294967295"},
      {"i8", Value::Int(INT64_MIN, kVtI8), "-9223372036854775808", "-9223372036854775808"},
      {"ui8 unsigned", Value::Int(-1, kVtUi8), "18446744073709551615", "18446744073709551615"},
      {"bool true", Value::Bool(true), "-1", "-1"},
      {"bool false", Value::Bool(false), "0", "0"},
      {"bool nonzero", Value::Int(1, kVtBool), "-1", "-1"},
      {"r8", Value::Real(1.5), "1.5", "1,5"},
      {"r8 shortest", Value::Real(0.1), "0.1", "0,1"},
      {"r8 sum", Value::Real(0.1 + 0.2), "0.30000000000000004", "0,30000000000000004"},
      {"r8 negative", Value::Real(-2.25), "-2.25", "-2,25"},
      {"r8 integral", Value::Real(100.0), "100", "100"},
      {"r8 big plain", Value::Real(123456789012345.0), "123456789012345", "123456789012345"},
      {"r8 exponent", Value::Real(1e20), "1E+20", "1E+20"},
      {"r8 1e15", Value::Real(1e15), "1E+15", "1E+15"},
      {"r8 small", Value::Real(1e-5), "1E-05", "1E-05"},
      {"r8 small plain", Value::Real(0.0001), "0.0001", "0,0001"},
      {"r8 mantissa", Value::Real(-1.25e-100), "-1.25E-100", "-1,25E-100"},
      {"r8 zero", Value::Real(0.0), "0", "0"},
      {"r8 negative zero", Value::Real(-0.0), "0", "0"},
      {"r8 max", Value::Real(std::numeric_limits<double>::max()), "1.7976931348623157E+308",
       "1,7976931348623157E+308"},
      {"r8 denormal", Value::Real(5e-324), "5E-324", "5E-324"},
      {"r4 as float", Value::Real(0.1f, kVtR4), "0.1", "0,1"},
      {"r4 exponent", Value::Real(12345678.0, kVtR4), "1.2345678E+07", "1,2345678E+07"},
      {"r4 plain", Value::Real(1234567.0, kVtR4), "1234567", "1234567"},
      {"currency", Currency(15000), "1.5", "1,5"},
      {"currency whole", Currency(120000), "12", "12"},
      {"currency small", Currency(-1), "-0.0001", "-0,0001"},
      {"currency min", Currency(INT64_MIN), "-922337203685477.5808", "-922337203685477,5808"},
      {"decimal", Decimal(0, 12345, 2, true), "-123.45", "-123,45"},
      {"decimal trailing zeros", Decimal(0, 1500, 3, false), "1.5", "1,5"},
      {"decimal leading zeros", Decimal(0, 5, 4, false), "0.0005", "0,0005"},
      {"decimal max", Decimal(0xFFFFFFFFu, ~0ull, 0, false), "79228162514264337593543950335",
       "79228162514264337593543950335"},
      {"decimal max scale", Decimal(0xFFFFFFFFu, ~0ull, 28, false),
       "7.9228162514264337593543950335", "7,9228162514264337593543950335"},
      {"decimal negative zero", Decimal(0, 0, 5, true), "0", "0"},
      {"decimal bad scale", Decimal(0, 1, 29, false), kInvalid, kInvalid},
      {"unknown object", Value::Object(), kInvalid, kInvalid},
      {"dispatch object", OfType(kVtDispatch), kInvalid, kInvalid},
      {"error code", Value::Int(5, kVtError), kInvalid, kInvalid},
      {"bare variant", OfType(kVtVariant), kInvalid, kInvalid},
      {"unknown kind", OfType(0x0FFF), kInvalid, kInvalid},
      {"vector bit", OfType(0x1003), kInvalid, kInvalid},
      {"date out of range", Value::Date(3e6), kInvalid, kInvalid},
      {"date nan", Value::Date(std::nan("")), kInvalid, kInvalid},
      {"r8 nan", Value::Real(std::nan("")), "NaN", "NaN"},
      {"r8 inf", Value::Real(-std::numeric_limits<double>::infinity()), "-INF", "-INF"},
  };
  const RegionalSettings us;
  const RegionalSettings german = German();
  for (const RenderCase& c : cases) {
    EXPECT_EQ(ValueToText(c.value, us), c.us) << c.name;
    EXPECT_EQ(ValueToText(c.value, german), c.german) << c.name;
  }
}

Value Cim(Value v, uint16_t cimType) {
  v.cimType = cimType;
  return v;
}

// Each CIM type in the VARIANT the native API hands it over in ("Numbers" in WMI's
// documentation): the CIM type decides how an integer payload reads.
TEST(ValueToTextTest, CimTypesAsTheNativeApiDeliversThem) {
  const struct {
    const char* name;
    Value value;
    std::string text;
  } cases[] = {
      {"uint32 max as VT_I4", Cim(Value::Int(-1), kCimUint32), "4294967295"},
      {"uint32 high bit as VT_I4", Cim(Value::Int(INT32_MIN), kCimUint32), "2147483648"},
      {"uint32 small", Cim(Value::Int(7), kCimUint32), "7"},
      {"uint32 unknown cim type stays signed", Value::Int(-1), "-1"},
      {"sint32", Cim(Value::Int(-1), kCimSint32), "-1"},
      {"uint16 as VT_I4", Cim(Value::Int(65535), kCimUint16), "65535"},
      {"uint16 sign-extended", Cim(Value::Int(-1), kCimUint16), "65535"},
      {"sint16 as VT_I2", Cim(Value::Int(-32768, kVtI2), kCimSint16), "-32768"},
      {"sint8 as VT_I2", Cim(Value::Int(-128, kVtI2), kCimSint8), "-128"},
      {"uint8 as VT_UI1", Cim(Value::Int(255, kVtUi1), kCimUint8), "255"},
      {"char16 ascii as VT_I2", Cim(Value::Int('A', kVtI2), kCimChar16), "A"},
      {"char16 cjk as VT_I2", Cim(Value::Int(static_cast<int16_t>(0x6728), kVtI2), kCimChar16),
       "\xE6\x9C\xA8"},
      {"char16 high as VT_I2", Cim(Value::Int(static_cast<int16_t>(0xFF21), kVtI2), kCimChar16),
       "\xEF\xBC\xA1"},
      {"char16 two-byte", Cim(Value::Int(0xE9, kVtI2), kCimChar16), "\xC3\xA9"},
      {"char16 lone surrogate", Cim(Value::Int(static_cast<int16_t>(0xD800), kVtI2), kCimChar16),
       "\xEF\xBF\xBD"},
      {"char16 nul", Cim(Value::Int(0, kVtI2), kCimChar16), ""},
      {"uint64 as text", Cim(Value::Text("18446744073709551615"), kCimUint64),
       "18446744073709551615"},
      {"sint64 as text", Cim(Value::Text("-9223372036854775808"), kCimSint64),
       "-9223372036854775808"},
      {"uint64 as VT_I8", Cim(Value::Int(-1, kVtI8), kCimUint64), "18446744073709551615"},
      {"sint64 as VT_UI8", Cim(Value::Int(-2, kVtUi8), kCimSint64), "-2"},
      {"datetime as text", Cim(Value::Text("20261207143000.000000+060"), kCimDatetime),
       "20261207143000.000000+060"},
      {"reference as text", Cim(Value::Text("Win32_LogicalDisk.DeviceID=\"C:\""), kCimReference),
       "Win32_LogicalDisk.DeviceID=\"C:\""},
      {"string", Cim(Value::Text("-1"), kCimString), "-1"},
      {"boolean", Cim(Value::Bool(true), kCimBoolean), "-1"},
      {"real32", Cim(Value::Real(0.5f, kVtR4), kCimReal32), "0.5"},
      {"real64", Cim(Value::Real(-2.25), kCimReal64), "-2.25"},
      {"object", Cim(Value::Object(), kCimObject), kInvalid},
      {"null uint32", Cim(Value::Null(), kCimUint32), ""},
      {"uint32 array", Cim(Value::Array(kVtI4, {{0, 2}}), kCimUint32 | kCimArrayFlag),
       "array[0..2]"},
      {"char16 array", Cim(Value::Array(kVtI2, {{0, 0}}), kCimChar16 | kCimArrayFlag),
       "array[0..0]"},
      {"uint16 array by reference",
       Cim(WithByRefBit(Value::Array(kVtI4, {{0, 1}})), kCimUint16 | kCimArrayFlag), "array[0..1]"},
      {"uint32 by reference", Cim(ByRef(Value::Int(-1)), kCimUint32), "4294967295"},
      {"uint32 referent's own type", ByRef(Cim(Value::Int(-1), kCimUint32)), "4294967295"},
      {"unknown cim code", Cim(Value::Int(-1), 999), "-1"},
  };
  const RegionalSettings regional;
  for (const auto& c : cases) EXPECT_EQ(ValueToText(c.value, regional), c.text) << c.name;
}

TEST(ValueToTextTest, DatePictureWithLiterals) {
  RegionalSettings regional;
  regional.shortDatePicture = "yyyy'年'M'月'd'日'";
  EXPECT_EQ(ValueToText(Value::Date(46363.75), regional), "2026年12月7日");
}

TEST(ValueToTextTest, ArraysShowOnlyTheirBounds) {
  const RegionalSettings regional;
  EXPECT_EQ(ValueToText(Value::Array(kVtBstr, {{0, 0}}), regional), "array[0..0]");
  EXPECT_EQ(ValueToText(Value::Array(kVtI4, {{0, 3}}), regional), "array[0..3]");
  EXPECT_EQ(ValueToText(Value::Array(kVtVariant, {{0, 2}, {1, 4}}), regional), "array[0..2 1..4]");
  EXPECT_EQ(ValueToText(Value::Array(kVtI4, {{0, -1}}), regional), "array[0..-1]");
  EXPECT_EQ(ValueToText(Value::Array(kVtI4, {}), regional), "array[]");
  EXPECT_EQ(ValueToText(Value::Array(kVtUnknown, {{INT64_MIN, INT64_MAX}}), regional),
            "array[-9223372036854775808..9223372036854775807]");
  // A date array is an array: the array rule comes before nothing but the exact date tag.
  EXPECT_EQ(ValueToText(Value::Array(kVtDate, {{1, 2}}), regional), "array[1..2]");

  std::vector<ArrayBound> many(32, ArrayBound{0, (1 << 20) - 1});
  std::string expected = "array[";
  for (int d = 0; d < 32; ++d) expected += d ? " 0..1048575" : "0..1048575";
  EXPECT_EQ(ValueToText(Value::Array(kVtR8, std::move(many)), regional), expected + "]");
}

TEST(ValueToTextTest, ByReferenceRendersTheReferent) {
  const RegionalSettings us;
  const RegionalSettings german = German();
  EXPECT_EQ(ValueToText(ByRef(Value::Int(7)), us), "7");
  EXPECT_EQ(ValueToText(ByRef(Value::Text(" x ")), us), " x ");
  EXPECT_EQ(ValueToText(ByRef(Value::Real(2.5)), german), "2,5");
  EXPECT_EQ(ValueToText(ByRef(Value::Object()), us), kInvalid);
  EXPECT_EQ(ValueToText(ByRef(Value::Array(kVtI4, {{0, 1}})), us), "array[0..1]");
  EXPECT_EQ(ValueToText(ByRef(Value::Empty()), us), "");
  // Held by reference a date is not exactly the date tag: it keeps its time of day.
  EXPECT_EQ(ValueToText(ByRef(Value::Date(46363.0 + 14.5 / 24)), us), "12/7/2026 2:30:00 PM");
  EXPECT_EQ(ValueToText(ByRef(Value::Date(46363.0 + 14.5 / 24)), german), "07.12.2026 14:30:00");
  EXPECT_EQ(ValueToText(ByRef(Value::Date(46363.0)), us), "12/7/2026");
  // Without a referent the value's own payload is the referenced value.
  EXPECT_EQ(ValueToText(WithByRefBit(Value::Int(-3)), us), "-3");
  EXPECT_EQ(ValueToText(WithByRefBit(Value::Bool(true)), us), "-1");
  EXPECT_EQ(ValueToText(WithByRefBit(Value::Date(0.75)), us), "12/30/1899 6:00:00 PM");
  EXPECT_EQ(ValueToText(WithByRefBit(Value::Array(kVtI4, {{2, 5}})), us), "array[2..5]");
  EXPECT_EQ(ValueToText(WithByRefBit(OfType(kVtVariant)), us), kInvalid);

  // A malformed endless chain of references ends in the failure text, not a hang.
  Value chain = Value::Int(1);
  for (int i = 0; i < 100; ++i) chain = ByRef(std::move(chain));
  EXPECT_EQ(ValueToText(chain, us), kInvalid);
}

TEST(ValueToTextTest, LeavesTheCallersValueAndHandlesHugeText) {
  const std::string big(10 * 1024 * 1024, 'x');
  const Value value = Value::Text(big);
  EXPECT_EQ(ValueToText(value, RegionalSettings{}), big);
  EXPECT_EQ(value.text, big);
}

TEST(ValueToTextTest, ThePlatformsRealConversionWinsWhereThereIsOne) {
  RegionalSettings regional;
  std::vector<std::pair<double, bool>> asked;
  regional.realText = [&](double value, bool single) -> std::optional<std::string> {
    asked.emplace_back(value, single);
    if (value < 0) return std::nullopt;  // the platform gave no text
    return "platform";
  };
  EXPECT_EQ(ValueToText(Value::Real(0.1 + 0.2), regional), "platform");
  EXPECT_EQ(ValueToText(Value::Real(0.5f, kVtR4), regional), "platform");
  EXPECT_EQ(ValueToText(Value::Real(-2.25), regional), "-2.25");
  EXPECT_EQ(ValueToText(Currency(15000), regional), "1.5");  // not a real
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_FALSE(asked[0].second);
  EXPECT_TRUE(asked[1].second);
  EXPECT_EQ(asked[1].first, 0.5);
}

TEST(ValueToTextTest, EmptyDecimalSeparatorFallsBackToDot) {
  RegionalSettings regional;
  regional.decimalSeparator.clear();
  EXPECT_EQ(ValueToText(Value::Real(1.5), regional), "1.5");
}

}  // namespace
}  // namespace brevane::wmi
