#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevane::app {
namespace {

using Args = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string line;
  Args expected;
};

TEST(SplitCommandLine, FollowsThePlatformRules) {
  const SplitCase cases[] = {
      {"empty line", "", {}},
      {"only blanks", "  \t \r\n ", {}},
      {"single word", "a.exe", {"a.exe"}},
      {"blanks and tabs separate", " a\tb  c ", {"a", "b", "c"}},
      {"control characters separate",
       "a\x01"
       "b\x1f"
       "c",
       {"a", "b", "c"}},
      {"quotes keep blanks and are dropped",
       "\"C:\\Program Files\\b.exe\" x",
       {"C:\\Program Files\\b.exe", "x"}},
      {"quote in the middle of a word", "-query:\"select * from A\"", {"-query:select * from A"}},
      {"quotes toggle", "a\"b c\"d\"e f\"", {"ab cde f"}},
      {"empty quotes make an empty argument", "a \"\" b", {"a", "", "b"}},
      {"unclosed quote runs to the end", "a \"b c", {"a", "b c"}},
      {"lone quote at the end", "a \"", {"a", ""}},
      {"no escape for a backslash before a quote", "\"a\\\" b", {"a\\", "b"}},
      {"multibyte text kept", "-host:\xE6\x9F\xA5 x", {"-host:\xE6\x9F\xA5", "x"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.line), c.expected) << c.name;
  }
}

TEST(SplitCommandLine, CutsArgumentsAtTheBound) {
  const std::string huge(100000, 'q');
  const Args args = SplitCommandLine("p.exe " + huge + " \"" + huge + "\" tail");
  ASSERT_EQ(args.size(), 4u);
  EXPECT_EQ(args[1], std::string(kMaxArgumentChars, 'q'));
  EXPECT_EQ(args[2], std::string(kMaxArgumentChars, 'q'));
  EXPECT_EQ(args[3], "tail");

  const Args exact = SplitCommandLine(std::string(kMaxArgumentChars, 'x'));
  ASSERT_EQ(exact.size(), 1u);
  EXPECT_EQ(exact[0].size(), kMaxArgumentChars);
}

TEST(SplitCommandLine, CutNeverSplitsACharacter) {
  std::string wide;
  for (std::size_t i = 0; i < kMaxArgumentChars + 10; ++i) wide += "\xE6\x9F\xA5";  // 3 bytes
  const Args args = SplitCommandLine(wide);
  ASSERT_EQ(args.size(), 1u);
  EXPECT_EQ(args[0].size(), kMaxArgumentChars * 3);
  EXPECT_EQ(args[0].substr(args[0].size() - 3), "\xE6\x9F\xA5");
}

TEST(CommandLineArguments, SkipsTheProgramPathBySameRules) {
  EXPECT_EQ(CommandLineArguments(""), Args{});
  EXPECT_EQ(CommandLineArguments("brevane.exe"), Args{});
  EXPECT_EQ(CommandLineArguments("\"C:\\My Tools\\brevane.exe\" -host:a \"-query:select x\""),
            (Args{"-host:a", "-query:select x"}));
  EXPECT_EQ(CommandLineArguments("   prog   -kt:5  "), Args{"-kt:5"});
}

}  // namespace
}  // namespace brevane::app
