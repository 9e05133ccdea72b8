#include "wmi/win32/system_error_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace brevane::wmi::win32 {
namespace {

TEST(SystemErrorTextTest, UnknownCodeGivesFallback) {
  EXPECT_EQ(SystemErrorText(305419896), "Cannot retrieve error description (error #305419896)");
  EXPECT_EQ(SystemErrorText(-1), "Cannot retrieve error description (error #-1)");
}

TEST(SystemErrorTextTest, KnownCodeGivesSystemTextWithoutLineBreak) {
  for (int32_t code : {ERROR_ACCESS_DENIED, ERROR_FILE_NOT_FOUND}) {
    const std::string text = SystemErrorText(code);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find("Cannot retrieve"), std::string::npos) << text;
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
    EXPECT_NE(text.back(), ' ');
  }
}

}  // namespace
}  // namespace brevane::wmi::win32
