#include "app/command_route.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevane::app {
namespace {

TEST(CommandRoute, TheActiveViewFirstThenTheFirstThatHasTheCommand) {
  struct Case {
    std::vector<bool> handles;  // per view, in tab order
    int active;
    int expected;
  };
  const Case cases[] = {
      {{true, true}, 1, 1},
      {{true, true}, 0, 0},
      {{false, true}, 0, 1},  // export on the classes tab: the query tab's table
      {{true, false, true}, 1, 0},
      {{false, false}, 0, -1},
      {{}, 0, -1},
      {{true, true}, 5, 0},  // no tab selected or a stale index
      {{false, true}, -1, 1},
  };
  for (const Case& c : cases) {
    const int count = static_cast<int>(c.handles.size());
    const int routed = RouteToView(c.active, count, [&](int i) { return c.handles[i]; });
    EXPECT_EQ(routed, c.expected) << "active " << c.active << " of " << count;
  }
}

}  // namespace
}  // namespace brevane::app
