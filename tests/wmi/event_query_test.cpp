#include "wmi/event_query.h"

#include <gtest/gtest.h>

namespace brevane::wmi {
namespace {

TEST(EventQueryTest, TheClassAfterFromAndWhetherItDerivesFromEvent) {
  const struct {
    const char* query;
    const char* selected;  // "" when none
  } cases[] = {
      {"SELECT * FROM __InstanceCreationEvent WITHIN 2 WHERE TargetInstance ISA 'Win32_Process'",
       "__InstanceCreationEvent"},
      {"select Name from\tWin32_ProcessStartTrace", "Win32_ProcessStartTrace"},
      {"SELECT * FROM Win32_Service WHERE Name = 'from x'", "Win32_Service"},
      {"  Select Caption,ThreadCount From Win32_Process", "Win32_Process"},
      {"ASSOCIATORS OF {Win32_Service.Name=\"x\"}", ""},
      {"SELECT * FROM", ""},
      {"SELECT 'unterminated FROM X", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SelectedClass(c.query).value_or(""), c.selected) << c.query;
  }

  EXPECT_TRUE(IsEventClass("__InstanceCreationEvent", {"__InstanceOperationEvent", "__Event"}));
  EXPECT_TRUE(IsEventClass("Win32_ProcessStartTrace", {"Win32_ProcessTrace", "Win32_SystemTrace",
                                                       "__ExtrinsicEvent", "__EVENT"}));
  EXPECT_TRUE(IsEventClass("__event", {}));
  EXPECT_FALSE(IsEventClass("Win32_Process", {"CIM_Process", "CIM_LogicalElement"}));
  EXPECT_FALSE(IsEventClass("__EventFilter", {"__IndicationRelated", "__SystemClass"}));
}

}  // namespace
}  // namespace brevane::wmi
