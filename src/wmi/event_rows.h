#pragma once
// The table row of one event: when it was received, then its properties, with the properties
// of an embedded object (an intrinsic event's TargetInstance and PreviousInstance) each in a
// column of its own, "TargetInstance.Name", so that the table can sort and search them.
#include <chrono>
#include <cstddef>
#include <string>

#include "util/string_list.h"
#include "wmi/regional_settings.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi {

// A watch runs until stopped: the table keeps the newest events only.
constexpr size_t kMaxEventRows = 100000;
constexpr const char* kEventTimeColumn = "Time";

// Local time with milliseconds, "2026-12-10 14:05:03.042": events come many a second, and
// this form sorts as text in the order they came.
std::string EventTimeText(std::chrono::system_clock::time_point when);

// Appends "Time" and the event's properties to names and values. An object property that
// holds an object gives that object's properties, "Property.Name" (one level: an object inside
// it shows as its value's text); one that is NULL or cannot be read stays one column. Raises
// WmiError when the event's own properties cannot be walked.
void AppendEventRow(Object& event, const RegionalSettings& regional, const std::string& timeText,
                    util::StringList& names, util::StringList& values);

}  // namespace brevane::wmi
