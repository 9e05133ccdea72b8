#include "wmi/system_error_fallback.h"

#include <gtest/gtest.h>

namespace brevane::wmi {
namespace {

TEST(SystemErrorFallbackTest, SignedDecimalCode) {
  EXPECT_EQ(SystemErrorFallback(305419896), "Cannot retrieve error description (error #305419896)");
  EXPECT_EQ(SystemErrorFallback(-2147217392),
            "Cannot retrieve error description (error #-2147217392)");
  EXPECT_EQ(SystemErrorFallback(0), "Cannot retrieve error description (error #0)");
}

TEST(SystemErrorFallbackTest, TidyDropsLineBreakAndBlanks) {
  EXPECT_EQ(TidySystemMessage("Access is denied.\r\n"), "Access is denied.");
  EXPECT_EQ(TidySystemMessage("  two\r\nlines \r\n"), "two\r\nlines");
  EXPECT_EQ(TidySystemMessage("\r\n"), "");
}

}  // namespace
}  // namespace brevane::wmi
