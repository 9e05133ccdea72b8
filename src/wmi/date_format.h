#pragma once
// OLE dates (days since 30 December 1899, the fraction being the time of day) and the
// locale's date and time pictures, interpreted by our own formatter so that the result does
// not depend on the C library's locale support.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "wmi/regional_settings.h"

namespace brevane::wmi {

struct OleDateParts {
  int year = 1899;
  int month = 12;     // 1..12
  int day = 30;       // 1..31
  int dayOfWeek = 6;  // 0 = Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Splits an OLE date. Negative dates count their whole days backwards but their fraction
// forwards (-1.25 is 29 December 1899, 06:00), as the platform reads them. The time is
// rounded to the nearest second. No value for NaN, infinities and dates outside the years
// 100 to 9999.
std::optional<OleDateParts> DecodeOleDate(double oleDate);

// The date picture: d, dd, ddd, dddd, M, MM, MMM, MMMM, y, yy, yyyy (and longer runs of y),
// literals in '...' or "..." ('' inside single quotes is one quote); every other character
// stands as it is.
std::string FormatDatePicture(std::string_view picture, const OleDateParts& date,
                              const RegionalSettings& regional);

// The time picture: h, hh (12-hour clock), H, HH (24-hour clock), m, mm, s, ss, t (first
// character of the AM/PM designator), tt, and the same literals as the date picture.
std::string FormatTimePicture(std::string_view picture, const OleDateParts& time,
                              const RegionalSettings& regional);

}  // namespace brevane::wmi
