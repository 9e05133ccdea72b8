// Date parts that no decoder makes still format without reading outside the name tables.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "wmi/date_format.h"

namespace brevane::wmi {
namespace {

TEST(DatePictureBoundsTest, AnyMonthOrWeekdayPicksSomeName) {
  const RegionalSettings regional;
  struct Case {
    int month, dayOfWeek;
    const char* expected;
  };
  const Case cases[] = {
      {1, 0, "January Sunday"},           {12, 6, "December Saturday"},
      {13, 7, "January Sunday"},          {0, -1, "December Saturday"},
      {-8, -13, "April Monday"},          {INT_MAX, INT_MAX, "July Monday"},
      {INT_MIN, INT_MIN, "April Friday"},
  };
  for (const Case& c : cases) {
    OleDateParts parts;
    parts.month = c.month;
    parts.dayOfWeek = c.dayOfWeek;
    EXPECT_EQ(FormatDatePicture("MMMM dddd", parts, regional), c.expected)
        << c.month << " " << c.dayOfWeek;
  }
}

TEST(DatePictureBoundsTest, ExtremeNumbersFormatAsNumbers) {
  const RegionalSettings regional;
  OleDateParts parts;
  parts.year = INT_MIN;
  parts.day = INT_MAX;
  parts.hour = INT_MIN;
  parts.minute = -1;
  EXPECT_EQ(FormatDatePicture("d yy", parts, regional), "2147483647 -48");
  EXPECT_FALSE(FormatTimePicture("h:mm tt", parts, regional).empty());
}

}  // namespace
}  // namespace brevane::wmi
