#include "app/program_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "util/ini_text.h"

namespace brevane::app {
namespace {

struct SettingsCase {
  std::string text;  // the section's lines
  bool csvFormulaGuard;
  bool readOnly;
  int fanOutLimit;
};

TEST(ProgramSettingsTest, RawTextsGiveSettingsOrDefaults) {
  const SettingsCase cases[] = {
      {"", true, false, 32},
      {"CsvFormulaGuard=0\nReadOnly=1\nFanOutLimit=8", false, true, 8},
      {"csvformulaguard = \"0\"\nREADONLY='1'", false, true, 32},
      // Only "0" and "1" are flags: anything else keeps the safe default.
      {"CsvFormulaGuard=no\nReadOnly=yes", true, false, 32},
      {"CsvFormulaGuard=00\nReadOnly=true", true, false, 32},
      {"FanOutLimit=0", true, false, 1},
      {"FanOutLimit=257", true, false, 256},
      {"FanOutLimit=99999999999999999999999", true, false, 256},
      {"FanOutLimit=12abc", true, false, 32},
      {"FanOutLimit=+5", true, false, 32},
  };
  for (const SettingsCase& c : cases) {
    SCOPED_TRACE(c.text);
    const ProgramSettings settings =
        ProgramSettingsFrom(util::ReadIniSection("[Settings]\n" + c.text, "Settings"));
    EXPECT_EQ(settings.csvFormulaGuard, c.csvFormulaGuard);
    EXPECT_EQ(settings.readOnly, c.readOnly);
    EXPECT_EQ(settings.fanOutLimit, c.fanOutLimit);
  }
}

}  // namespace
}  // namespace brevane::app
