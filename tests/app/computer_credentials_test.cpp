#include "app/computer_credentials.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevane::app {
namespace {

// One run: each step remembers what a computer was just used with, then every computer asked
// for gives only its own.
TEST(ComputerCredentialsTest, EachComputerKeepsOnlyItsOwn) {
  struct Step {
    const char* host;
    const char* user;
    const char* password;
  };
  struct Ask {
    const char* host;
    const char* user;
    const char* password;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<Ask> asks;
  };
  const Case cases[] = {
      {"one name, three spellings",
       {{"srv", "corp\\ann", "pw1"}},
       {{"srv", "corp\\ann", "pw1"}, {"\\\\SRV", "corp\\ann", "pw1"}, {"Srv", "corp\\ann", "pw1"}}},
      {"another computer gets none",
       {{"srv", "corp\\ann", "pw1"}},
       {{"faraway", "", ""}, {"srv2", "", ""}}},
      {"there and back",
       {{"srv", "corp\\ann", "pw1"}, {"faraway", "", ""}, {"FARAWAY", "bob", "pw2"}},
       {{"srv", "corp\\ann", "pw1"}, {"faraway", "bob", "pw2"}}},
      {"the last used wins, a shorter password too",
       {{"srv", "ann", "a-long-password"}, {"\\\\srv", "ann", "short"}},
       {{"srv", "ann", "short"}}},
      {"emptied forgets", {{"srv", "ann", "pw1"}, {"SRV", "", ""}}, {{"srv", "", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ComputerCredentials kept;
    for (const Step& step : c.steps) kept.Remember(step.host, step.user, step.password);
    for (const Ask& ask : c.asks) {
      SCOPED_TRACE(ask.host);
      const Credentials got = kept.For(ask.host);
      EXPECT_EQ(got.user, ask.user);
      EXPECT_EQ(got.password, ask.password);
    }
  }
}

}  // namespace
}  // namespace brevane::app
