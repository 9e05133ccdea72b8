#include "wmi/win32/regional_settings_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "wmi/value_text.h"

namespace brevane::wmi::win32 {
namespace {

// The test prefix runs en-US; on another locale only the shape is checked.
TEST(RegionalSettingsWin32Test, ReadsTheUsersLocale) {
  const RegionalSettings settings = ReadUserRegionalSettings();
  wchar_t localeName[LOCALE_NAME_MAX_LENGTH] = {};
  GetUserDefaultLocaleName(localeName, LOCALE_NAME_MAX_LENGTH);
  if (std::wstring(localeName) == L"en-US") {
    EXPECT_EQ(settings.shortDatePicture, "M/d/yyyy");
    EXPECT_EQ(settings.decimalSeparator, ".");
    EXPECT_EQ(settings.monthNames[11], "December");
    EXPECT_EQ(settings.monthAbbreviations[0], "Jan");
    EXPECT_EQ(settings.dayNames[0], "Sunday");
    EXPECT_EQ(settings.dayNames[1], "Monday");
    EXPECT_EQ(settings.dayAbbreviations[6], "Sat");
    EXPECT_EQ(settings.amDesignator, "AM");
  }
  EXPECT_FALSE(settings.shortDatePicture.empty());
  EXPECT_FALSE(settings.decimalSeparator.empty());
  for (const auto& name : settings.monthNames) EXPECT_FALSE(name.empty());
  for (const auto& name : settings.dayNames) EXPECT_FALSE(name.empty());
}

// Reals on Windows are written by the platform's variant conversion, not by our shortest
// round-trip text (which would show 0.1 + 0.2 as 0.30000000000000004).
TEST(RegionalSettingsWin32Test, RealsGoThroughThePlatformConversion) {
  const RegionalSettings settings = ReadUserRegionalSettings();
  ASSERT_TRUE(settings.realText);
  const std::string separator = settings.decimalSeparator;
  EXPECT_EQ(ValueToText(Value::Real(0.1 + 0.2), settings), "0" + separator + "3");
  EXPECT_EQ(ValueToText(Value::Real(0.1f, kVtR4), settings), "0" + separator + "1");
  EXPECT_EQ(ValueToText(Value::Real(-2.5), settings), "-2" + separator + "5");
  EXPECT_EQ(ValueToText(Value::Real(1e20), settings), "1E+20");
  EXPECT_EQ(PlatformRealText(3.14159, false), "3" + separator + "14159");
}

}  // namespace
}  // namespace brevane::wmi::win32
