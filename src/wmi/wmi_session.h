#pragma once
// Steps shared by the whole WMI layer: connect afresh, fetch the next element of a walk.
#include <memory>
#include <stop_token>
#include <string>

#include "wmi/wmi_api.h"

namespace brevane::wmi {

// Raises WmiError when the locator cannot be created or the platform refuses the connection.
std::unique_ptr<Services> ConnectWmi(Backend& backend, const std::string& host,
                                     const std::string& ns, const std::string& user,
                                     const std::string& password);

// True when an object was fetched. False at the end or on a failing status (errorText
// untouched), or when fetching raised a failure (errorText := its message, item emptied).
bool NextEnumItem(ObjectEnumerator& enumerator, std::unique_ptr<Object>& item,
                  std::string& errorText, std::stop_token stop = {});

// The same for a property walk.
bool NextEnumItem(PropertyEnumerator& enumerator, Property& item, std::string& errorText);

}  // namespace brevane::wmi
