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

// Panel 2 after each event, in one session of clicks.
TEST(ClassPanesStatus, SaysWhatThePanesShowNow) {
  enum class Event { Requesting, Loaded, Failed, Gone, Shown, Emptied };
  struct Step {
    Event event;
    std::string panelBefore;  // for Emptied: the panel's text at that moment
    std::string panelAfter;
  };
  const Step steps[] = {
      {Event::Requesting, "", "Requesting instances..."},
      {Event::Loaded, "", "Instances: 13"},
      {Event::Gone, "", "Not found"},
      {Event::Shown, "", "Instances: 13"},    // a later instance that exists
      {Event::Emptied, "Instances: 13", ""},  // a search moved the class selection
      {Event::Shown, "", ""},
      {Event::Requesting, "", "Requesting instances..."},
      {Event::Failed, "", "WMI Error: Access denied"},
      {Event::Emptied, "Could not copy", "Could not copy"},  // not ours: it stays
  };
  ClassPanesStatus status;
  for (const Step& s : steps) {
    std::string panel;
    switch (s.event) {
      case Event::Requesting:
        panel = status.Requesting();
        break;
      case Event::Loaded:
        panel = status.Loaded(13, "");
        break;
      case Event::Failed:
        panel = status.Loaded(2, "WMI Error: Access denied");
        break;
      case Event::Gone:
        panel = status.InstanceGone("Not found");
        break;
      case Event::Shown:
        panel = status.InstanceShown();
        break;
      case Event::Emptied:
        panel = status.Emptied(s.panelBefore);
        break;
    }
    EXPECT_EQ(panel, s.panelAfter) << static_cast<int>(s.event);
  }
}

}  // namespace
}  // namespace brevane::app
