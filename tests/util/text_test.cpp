#include "util/text.h"

#include <gtest/gtest.h>

#include <string>

#include "util/secret.h"

namespace brevane::util {
namespace {

TEST(StandardIntTest, DecimalAndHexForms) {
  EXPECT_EQ(ParseStandardInt("1234"), 1234);
  EXPECT_EQ(ParseStandardInt("$10"), 16);
  EXPECT_EQ(ParseStandardInt("0x1F"), 31);
  EXPECT_EQ(ParseStandardInt("0X1f"), 31);
  EXPECT_EQ(ParseStandardInt("x10"), 16);
  EXPECT_EQ(ParseStandardInt("X10"), 16);
  EXPECT_EQ(ParseStandardInt("-$10"), -16);
  EXPECT_EQ(ParseStandardInt("+7"), 7);
  EXPECT_EQ(ParseStandardInt("   42"), 42);
}

TEST(StandardIntTest, RejectsWhatDoesNotConvert) {
  for (const char* text : {"", " ", "abc", "12a", "42 ", "-", "+", "$", "0x", "1.5", "--1",
                           "2147483648", "-2147483649", "99999999999999999999999"}) {
    EXPECT_EQ(ParseStandardInt(text), std::nullopt) << text;
  }
  EXPECT_EQ(StrToIntDef("nope", -1), -1);
}

TEST(StandardIntTest, RangeLimits) {
  EXPECT_EQ(ParseStandardInt("2147483647"), 2147483647);
  EXPECT_EQ(ParseStandardInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseStandardInt("$7FFFFFFF"), 2147483647);
  EXPECT_EQ(ParseStandardInt("$80000000"), std::nullopt);
  EXPECT_EQ(ParseStandardInt("-$80000000"), INT32_MIN);
  EXPECT_EQ(ParseStandardInt(std::string(100000, '0') + "5"), 5);
}

TEST(TextTest, TrimRemovesBlanksAndControlsOnly) {
  EXPECT_EQ(Trim(" \t\r\n x y \x01"), "x y");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xE6\x9C\xAC"), "\xE6\x9C\xAC");  // UTF-8 bytes are above 32
  EXPECT_EQ(AsciiLower("SeLeCT \xC3\x84"), "select \xC3\x84");
}

TEST(TextTest, ByteComparison) {
  EXPECT_LT(CompareBytes("Zeta", "alpha"), 0);
  EXPECT_LT(CompareBytes("ab", "abc"), 0);
  EXPECT_GT(CompareBytes("\xC3\x84", "z"), 0);  // unsigned bytes
  EXPECT_EQ(CompareBytes("same", "same"), 0);
}

// What a shorter password assigned over a longer one leaves behind the end is wiped too.
TEST(TextTest, WipeSecretClearsTheWholeBuffer) {
  for (const size_t longer : {size_t{4}, size_t{100}}) {
    std::string secret(longer, 'x');
    secret = "pw";
    const size_t capacity = secret.capacity();
    WipeSecret(secret);
    EXPECT_TRUE(secret.empty());
    ASSERT_EQ(secret.capacity(), capacity);
    const char* bytes = secret.data();
    for (size_t i = 0; i < capacity; ++i) ASSERT_EQ(bytes[i], 0) << longer << " at " << i;
  }
}

}  // namespace
}  // namespace brevane::util
