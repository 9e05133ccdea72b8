#include "app/class_choice.h"

#include <gtest/gtest.h>

#include <string>

namespace brevane::app {
namespace {

TEST(ClassChoice, ClicksAndRefreshesTargetTheClassTheyName) {
  struct Case {
    std::string shown, named;
    ClassAction click, refresh;
  };
  const Case cases[] = {
      {"", "Win32_Process", ClassAction::LoadClass, ClassAction::LoadClass},
      {"Win32_Process", "Win32_Process", ClassAction::Nothing, ClassAction::ReloadInstances},
      // A search selected another class without loading it.
      {"Win32_Process", "Win32_Service", ClassAction::LoadClass, ClassAction::LoadClass},
      {"Win32_Process", "win32_process", ClassAction::LoadClass, ClassAction::LoadClass},
      {"Win32_Process", "", ClassAction::Nothing, ClassAction::Nothing},
      {"", "", ClassAction::Nothing, ClassAction::Nothing},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ActionForClassClick(c.shown, c.named), c.click) << c.shown << " / " << c.named;
    EXPECT_EQ(ActionForRefresh(c.shown, c.named), c.refresh) << c.shown << " / " << c.named;
  }
}

}  // namespace
}  // namespace brevane::app
