#pragma once
// The user's regional settings that value rendering and the status texts need. On Windows
// they come from the user's locale; the defaults are those of en-US.
#include <array>
#include <string>

namespace brevane::wmi {

struct RegionalSettings {
  std::string shortDatePicture = "M/d/yyyy";
  // Used for date values that carry a time of day and do not come as a plain date.
  std::string longTimePicture = "h:mm:ss tt";
  std::string amDesignator = "AM";
  std::string pmDesignator = "PM";
  std::string decimalSeparator = ".";
  std::array<std::string, 12> monthNames = {"January", "February", "March",     "April",
                                            "May",     "June",     "July",      "August",
                                            "September", "October", "November", "December"};
  std::array<std::string, 12> monthAbbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // Sunday first.
  std::array<std::string, 7> dayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> dayAbbreviations = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
};

}  // namespace brevane::wmi
