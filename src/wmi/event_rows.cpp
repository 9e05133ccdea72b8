#include "wmi/event_rows.h"

#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>

#include "wmi/value_text.h"

namespace brevane::wmi {

namespace {

bool HoldsObject(const Value& value) {
  const bool array = (value.type & kVtArrayBit) != 0;
  const uint16_t tag = value.type & kVtTypeMask;
  return !array && (tag == kVtUnknown || tag == kVtDispatch);
}

// The embedded object's properties under "property.", or false when there is none to show.
bool AppendEmbedded(Object& event, const std::string& property, const RegionalSettings& regional,
                    util::StringList& names, util::StringList& values) {
  std::unique_ptr<Object> embedded;
  try {
    embedded = event.EmbeddedObject(property);
  } catch (const std::exception&) {
    return false;  // the column keeps the value's own text
  }
  if (!embedded) return false;
  auto properties = embedded->Properties();
  Property inner;
  while (properties->Next(inner)) {
    names.push_back(property + "." + inner.name);
    values.push_back(ValueToText(inner.value, regional));
  }
  return true;
}

}  // namespace

std::string EventTimeText(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
#if defined(_WIN32)
  if (localtime_s(&local, &seconds) != 0) return {};
#else
  if (localtime_r(&seconds, &local) == nullptr) return {};
#endif
  const auto sinceEpoch = when.time_since_epoch();
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000;
  char text[40] = {};
  const int length =
      std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                    local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                    static_cast<int>(millis < 0 ? 0 : millis));
  if (length <= 0 || static_cast<size_t>(length) >= sizeof(text)) return {};
  return std::string(text, static_cast<size_t>(length));
}

void AppendEventRow(Object& event, const RegionalSettings& regional, const std::string& timeText,
                    util::StringList& names, util::StringList& values) {
  names.emplace_back(kEventTimeColumn);
  values.push_back(timeText);
  auto properties = event.Properties();
  Property property;
  while (properties->Next(property)) {
    if (HoldsObject(property.value) &&
        AppendEmbedded(event, property.name, regional, names, values)) {
      continue;
    }
    names.push_back(std::move(property.name));
    values.push_back(ValueToText(property.value, regional));
  }
}

}  // namespace brevane::wmi
