// What is written to a settings file reads back as the same text, through the whole reader:
// the line's blanks are trimmed first, then one pair of quotes is dropped.
#include <gtest/gtest.h>

#include <string>

#include "util/ini_text.h"

namespace brevane::util {
namespace {

std::string WrittenAndReadBack(const std::string& value) {
  const std::string text = "[QueryHistory]\r\nQuery0=" + ProfileWriteForm(value) + "\r\n";
  const IniSection section = ReadIniSection(text, "QueryHistory");
  const std::string* raw = section.Find("Query0");
  return raw ? ProfileValue(*raw) : "<missing>";
}

TEST(ProfileWriteFormTest, EveryValueReadsBackUnchanged) {
  for (const std::string value :
       {"select Name from Win32_Service", "", " leading blank", "trailing blank ", "\ttab", "   ",
        "\"quoted\"", "'single'", "  \"  \"puoted ", " 'q' ", "\"half", "a \"b\" c", "\"\"", "'",
        "x\x0b"}) {
    EXPECT_EQ(WrittenAndReadBack(value), value) << "[" << value << "]";
  }
}

TEST(ProfileWriteFormTest, PlainValuesAreWrittenAsTheyAre) {
  EXPECT_EQ(ProfileWriteForm("1,2,3,4"), "1,2,3,4");
  EXPECT_EQ(ProfileWriteForm("a b"), "a b");
  EXPECT_EQ(ProfileWriteForm(" a"), "\" a\"");
}

}  // namespace
}  // namespace brevane::util
