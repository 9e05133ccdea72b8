#pragma once
// Reads a class's full definition through the native API: the class object with its amended
// (localised) qualifiers, its superclasses, every non-system property with type, origin and
// qualifiers, every method with its parameters, and the MOF text.
#include <wbemidl.h>

#include <string>

#include "wmi/class_definition.h"

namespace brevane::wmi::win32 {

// Throws WmiError when the class cannot be read; parts that a provider does not offer
// (qualifier sets, method enumeration, origins) are left empty instead.
ClassDefinition ReadClassDefinition(IWbemServices* services, const std::string& className);

}  // namespace brevane::wmi::win32
