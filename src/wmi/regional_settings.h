#pragma once
// The user's regional settings that value rendering and the status texts need. On Windows
// they come from the user's locale; the defaults are those of en-US.
#include <array>
#include <functional>
#include <optional>
#include <string>

namespace brevane::wmi {

struct RegionalSettings {
  std::string shortDatePicture = "M/d/yyyy";
  // Used for date values that carry a time of day and do not come as a plain date.
  std::string longTimePicture = "h:mm:ss tt";
  std::string amDesignator = "AM";
  std::string pmDesignator = "PM";
  std::string decimalSeparator = ".";
  std::array<std::string, 12> monthNames = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  std::array<std::string, 12> monthAbbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // Sunday first.
  std::array<std::string, 7> dayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> dayAbbreviations = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  // Where the platform has a conversion of reals to text (Windows: the variant conversion in
  // the user's locale, which writes 0.1 + 0.2 as "0.3"), reals are written by it; `single`
  // for 32-bit reals. Unset, or when it gives no text: the shortest text that reads back to
  // the same number, with decimalSeparator. Called from any thread.
  std::function<std::optional<std::string>(double value, bool single)> realText;
};

}  // namespace brevane::wmi
