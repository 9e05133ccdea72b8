#pragma once
// What "复制为 PowerShell" puts on the clipboard: the query, the instance, the method call or
// the event query the user is looking at, as CIM cmdlet lines that PowerShell reads back to
// the same request. A password is never part of the text: with a user name, the lines open a
// CIM session that asks for the password when they run.
#include <string>
#include <string_view>
#include <vector>

#include "wmi/parameter_input.h"

namespace brevane::app {

struct PowerShellTarget {
  std::string host;       // "", "." and "localhost" are this computer
  std::string nameSpace;  // empty: root\cimv2
  std::string user;       // empty: the user's own credentials
};

// One key of an instance as its object path names it, the value unescaped.
struct PowerShellKey {
  std::string name;
  std::string value;
  bool text = true;  // a quoted value in the path (else a number or a boolean)
};

// A text in single quotes, every kind of single quote PowerShell knows doubled.
std::string PowerShellQuote(std::string_view text);

// Get-CimInstance -Query for a query.
std::string PowerShellQueryText(const PowerShellTarget& target, std::string_view query);
// Get-CimInstance -ClassName with a -Filter on the instance's keys (none for a singleton).
std::string PowerShellInstanceText(const PowerShellTarget& target, std::string_view className,
                                   const std::vector<PowerShellKey>& keys);
// Register-CimIndicationEvent for an event query.
std::string PowerShellEventText(const PowerShellTarget& target, std::string_view query);

struct PowerShellArgument {
  std::string name;
  wmi::ParameterValue value;  // not given: $null
};

// Invoke-CimMethod with -Arguments: on the instance (Get-CimInstance piped into it) when it
// has keys or is a singleton (`instance`), else on the class (a static method).
std::string PowerShellMethodText(const PowerShellTarget& target, std::string_view className,
                                 const std::vector<PowerShellKey>* instance,
                                 std::string_view methodName,
                                 const std::vector<PowerShellArgument>& arguments);

}  // namespace brevane::app
