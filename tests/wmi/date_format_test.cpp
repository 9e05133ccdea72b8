#include "wmi/date_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace brevane::wmi {
namespace {

struct DecodeCase {
  double oleDate;
  int year, month, day, dayOfWeek, hour, minute, second;
};

TEST(DecodeOleDateTest, KnownDates) {
  const DecodeCase cases[] = {
      {0.0, 1899, 12, 30, 6, 0, 0, 0},
      {1.0, 1899, 12, 31, 0, 0, 0, 0},
      {2.0, 1900, 1, 1, 1, 0, 0, 0},
      {60.0, 1900, 2, 28, 3, 0, 0, 0},
      {61.0, 1900, 3, 1, 4, 0, 0, 0},  // 1900 was no leap year
      {25569.0, 1970, 1, 1, 4, 0, 0, 0},
      {36585.0, 2000, 2, 29, 2, 0, 0, 0},
      {46363.0 + 14.5 / 24, 2026, 12, 7, 1, 14, 30, 0},
      // Negative dates: whole days backwards, the fraction forwards.
      {-1.25, 1899, 12, 29, 5, 6, 0, 0},
      {-0.5, 1899, 12, 30, 6, 12, 0, 0},
      {-657434.0, 100, 1, 1, 5, 0, 0, 0},
      {2958465.0, 9999, 12, 31, 5, 0, 0, 0},
      {2958465.99999, 9999, 12, 31, 5, 23, 59, 59},
      // Rounding to the second carries into the next day, whichever the sign.
      {1.0 + 86399.6 / 86400, 1900, 1, 1, 1, 0, 0, 0},
      {-1.0 - 86399.6 / 86400, 1899, 12, 30, 6, 0, 0, 0},
  };
  for (const DecodeCase& c : cases) {
    const auto parts = DecodeOleDate(c.oleDate);
    ASSERT_TRUE(parts.has_value()) << c.oleDate;
    EXPECT_EQ(parts->year, c.year) << c.oleDate;
    EXPECT_EQ(parts->month, c.month) << c.oleDate;
    EXPECT_EQ(parts->day, c.day) << c.oleDate;
    EXPECT_EQ(parts->dayOfWeek, c.dayOfWeek) << c.oleDate;
    EXPECT_EQ(parts->hour, c.hour) << c.oleDate;
    EXPECT_EQ(parts->minute, c.minute) << c.oleDate;
    EXPECT_EQ(parts->second, c.second) << c.oleDate;
  }
}

TEST(DecodeOleDateTest, RejectsWhatIsNoDate) {
  for (double bad :
       {-657435.0, -657434.5 - 1, 2958466.0, 1e300, -1e300,
        std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(DecodeOleDate(bad).has_value()) << bad;
  }
  // The last second of 9999 rounds into year 10000.
  EXPECT_FALSE(DecodeOleDate(2958465.0 + 86399.7 / 86400).has_value());
}

TEST(DatePictureTest, FieldsAndLiterals) {
  RegionalSettings regional;
  const OleDateParts date = *DecodeOleDate(46363.0);  // Monday 7 December 2026
  const std::pair<const char*, const char*> cases[] = {
      {"M/d/yyyy", "12/7/2026"},
      {"dd.MM.yyyy", "07.12.2026"},
      {"yyyy'年'M'月'd'日'", "2026年12月7日"},
      {"ddd, MMM d yy", "Mon, Dec 7 26"},
      {"dddd d MMMM y", "Monday 7 December 26"},
      {"yyyyy", "2026"},
      {"'d''M' \"yyyy\" d", "d'M yyyy 7"},
      {"'unterminated d", "unterminated d"},
      {"", ""},
      {"x-/ g", "x-/ g"},
  };
  for (const auto& [picture, expected] : cases) {
    EXPECT_EQ(FormatDatePicture(picture, date, regional), expected) << picture;
  }
  const OleDateParts early = *DecodeOleDate(-657434.0 + 31 + 4);  // 5 February 100
  EXPECT_EQ(FormatDatePicture("yyyy-MM-dd y yy", early, regional), "0100-02-05 0 00");
}

TEST(TimePictureTest, ClocksAndDesignators) {
  RegionalSettings regional;
  regional.amDesignator = "午前";
  regional.pmDesignator = "午後";
  const std::pair<double, const char*> cases[] = {
      {0.0, "12:00:00 午前 午 | 00:0:0"},
      {14.5 / 24 + 5.0 / 86400, "2:30:05 午後 午 | 14:30:5"},
      {12.0 / 24, "12:00:00 午後 午 | 12:0:0"},
  };
  for (const auto& [oleDate, expected] : cases) {
    EXPECT_EQ(FormatTimePicture("h:mm:ss tt t | HH:m:s", *DecodeOleDate(oleDate), regional),
              expected);
  }
  regional.amDesignator.clear();
  EXPECT_EQ(FormatTimePicture("hh t|tt", *DecodeOleDate(0.25), regional), "06 |");
}

}  // namespace
}  // namespace brevane::wmi
