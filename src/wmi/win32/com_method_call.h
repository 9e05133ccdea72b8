#pragma once
// Calls a WMI method through the native API: the in-parameters object is spawned from the
// class's own signature and filled with each given argument as the VARIANT its CIM type
// needs, then the method runs on the object path (the class name for a static method).
#include <memory>
#include <string>
#include <vector>

#include "wmi/win32/wmi_connection.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi::win32 {

// The out-parameters object (ReturnValue and the out-parameters), or null when the method
// returns nothing. Throws WmiError with WMI's text when any step fails.
std::unique_ptr<Object> CallMethod(const std::shared_ptr<const WmiConnection>& connection,
                                   const std::string& objectPath, const std::string& method,
                                   const std::vector<MethodArgument>& arguments);

}  // namespace brevane::wmi::win32
