#include "app/switches.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevane::app {
namespace {

TEST(MatchSwitches, PrefixesAreCaseSensitiveAndExact) {
  struct Case {
    std::string argument;
    bool matches;
    SwitchKind kind;
    std::string value;
  };
  const Case cases[] = {
      {"-host:server", true, SwitchKind::Host, "server"},
      {"-HOST:server", false, SwitchKind::Host, ""},
      {"-hostname:x", false, SwitchKind::Host, ""},
      {"host:server", false, SwitchKind::Host, ""},
      {" -host:server", false, SwitchKind::Host, ""},
      {"-host: \t server \r\n", true, SwitchKind::Host, "server"},
      {"-host:", true, SwitchKind::Host, ""},
      {"-namespace:root\\default", true, SwitchKind::Namespace, "root\\default"},
      {"-user: admin ", true, SwitchKind::User, "admin"},
      {"-pswd:p w", true, SwitchKind::Password, "p w"},
      {"-query:select * from Win32_Process", true, SwitchKind::Query,
       "select * from Win32_Process"},
      {"-query:   ", true, SwitchKind::Query, ""},
      {"-kt:1234", true, SwitchKind::MonitorWindow, "1234"},
      {"-kt", false, SwitchKind::MonitorWindow, ""},
      {"", false, SwitchKind::Host, ""},
      {"-", false, SwitchKind::Host, ""},
      {"-readonly", true, SwitchKind::ReadOnly, ""},
      {"-readonly:1", false, SwitchKind::ReadOnly, ""},
      {"-ReadOnly", false, SwitchKind::ReadOnly, ""},
      {"-computers: web1, db1 ", true, SwitchKind::Computers, "web1, db1"},
      {"-computers:@\"C:\\my list.txt\"", true, SwitchKind::Computers, "@\"C:\\my list.txt\""},
      {"-Computers:x", false, SwitchKind::Computers, ""},
  };
  for (const Case& c : cases) {
    const std::vector<SwitchMatch> matches = MatchSwitches(c.argument);
    if (!c.matches) {
      EXPECT_TRUE(matches.empty()) << c.argument;
      continue;
    }
    ASSERT_EQ(matches.size(), 1u) << c.argument;
    EXPECT_EQ(matches[0].kind, c.kind) << c.argument;
    EXPECT_EQ(matches[0].value, c.value) << c.argument;
  }
}

TEST(MonitorWindowFromValue, ReadsSignedThirtyTwoBitNumbersOrGivesZero) {
  const std::pair<const char*, int32_t> cases[] = {
      {"1234", 1234},
      {"$10", 16},
      {"0x10", 16},
      {"-5", -5},
      {"+7", 7},
      {"abc", 0},
      {"", 0},
      {"12a", 0},
      {"2147483647", 2147483647},
      {"2147483648", 0},
      {"-2147483648", INT32_MIN},
      {"-2147483649", 0},
      {"99999999999999999999", 0},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(MonitorWindowFromValue(text), expected) << text;
  }
}

TEST(ParseSwitches, LaterArgumentsWinAndUnknownOnesAreIgnored) {
  const StartupSwitches s = ParseSwitches({"-host:first", "junk", "-kt:$1F", "-host: second ",
                                           "-HOST:third", "-query:q1", "-query:", "-kt:bad"});
  EXPECT_EQ(s.host, "second");
  EXPECT_EQ(s.query, "");
  EXPECT_EQ(s.monitorWindow, 0);
  EXPECT_FALSE(s.user.has_value());
  EXPECT_FALSE(s.password.has_value());
  EXPECT_FALSE(s.nameSpace.has_value());
  EXPECT_FALSE(s.readOnly);
  EXPECT_TRUE(ParseSwitches({"-host:x", "-readonly"}).readOnly);
  EXPECT_FALSE(s.computers);
  EXPECT_EQ(ParseSwitches({"-computers:a", "-computers:b c"}).computers, "b c");

  EXPECT_FALSE(ParseSwitches({}).host.has_value());
}

TEST(ParseSwitches, HugeValuesAreKeptWhole) {
  const std::string value(100000, 'v');
  const StartupSwitches s = ParseSwitches({"-user:" + value});
  EXPECT_EQ(s.user, value);
}

}  // namespace
}  // namespace brevane::app
