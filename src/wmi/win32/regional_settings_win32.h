#pragma once
// The user's regional settings as Windows keeps them.
#include "wmi/regional_settings.h"

namespace brevane::wmi::win32 {

// The short date and long time pictures, AM/PM designators, decimal separator, month and day
// names of the user's default locale. Anything the system does not answer keeps its en-US default.
RegionalSettings ReadUserRegionalSettings();

}  // namespace brevane::wmi::win32
