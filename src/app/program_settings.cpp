#include "app/program_settings.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace brevane::app {

namespace {

void ReadFlag(const util::IniSection& section, std::string_view key, bool& flag) {
  const std::string* raw = section.Find(key);
  if (!raw) return;
  const std::string value = util::ProfileValue(*raw);
  if (value == "0") flag = false;
  if (value == "1") flag = true;
}

void ReadLimit(const util::IniSection& section, std::string_view key, int low, int high,
               int& limit) {
  const std::string* raw = section.Find(key);
  if (!raw) return;
  const std::string value = util::ProfileValue(*raw);
  long long number = 0;
  const char* end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, number);
  if (value.empty() || error != std::errc() || stop != end) {
    // A number beyond every range is still a number: it means "as many as allowed".
    if (error == std::errc::result_out_of_range && stop == end)
      limit = value.front() == '-' ? low : high;
    return;
  }
  limit = static_cast<int>(std::clamp<long long>(number, low, high));
}

}  // namespace

ProgramSettings ProgramSettingsFrom(const util::IniSection& section) {
  ProgramSettings settings;
  ReadFlag(section, "CsvFormulaGuard", settings.csvFormulaGuard);
  ReadFlag(section, "ReadOnly", settings.readOnly);
  ReadLimit(section, "FanOutLimit", kMinFanOutLimit, kMaxFanOutLimit, settings.fanOutLimit);
  return settings;
}

}  // namespace brevane::app
