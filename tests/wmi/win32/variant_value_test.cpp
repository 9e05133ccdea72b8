#include "wmi/win32/variant_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "framework/win32/com_variant.h"

namespace brevane::wmi::win32 {
namespace {

using brevane::framework::win32::Variant;

TEST(VariantValueTest, ScalarsKeepTagAndPayload) {
  struct Case {
    const char* what;
    VARIANT variant;
    uint16_t type;
    int64_t integer;
  };
  auto make = [](VARTYPE vt, auto setter) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    setter(v);
    return v;
  };
  const Case cases[] = {
      {"I1", make(VT_I1, [](VARIANT& v) { v.cVal = -5; }), kVtI1, -5},
      {"UI1", make(VT_UI1, [](VARIANT& v) { v.bVal = 200; }), kVtUi1, 200},
      {"I2", make(VT_I2, [](VARIANT& v) { v.iVal = -300; }), kVtI2, -300},
      {"UI2", make(VT_UI2, [](VARIANT& v) { v.uiVal = 60000; }), kVtUi2, 60000},
      {"I4", make(VT_I4, [](VARIANT& v) { v.lVal = -70000; }), kVtI4, -70000},
      {"UI4", make(VT_UI4, [](VARIANT& v) { v.ulVal = 4000000000u; }), kVtUi4, 4000000000},
      {"INT", make(VT_INT, [](VARIANT& v) { v.intVal = -1; }), kVtInt, -1},
      {"UINT", make(VT_UINT, [](VARIANT& v) { v.uintVal = 3000000000u; }), kVtUint, 3000000000},
      {"I8", make(VT_I8, [](VARIANT& v) { v.llVal = std::numeric_limits<int64_t>::min(); }), kVtI8,
       std::numeric_limits<int64_t>::min()},
      // Unsigned 64-bit values keep their bit pattern.
      {"UI8", make(VT_UI8, [](VARIANT& v) { v.ullVal = ~0ull; }), kVtUi8, -1},
      {"BOOL true", make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_TRUE; }), kVtBool, -1},
      {"BOOL odd true", make(VT_BOOL, [](VARIANT& v) { v.boolVal = 1; }), kVtBool, -1},
      {"BOOL false", make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_FALSE; }), kVtBool, 0},
      {"ERROR", make(VT_ERROR, [](VARIANT& v) { v.scode = E_FAIL; }), kVtError,
       static_cast<int32_t>(E_FAIL)},
      {"CY", make(VT_CY, [](VARIANT& v) { v.cyVal.int64 = 12345678; }), kVtCy, 12345678},
      {"EMPTY", make(VT_EMPTY, [](VARIANT&) {}), kVtEmpty, 0},
      {"NULL", make(VT_NULL, [](VARIANT&) {}), kVtNull, 0},
      {"UNKNOWN", make(VT_UNKNOWN, [](VARIANT& v) { v.punkVal = nullptr; }), kVtUnknown, 0},
      {"DISPATCH", make(VT_DISPATCH, [](VARIANT& v) { v.pdispVal = nullptr; }), kVtDispatch, 0},
      {"RECORD", make(VT_RECORD, [](VARIANT&) {}), VT_RECORD, 0},
      {"odd tag", make(0x0FFF, [](VARIANT&) {}), 0x0FFF, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Value value = VariantToValue(c.variant);
    EXPECT_EQ(value.type, c.type);
    EXPECT_EQ(value.integer, c.integer);
    EXPECT_TRUE(value.bounds.empty());
  }
}

TEST(VariantValueTest, RealsAndDates) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R4;
  v.fltVal = 1.5f;
  EXPECT_EQ(VariantToValue(v).real, 1.5);
  v.vt = VT_R8;
  v.dblVal = 3.14159;
  EXPECT_EQ(VariantToValue(v).real, 3.14159);
  v.vt = VT_DATE;
  v.date = 46363.6041666667;  // 7 December 2026 14:30
  const Value date = VariantToValue(v);
  EXPECT_EQ(date.type, kVtDate);
  EXPECT_EQ(date.real, 46363.6041666667);
}

TEST(VariantValueTest, DecimalKeepsMagnitudeScaleAndSign) {
  VARIANT v;
  VariantInit(&v);
  DECIMAL d{};
  d.Hi32 = 7;
  d.Lo64 = 123456789012345ull;
  d.scale = 4;
  d.sign = DECIMAL_NEG;
  v.decVal = d;
  v.vt = VT_DECIMAL;  // after decVal, which overlaps the tag
  const Value value = VariantToValue(v);
  EXPECT_EQ(value.type, kVtDecimal);
  EXPECT_EQ(value.decimal.hi32, 7u);
  EXPECT_EQ(value.decimal.lo64, 123456789012345ull);
  EXPECT_EQ(value.decimal.scale, 4);
  EXPECT_TRUE(value.decimal.negative);
}

TEST(VariantValueTest, TextUsesTheLengthAndSurvivesBrokenUtf16) {
  struct Case {
    std::wstring wide;
    std::string utf8;
  } const cases[] = {
      {std::wstring(L"a\0b", 3), std::string("a\0b", 3)},
      {L"\u672C\u673A", "\xE6\x9C\xAC\xE6\x9C\xBA"},
      {std::wstring(L"x") + wchar_t(0xD800) + L"y", "x\xEF\xBF\xBDy"},  // lone high surrogate
      {std::wstring(1, wchar_t(0xDC00)), "\xEF\xBF\xBD"},               // lone low surrogate
      {L"", ""},
  };
  for (const auto& c : cases) {
    Variant v;
    VARIANT* raw = v.Receive();
    raw->vt = VT_BSTR;
    raw->bstrVal = SysAllocStringLen(c.wide.data(), static_cast<UINT>(c.wide.size()));
    const Value value = VariantToValue(v.Get());
    EXPECT_EQ(value.type, kVtBstr);
    EXPECT_EQ(value.text, c.utf8);
  }
  VARIANT nullText;
  VariantInit(&nullText);
  nullText.vt = VT_BSTR;
  nullText.bstrVal = nullptr;
  EXPECT_EQ(VariantToValue(nullText).text, "");
}

TEST(VariantValueTest, ByReferenceValuesAreReadThrough) {
  LONG number = 42;
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4 | VT_BYREF;
  v.plVal = &number;
  Value value = VariantToValue(v);
  EXPECT_EQ(value.type, kVtByRefBit | kVtI4);
  EXPECT_EQ(value.integer, 42);

  ULONGLONG big = 18446744073709551615ull;
  v.vt = VT_UI8 | VT_BYREF;
  v.pullVal = &big;
  EXPECT_EQ(VariantToValue(v).integer, -1);

  BSTR text = SysAllocString(L"by reference");
  v.vt = VT_BSTR | VT_BYREF;
  v.pbstrVal = &text;
  EXPECT_EQ(VariantToValue(v).text, "by reference");
  SysFreeString(text);

  // A null reference keeps the tag and nothing else.
  v.vt = VT_R8 | VT_BYREF;
  v.pdblVal = nullptr;
  value = VariantToValue(v);
  EXPECT_EQ(value.type, kVtByRefBit | kVtR8);
  EXPECT_EQ(value.real, 0);
}

TEST(VariantValueTest, VariantReferenceKeepsTheReferencedValue) {
  VARIANT inner;
  VariantInit(&inner);
  inner.vt = VT_I2;
  inner.iVal = 7;
  VARIANT outer;
  VariantInit(&outer);
  outer.vt = VT_VARIANT | VT_BYREF;
  outer.pvarVal = &inner;
  const Value value = VariantToValue(outer);
  EXPECT_EQ(value.type, kVtByRefBit | kVtVariant);
  ASSERT_NE(value.referenced, nullptr);
  EXPECT_EQ(value.referenced->type, kVtI2);
  EXPECT_EQ(value.referenced->integer, 7);

  // A malformed value that refers to itself ends instead of recursing forever.
  VARIANT loop;
  VariantInit(&loop);
  loop.vt = VT_VARIANT | VT_BYREF;
  loop.pvarVal = &loop;
  const Value looped = VariantToValue(loop);
  int depth = 0;
  for (const Value* v = &looped; v->referenced; v = v->referenced.get()) ++depth;
  EXPECT_LT(depth, 10);
}

TEST(VariantValueTest, ArraysKeepDimensionsAndBoundsOnly) {
  SAFEARRAYBOUND twoDims[2] = {{3, 0}, {4, 1}};  // first dimension 0..2, second 1..4
  Variant matrix;
  VARIANT* rawMatrix = matrix.Receive();
  rawMatrix->vt = VT_ARRAY | VT_I4;
  rawMatrix->parray = SafeArrayCreate(VT_I4, 2, twoDims);
  ASSERT_NE(matrix.Get().parray, nullptr);
  Value value = VariantToValue(matrix.Get());
  EXPECT_EQ(value.type, kVtArrayBit | kVtI4);
  ASSERT_EQ(value.bounds.size(), 2u);
  EXPECT_EQ(value.bounds[0].lower, 0);
  EXPECT_EQ(value.bounds[0].upper, 2);
  EXPECT_EQ(value.bounds[1].lower, 1);
  EXPECT_EQ(value.bounds[1].upper, 4);

  Variant empty;
  VARIANT* rawEmpty = empty.Receive();
  rawEmpty->vt = VT_ARRAY | VT_BSTR;
  rawEmpty->parray = SafeArrayCreateVector(VT_BSTR, 0, 0);
  value = VariantToValue(empty.Get());
  EXPECT_EQ(value.type, kVtArrayBit | kVtBstr);
  ASSERT_EQ(value.bounds.size(), 1u);
  EXPECT_EQ(value.bounds[0].lower, 0);
  EXPECT_EQ(value.bounds[0].upper, -1);

  // By reference, and with no array at all.
  SAFEARRAY* shared = matrix.Get().parray;
  VARIANT byRef;
  VariantInit(&byRef);
  byRef.vt = VT_ARRAY | VT_BYREF | VT_I4;
  byRef.pparray = &shared;
  value = VariantToValue(byRef);
  EXPECT_EQ(value.type, kVtByRefBit | kVtArrayBit | kVtI4);
  EXPECT_EQ(value.bounds.size(), 2u);
  byRef.pparray = nullptr;
  EXPECT_TRUE(VariantToValue(byRef).bounds.empty());
  VARIANT noArray;
  VariantInit(&noArray);
  noArray.vt = VT_ARRAY | VT_VARIANT;
  noArray.parray = nullptr;
  EXPECT_TRUE(VariantToValue(noArray).bounds.empty());
}

}  // namespace
}  // namespace brevane::wmi::win32
