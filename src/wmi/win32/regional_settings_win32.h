#pragma once
// The user's regional settings as Windows keeps them.
#include <optional>
#include <string>

#include "wmi/regional_settings.h"

namespace brevane::wmi::win32 {

// The short date and long time pictures, AM/PM designators, decimal separator, month and day
// names of the user's default locale, and the platform's conversion of reals to text. Anything
// the system does not answer keeps its en-US default.
RegionalSettings ReadUserRegionalSettings();

// A real as the variant conversion writes it in the user's locale; no text when it fails.
std::optional<std::string> PlatformRealText(double value, bool single);

}  // namespace brevane::wmi::win32
