#include "wmi/cim_type.h"

#include <gtest/gtest.h>

namespace brevane::wmi {
namespace {

TEST(CimTypeNameTest, EveryTypeAndItsArray) {
  const struct {
    uint16_t type;
    const char* name;
  } types[] = {
      {kCimSint8, "sint8"},       {kCimUint8, "uint8"},         {kCimSint16, "sint16"},
      {kCimUint16, "uint16"},     {kCimSint32, "sint32"},       {kCimUint32, "uint32"},
      {kCimSint64, "sint64"},     {kCimUint64, "uint64"},       {kCimReal32, "real32"},
      {kCimReal64, "real64"},     {kCimBoolean, "boolean"},     {kCimString, "string"},
      {kCimDatetime, "datetime"}, {kCimReference, "reference"}, {kCimChar16, "char16"},
      {kCimObject, "object"},
  };
  for (const auto& t : types) {
    EXPECT_EQ(CimTypeName(t.type), t.name);
    EXPECT_EQ(CimTypeName(static_cast<uint16_t>(t.type | kCimArrayFlag)),
              std::string(t.name) + "[]");
    // A class name only qualifies objects and references.
    if (t.type != kCimObject && t.type != kCimReference) {
      EXPECT_EQ(CimTypeName(t.type, "Win32_Foo"), t.name);
    }
  }
}

TEST(CimTypeNameTest, ObjectsAndReferencesWithTheirClass) {
  EXPECT_EQ(CimTypeName(kCimObject, "Win32_Foo"), "object:Win32_Foo");
  EXPECT_EQ(CimTypeName(kCimObject | kCimArrayFlag, "Win32_Foo"), "object:Win32_Foo[]");
  EXPECT_EQ(CimTypeName(kCimReference, "Win32_LogicalDisk"), "ref:Win32_LogicalDisk");
  EXPECT_EQ(CimTypeName(kCimReference | kCimArrayFlag, "X"), "ref:X[]");
}

TEST(CimTypeNameTest, OnlyASingleReferenceCanBeGoneTo) {
  const struct {
    const char* name;
    bool single;
  } cases[] = {
      {"reference", true},    {"ref:Win32_Foo", true}, {"ref:", true},        {"ref:X[]", false},
      {"reference[]", false}, {"string", false},       {"object:ref", false}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSingleReference(c.name), c.single) << c.name;
}

TEST(CimTypeNameTest, UnknownCodesHaveNoName) {
  for (uint16_t code : {0, 1, 7, 99, 104, 0x2000, 0x4013, 0xFFFF}) {
    EXPECT_EQ(CimTypeName(code), "") << code;
  }
}

}  // namespace
}  // namespace brevane::wmi
