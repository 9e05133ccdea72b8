#include "framework/win32/encoding.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace brevane::framework::win32 {
namespace {

TEST(EncodingTest, Utf8RoundTripsThroughUtf16) {
  const std::string text = "\xE6\x9C\xAC\xE6\x9C\xBA root\\cimv2 \xD0\x96";  // 本机, Cyrillic Zhe
  EXPECT_EQ(WideToUtf8(Utf8ToWide(text)), text);
  EXPECT_EQ(Utf8ToWide("\xE6\x9C\xAC\xE6\x9C\xBA"), std::wstring(L"\u672C\u673A"));
  EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(EncodingTest, AnsiReportsLoss) {
  bool lossless = false;
  EXPECT_EQ(Utf8ToAnsi("select Name", &lossless), "select Name");
  EXPECT_TRUE(lossless);
  Utf8ToAnsi("\xE6\x9C\xAC\xE6\x9C\xBA", &lossless);  // not in code page 1252
  if (GetACP() == 1252) {
    EXPECT_FALSE(lossless);
  }
}

}  // namespace
}  // namespace brevane::framework::win32
