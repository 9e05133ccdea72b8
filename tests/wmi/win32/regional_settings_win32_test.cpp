#include "wmi/win32/regional_settings_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

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

}  // namespace
}  // namespace brevane::wmi::win32
