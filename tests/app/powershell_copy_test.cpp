#include "app/powershell_copy.h"

#include <gtest/gtest.h>

namespace brevane::app {
namespace {

TEST(PowerShellCopyTest, AnEventQueryIsKnownByItsLastWatchOrItsShape) {
  const struct {
    const char* query;
    const char* lastWatched;
    bool event;
  } cases[] = {
      {"SELECT * FROM __InstanceCreationEvent WITHIN 2", "", true},
      {"select * from __instancedeletionevent", "", true},
      {"SELECT * FROM Win32_ProcessStartTrace", "", false},  // only WMI knows
      {"SELECT * FROM Win32_ProcessStartTrace", " SELECT * FROM Win32_ProcessStartTrace ", true},
      {"SELECT * FROM MyEvents WITHIN 5 WHERE TargetInstance ISA 'X'", "", true},
      {"SELECT * FROM Win32_Service WHERE Name = 'within'", "", false},
      {"SELECT Withins FROM Win32_Service", "", false},
      {"SELECT * FROM __Namespace", "", false},
      {"ASSOCIATORS OF {X.Name=\"__AEvent\"}", "", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CopiesAsEventQuery(c.query, c.lastWatched), c.event) << c.query;

  const PowerShellTarget local{".", "root\\cimv2", ""};
  EXPECT_EQ(PowerShellTextOfQuery(local, " SELECT * FROM __InstanceCreationEvent WITHIN 2 ", ""),
            "Register-CimIndicationEvent -Namespace root/cimv2 -Query 'SELECT * FROM "
            "__InstanceCreationEvent WITHIN 2' -SourceIdentifier 'Brevane'");
  EXPECT_EQ(PowerShellTextOfQuery(local, "select Name from Win32_Service", ""),
            "Get-CimInstance -Namespace root/cimv2 -Query 'select Name from Win32_Service'");
}

TEST(PowerShellCopyTest, AnInstanceIsFilteredByTheKeysOfItsPath) {
  const PowerShellTarget target{"srv", "root\\cimv2", "admin"};
  const char* session =
      "$session = New-CimSession -ComputerName 'srv' -Credential (Get-Credential 'admin')\r\n";
  const struct {
    const char* path;
    const char* text;  // after the session line; "" when nothing is copied
  } cases[] = {
      {R"(Win32_Service.Name="O'Brien \"x\"")",
       R"(Get-CimInstance -CimSession $session -Namespace root/cimv2 -ClassName Win32_Service -Filter "Name='O\'Brien `"x`"'")"},
      {R"(Win32_Thread.Handle="12",ProcessHandle=4)",
       R"(Get-CimInstance -CimSession $session -Namespace root/cimv2 -ClassName Win32_Thread -Filter "Handle='12' AND ProcessHandle=4")"},
      {"Win32_OperatingSystem=@",
       "Get-CimInstance -CimSession $session -Namespace root/cimv2 -ClassName "
       "Win32_OperatingSystem"},
      {R"(root\default:StdRegProv=@)",
       "Get-CimInstance -CimSession $session -Namespace root/default -ClassName StdRegProv"},
      {R"(Win32_Service="short")", ""},  // no key name to filter on
      {"Win32_Service.Name=", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    const auto text = PowerShellTextOfInstance(target, c.path);
    if (*c.text == '\0') {
      EXPECT_FALSE(text) << c.path;
    } else {
      EXPECT_EQ(text.value_or("(none)"), std::string(session) + c.text) << c.path;
    }
  }
}

TEST(PowerShellCopyTest, ACallGoesToTheClassOrTheInstanceItsPathNames) {
  const PowerShellTarget local{".", "root\\cimv2", ""};
  wmi::ParameterValue level{wmi::kCimUint8, true, {wmi::Value::Int(7)}};
  const std::vector<wmi::MethodArgument> arguments = {{"Level", level},
                                                      {"Names", {wmi::kCimString, false, {}}}};
  const struct {
    const char* path;
    const char* text;  // "" when nothing is copied
  } cases[] = {
      {"",
       "Invoke-CimMethod -Namespace root/cimv2 -ClassName Brevane_Sampler -MethodName Echo "
       "-Arguments @{ Level = [byte]7; Names = $null }"},
      {R"(Brevane_Sampler.Name="O'x")",
       "Get-CimInstance -Namespace root/cimv2 -ClassName Brevane_Sampler -Filter \"Name='O\\'x'\" "
       "| Invoke-CimMethod -MethodName Echo -Arguments @{ Level = [byte]7; Names = $null }"},
      {R"(root\default:Brevane_Sampler=@)",
       "Get-CimInstance -Namespace root/default -ClassName Brevane_Sampler | Invoke-CimMethod "
       "-MethodName Echo -Arguments @{ Level = [byte]7; Names = $null }"},
      {R"(Brevane_Sampler="short")", ""},
  };
  for (const auto& c : cases) {
    const auto text = PowerShellTextOfCall(local, "Brevane_Sampler", c.path, "Echo", arguments);
    if (*c.text == '\0') {
      EXPECT_FALSE(text) << c.path;
    } else {
      EXPECT_EQ(text.value_or("(none)"), c.text) << c.path;
    }
  }
}

}  // namespace
}  // namespace brevane::app
