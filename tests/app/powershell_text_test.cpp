#include "app/powershell_text.h"

#include <gtest/gtest.h>

namespace brevane::app {
namespace {

const PowerShellTarget kLocal{"", "root\\cimv2", ""};

TEST(PowerShellTextTest, QuotingAsPowerShellReadsIt) {
  EXPECT_EQ(PowerShellQuote("it's"), "'it''s'");
  EXPECT_EQ(PowerShellQuote("$x `y` \"z\""), "'$x `y` \"z\"'");
  // Typographic single quotes end a single-quoted string too.
  EXPECT_EQ(PowerShellQuote("a\xE2\x80\x99"
                            "b"),
            "'a\xE2\x80\x99\xE2\x80\x99"
            "b'");
  EXPECT_EQ(PowerShellQuote("\xE2\x80\x9C"), "'\xE2\x80\x9C'");
}

TEST(PowerShellTextTest, QueriesInstancesAndEventsPerTarget) {
  const PowerShellTarget remote{"SERVER1", "root\\Brevane Test", ""};
  const PowerShellTarget withUser{"srv", "", "DOM\\o'neil"};
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {PowerShellQueryText(kLocal, "SELECT * FROM Win32_Service WHERE Name='x'"),
       "Get-CimInstance -Namespace root/cimv2 -Query 'SELECT * FROM Win32_Service WHERE "
       "Name=''x'''"},
      {PowerShellQueryText({"localhost", "", ""}, "q"),
       "Get-CimInstance -Namespace root/cimv2 -Query 'q'"},
      {PowerShellQueryText(remote, "q"),
       "Get-CimInstance -ComputerName 'SERVER1' -Namespace 'root/Brevane Test' -Query 'q'"},
      {PowerShellQueryText(withUser, "q"),
       "$session = New-CimSession -ComputerName 'srv' -Credential (Get-Credential "
       "'DOM\\o''neil')\r\nGet-CimInstance -CimSession $session -Namespace root/cimv2 -Query 'q'"},
      {PowerShellInstanceText(kLocal, "Win32_Service", {{"Name", "Spooler", true}}),
       "Get-CimInstance -Namespace root/cimv2 -ClassName Win32_Service -Filter \"Name='Spooler'\""},
      // WQL escapes with backslashes; PowerShell's double quotes with backticks.
      {PowerShellInstanceText(kLocal, "C", {{"Path", "C:\\it's \"$x\"", true}, {"Id", "5", false}}),
       "Get-CimInstance -Namespace root/cimv2 -ClassName C -Filter \"Path='C:\\\\it\\'s "
       "`\"`$x`\"' AND Id=5\""},
      {PowerShellInstanceText(kLocal, "Win32_OperatingSystem", {}),
       "Get-CimInstance -Namespace root/cimv2 -ClassName Win32_OperatingSystem"},
      {PowerShellEventText(remote, "SELECT * FROM __InstanceCreationEvent WITHIN 2"),
       "Register-CimIndicationEvent -ComputerName 'SERVER1' -Namespace 'root/Brevane Test' "
       "-Query 'SELECT * FROM __InstanceCreationEvent WITHIN 2' -SourceIdentifier 'Brevane'"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, c.expected);
}

wmi::ParameterValue Parsed(std::string_view text, uint16_t cimType) {
  return *wmi::ParseParameterText(text, cimType).value;
}

TEST(PowerShellTextTest, MethodCallsWithTypedArguments) {
  const std::vector<PowerShellArgument> arguments = {
      {"Count", Parsed("4294967295", wmi::kCimUint32)},
      {"Small", Parsed("-5", wmi::kCimSint8)},
      {"Big", Parsed("18446744073709551615", wmi::kCimUint64)},
      {"Ratio", Parsed("0.5", wmi::kCimReal32)},
      {"Flag", Parsed("true", wmi::kCimBoolean)},
      {"Name", Parsed("it's", wmi::kCimString)},
      {"Missing", Parsed("", wmi::kCimString)},
      {"Letter", Parsed("'", wmi::kCimChar16)},
      {"When", Parsed("20240131235959.000000+060", wmi::kCimDatetime)},
      {"Ids", Parsed("1\n2", wmi::kCimUint16 | wmi::kCimArrayFlag)},
      {"Names", Parsed("a\nb'c", wmi::kCimString | wmi::kCimArrayFlag)},
      {"Odd Name", Parsed("1", wmi::kCimSint64)},
  };
  EXPECT_EQ(PowerShellMethodText(kLocal, "Brevane_Service", nullptr, "Create", arguments),
            "Invoke-CimMethod -Namespace root/cimv2 -ClassName Brevane_Service -MethodName Create "
            "-Arguments @{ Count = [uint32]4294967295; Small = [sbyte]-5; "
            "Big = [uint64]'18446744073709551615'; Ratio = [single]0.5; Flag = $true; "
            "Name = 'it''s'; Missing = $null; Letter = [char]''''; "
            "When = [Management.ManagementDateTimeConverter]::ToDateTime("
            "'20240131235959.000000+060'); Ids = [uint16[]]@(1, 2); "
            "Names = [string[]]@('a', 'b''c'); 'Odd Name' = [int64]1 }");

  const std::vector<PowerShellKey> keys = {{"Name", "Spooler", true}};
  EXPECT_EQ(PowerShellMethodText({"srv", "root\\cimv2", "admin"}, "Win32_Service", &keys,
                                 "StopService", {}),
            "$session = New-CimSession -ComputerName 'srv' -Credential (Get-Credential "
            "'admin')\r\nGet-CimInstance -CimSession $session -Namespace root/cimv2 -ClassName "
            "Win32_Service -Filter \"Name='Spooler'\" | Invoke-CimMethod -MethodName StopService");
}

}  // namespace
}  // namespace brevane::app
