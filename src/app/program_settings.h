#pragma once
// The program's own settings, section "Settings" of the settings file. An administrator sets
// them by hand; the program only reads them.
#include <string_view>

#include "util/ini_text.h"

namespace brevane::app {

inline constexpr std::string_view kProgramSettingsSection = "Settings";

struct ProgramSettings {
  // "CsvFormulaGuard": cells that a spreadsheet would run as a formula are exported inert.
  bool csvFormulaGuard = true;
  // "ReadOnly": nothing that changes the computer is offered.
  bool readOnly = false;
  // "FanOutLimit": how many computers one request goes to at once, 1..256.
  int fanOutLimit = 32;
};

inline constexpr int kMinFanOutLimit = 1;
inline constexpr int kMaxFanOutLimit = 256;

// The settings from the section's raw values. A flag is "0" or "1"; a limit is a decimal
// number, clamped to its range. Anything else (a missing key, a word, a number too long to
// hold) leaves the default, so a damaged file never turns a safeguard off.
ProgramSettings ProgramSettingsFrom(const util::IniSection& section);

}  // namespace brevane::app
