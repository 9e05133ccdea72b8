#include "util/text_matches.h"

#include <gtest/gtest.h>

#include <string>

#include "util/word_characters.h"

namespace brevane::util {
namespace {

struct PositionCase {
  const char* pattern;
  std::string text;
  bool wholeWord;
  size_t expected;
};

TEST(TextMatchesTest, Positions) {
  const PositionCase cases[] = {
      {"cim", "root\\cimv2", false, 6},
      {"Win32", "Win32_Process", true, 1},  // the underscore is a boundary
      {"Process", "Win32_Process", true, 7},
      {"Disk", "DiskDrive", true, 0},
      {"Disk", "DiskDrive Disk", true, 11},
      {"Disk", "DiskDrive", false, 1},
      {"", "anything", false, 0},
      {"", "", true, 0},
      {"a", "", false, 0},
      {"long pattern", "short", false, 0},
      {"aa", "aaa aa", true, 5},  // overlapping tries inside "aaa" all rejected
      {"aba", "ababa", false, 1},
      {"aba", "xababa", true, 0},
      {"ab", "ab\rcd", true, 1},  // the row separator is a boundary
      {"cd", "ab\rcd", true, 4},
      {"x", "1x", true, 0},  // digits are word characters
      {"x", "-x-", true, 2},
      // Letters beyond ASCII around the occurrence, decoded from UTF-8.
      {"Stra", "Straße", true, 0},
      {"e", "Straße", true, 0},
      {"Stra", "Stra\xC3\x9F", false, 1},
      {"abc",
       "\xD0\x96"
       "abc",
       true, 0},                            // Cyrillic letter before
      {"abc", "abc\xE6\x9D\xB1", true, 0},  // CJK ideograph after
      {"abc",
       "\xE3\x80\x80"
       "abc\xE3\x80\x82",
       true, 4},                            // ideographic space and full stop
      {"abc", "abc\xEF\xBC\x91", true, 0},  // fullwidth digit one
      {"abc",
       "\xC2\xA0"
       "abc",
       true, 3},  // no-break space
      // Bytes that are no well-formed character separate words.
      {"abc",
       "\xFF"
       "abc\x80",
       true, 2},
      {"abc",
       "\xC3"
       "abc",
       true, 2},                      // a lead byte without its continuation
      {"\xA9", "\xC3\xA9", true, 2},  // pattern starting inside a character
  };
  for (const PositionCase& c : cases) {
    EXPECT_EQ(TextMatches(c.pattern, c.text, c.wholeWord), c.expected)
        << '"' << c.pattern << "\" in \"" << c.text << "\" whole=" << c.wholeWord;
  }
}

TEST(TextMatchesTest, HugeTextWithoutMatch) {
  const std::string text(4 * 1024 * 1024, 'a');
  EXPECT_EQ(TextMatches("b", text, true), 0u);
  EXPECT_EQ(TextMatches("aaa", text, true), 0u);
}

TEST(WordCharactersTest, Classes) {
  for (char32_t letter :
       {U'a', U'Z',  U'7',  U'ß',  U'É',  U'ÿ',  U'ł',  U'Ω',  U'ж', U'א',         U'ب',
        U'٣', U'東', U'あ', U'カ', U'ー', U'한', U'Ａ', U'９', U'ｶ', U'\U00020000'}) {
    EXPECT_TRUE(IsWordCharacter(letter)) << static_cast<uint32_t>(letter);
  }
  for (char32_t other : {U' ', U'_', U'\r', U'\0', U'-', U'.', U'×', U'÷', U'€', U'\u00A0',
                         U'\u3000', U'。', U'！', U'\uFFFD', U'\U0010FFFF'}) {
    EXPECT_FALSE(IsWordCharacter(other)) << static_cast<uint32_t>(other);
  }
}

TEST(WordCharactersTest, Utf8Decoding) {
  EXPECT_EQ(Utf8CharacterAt("\xE2\x82\xAC", 0), U'€');
  EXPECT_EQ(Utf8CharacterBefore("x\xF0\x9F\x98\x80", 5), U'\U0001F600');
  EXPECT_EQ(Utf8CharacterBefore("\xC3\xA9", 1), std::nullopt);
  for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xF8\x88\x80\x80\x80", "\x80", "\xE2\x82"}) {
    const std::string text(bad);
    EXPECT_EQ(Utf8CharacterAt(text, 0), std::nullopt) << text;
    EXPECT_EQ(Utf8CharacterBefore(text, text.size()), std::nullopt) << text;
  }
  EXPECT_EQ(Utf8CharacterAt("a", 1), std::nullopt);
  EXPECT_EQ(Utf8CharacterBefore("a", 0), std::nullopt);
}

}  // namespace
}  // namespace brevane::util
