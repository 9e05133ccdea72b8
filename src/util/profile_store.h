#pragma once
// What the settings code needs of a profile (INI) file: one section read whole, one key
// written at a time. The Win32 layer implements it over a real file; tests keep it in memory.
#include <string_view>

#include "util/ini_text.h"

namespace brevane::util {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The section's entries with their raw values; a missing file or section gives an empty
  // section. Throws std::exception when the file exists but cannot be read.
  virtual IniSection ReadSection(std::string_view section) = 0;
  // Writes (adds or replaces) one key; the value is written as given. Throws std::exception
  // when the write fails.
  virtual void WriteString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};

}  // namespace brevane::util
