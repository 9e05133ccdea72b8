#pragma once
// One line of text for any WMI property value. Never fails: a failure's message becomes
// the text.
#include <string>

#include "wmi/regional_settings.h"
#include "wmi/value.h"

namespace brevane::wmi {

std::string ValueToText(const Value& value, const RegionalSettings& regional);

}  // namespace brevane::wmi
