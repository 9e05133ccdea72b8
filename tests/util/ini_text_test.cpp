#include "util/ini_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

namespace brevane::util {
namespace {

std::string Value(const IniSection& section, std::string_view key) {
  const std::string* value = section.Find(key);
  return value ? *value : "<missing>";
}

TEST(IniTextTest, FollowsTheProfileReaderRules) {
  const std::string text =
      "Stray=before any section\r\n"
      "[Other]\r\n"
      "Count=99\r\n"
      "  [ queryhistory ]  \r\n"
      "  Count =  3  \r\n"
      "; Query0=commented out\r\n"
      "a line without an equals sign\r\n"
      "QUERY0=first\r\n"
      "Query0=second occurrence ignored\r\n"
      "=no key\r\n"
      "Query2=a=b\r\n"
      "[QueryHistory]\r\n"
      "Query1=later section ignored\r\n";
  const IniSection section = ReadIniSection(text, "QueryHistory");
  ASSERT_EQ(section.Entries().size(), 3u);
  EXPECT_EQ(Value(section, "count"), "3");
  EXPECT_EQ(Value(section, "Query0"), "first");
  EXPECT_EQ(Value(section, "query2"), "a=b");
  EXPECT_EQ(Value(section, "Query1"), "<missing>");
  EXPECT_EQ(Value(section, "; Query0"), "<missing>");
  EXPECT_EQ(Value(ReadIniSection(text, "other"), "Count"), "99");
  EXPECT_TRUE(ReadIniSection(text, "Missing").Empty());
  EXPECT_TRUE(ReadIniSection("", "QueryHistory").Empty());
}

TEST(IniTextTest, NulEndsItsLineAndByteOrderMarkIsSkipped) {
  const char raw[] = "\xEF\xBB\xBF[S]\nA=x\0hidden\nB=y\n";
  const std::string text(raw, sizeof raw - 1);
  const IniSection section = ReadIniSection(text, "S");
  EXPECT_EQ(Value(section, "A"), "x");
  EXPECT_EQ(Value(section, "B"), "y");
}

TEST(IniTextTest, JunkAndHugeLinesStayLinear) {
  std::string text = "[QueryHistory]\nCount=1\nQuery0=kept\n[Junk]\n";
  std::mt19937 random(42);
  const char alphabet[] = {'[', ']', '=', '\n', '\r', '\0', ';', 'a', 'Q', '\xFF', ' ', '1'};
  text.reserve(50u << 20);
  while (text.size() < (40u << 20)) {
    text += alphabet[random() % sizeof alphabet];
  }
  text += std::string(10u << 20, 'x');  // one 10 MB line without an end
  const auto start = std::chrono::steady_clock::now();
  const IniSection section = ReadIniSection(text, "QueryHistory");
  (void)ReadIniSection(text, "Junk");
  (void)ReadIniSection(text, "NotThere");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(Value(section, "Query0"), "kept");
  EXPECT_LT(elapsed, std::chrono::seconds(10));
}

TEST(IniTextTest, ProfileValueDropsOnePairOfQuotesThenCuts) {
  struct Case {
    std::string raw;
    std::string expected;
  } cases[] = {
      {"\"quoted\"", "quoted"},
      {"'single'", "single"},
      {"\"\"twice\"\"", "\"twice\""},
      {"\"mixed'", "\"mixed'"},
      {"\"", "\""},
      {"''", ""},
      {"plain \"inner\" text", "plain \"inner\" text"},
  };
  for (const Case& c : cases) EXPECT_EQ(ProfileValue(c.raw), c.expected) << c.raw;

  EXPECT_EQ(ProfileValue(std::string(3000, 'q')), std::string(2047, 'q'));
  EXPECT_EQ(ProfileValue("\"" + std::string(2047, 'q') + "\""), std::string(2047, 'q'));
  // Three-byte characters: the cut counts characters and never splits one.
  std::string wide;
  for (int i = 0; i < 2100; ++i) wide += "\xE6\x9C\xAC";
  EXPECT_EQ(ProfileValue(wide), wide.substr(0, 2047 * 3));
  EXPECT_EQ(CutToChars("a\xE6\x9C", 2), "a\xE6");  // a broken sequence counts byte by byte
  EXPECT_EQ(CutToChars("\xF0\x9F\x98\x80z", 1), "\xF0\x9F\x98\x80");
}

TEST(IniTextTest, WriteFormReadsBackUnchanged) {
  for (const char* value : {"plain", "\"quoted\"", "'single'", "\"", "'", "\"open", "''", "\"\"",
                            "'mixed\"", "\xE6\x9C\xAC\xE6\x9C\xBA"}) {
    EXPECT_EQ(ProfileValue(ProfileWriteForm(value)), value) << value;
  }
  EXPECT_EQ(ProfileWriteForm("\"a\""), "\"\"a\"\"");
  EXPECT_EQ(ProfileWriteForm("1,2,3,4"), "1,2,3,4");
}

}  // namespace
}  // namespace brevane::util
