#pragma once
// What "复制为 PowerShell" copies from what the user looks at: the query of the query box (as
// an event registration when it is an event query) or an instance by its relative path.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/powershell_text.h"
#include "wmi/query_ops.h"
#include "wmi/wmi_api.h"

namespace brevane::app {

// Where the commands go: the connection's computer, namespace and user, never its password.
PowerShellTarget PowerShellTargetOf(const wmi::ConnectionParams& connection);

// Whether the text of the query box is an event query, without asking WMI: the query that last
// ran as a watch is one; otherwise a WITHIN clause or a system event class (__...Event) says so.
bool CopiesAsEventQuery(std::string_view query, std::string_view lastWatchedQuery);

// Get-CimInstance -Query, or Register-CimIndicationEvent for an event query.
std::string PowerShellTextOfQuery(const PowerShellTarget& target, std::string_view query,
                                  std::string_view lastWatchedQuery);

// Get-CimInstance with a -Filter on the keys that the instance's relative path names (none for a
// singleton); none when the path is no object path or names a key without its name.
std::optional<std::string> PowerShellTextOfInstance(const PowerShellTarget& target,
                                                    std::string_view relativePath);

// Invoke-CimMethod for the method dialog's call with its typed arguments: on the instance that
// instancePath names (its computer and namespace too, when a full path gives them), or on the
// class when the path is empty. None when the path cannot be turned into a filter.
std::optional<std::string> PowerShellTextOfCall(const PowerShellTarget& target,
                                                std::string_view className,
                                                std::string_view instancePath,
                                                std::string_view methodName,
                                                const std::vector<wmi::MethodArgument>& arguments);

}  // namespace brevane::app
