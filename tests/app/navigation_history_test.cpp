#include "app/navigation_history.h"

#include <gtest/gtest.h>

namespace brevane::app {
namespace {

Place At(const char* className, const char* path = "", const char* ns = "root\\cimv2") {
  return {".", ns, className, path};
}

// Each step: an action and the class the history then stands on ("" for none to go to).
TEST(NavigationHistoryTest, WalksBackAndForwardLikeABrowser) {
  NavigationHistory history;
  EXPECT_FALSE(history.Back());
  EXPECT_EQ(history.Current(), nullptr);
  history.Visit(At("A"));
  history.Visit(At("B", "B.Name=\"1\""));
  history.Visit(At("b", "b.name=\"1\""));  // the same place again
  history.Visit(At("C"));
  history.Visit(At(""));  // no class: no place
  EXPECT_EQ(history.Size(), 3u);
  struct Step {
    char action;  // 'b' back, 'f' forward, 'v' visit D
    const char* result;
    const char* current;
  };
  const Step steps[] = {
      {'f', "", "C"},  {'b', "B", "B"}, {'b', "A", "A"}, {'b', "", "A"},
      {'f', "B", "B"}, {'v', "D", "D"}, {'f', "", "D"},  {'b', "B", "B"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(1, s.action) + " -> " + s.current);
    std::optional<Place> place;
    if (s.action == 'b') place = history.Back();
    if (s.action == 'f') place = history.Forward();
    if (s.action == 'v') {
      history.Visit(At("D"));
      place = *history.Current();
    }
    EXPECT_EQ(place ? place->className : "", s.result);
    ASSERT_NE(history.Current(), nullptr);
    EXPECT_EQ(history.Current()->className, s.current);
  }
  // Visiting D from B dropped C.
  EXPECT_EQ(history.Size(), 3u);
  // Showing a place from the history again adds nothing.
  history.Visit(*history.Current());
  EXPECT_TRUE(history.CanGoForward());
}

TEST(NavigationHistoryTest, PlacesDifferByEveryPartAndTheOldestGo) {
  EXPECT_FALSE(SamePlace(At("A"), At("A", "", "root\\default")));
  EXPECT_FALSE(SamePlace(At("A"), Place{"srv", "root\\cimv2", "A", ""}));
  EXPECT_TRUE(SamePlace(At("A"), Place{".", "ROOT\\CIMV2", "a", ""}));
  NavigationHistory history;
  for (size_t i = 0; i < NavigationHistory::kMaxPlaces + 5; ++i)
    history.Visit(At("C", std::to_string(i).c_str()));
  EXPECT_EQ(history.Size(), NavigationHistory::kMaxPlaces);
  size_t steps = 0;
  while (history.Back()) ++steps;
  EXPECT_EQ(steps, NavigationHistory::kMaxPlaces - 1);
  EXPECT_EQ(history.Current()->objectPath, "5");
}

}  // namespace
}  // namespace brevane::app
