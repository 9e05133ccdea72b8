#pragma once
// A VARIANT as the portable Value: the full tag is kept (array and by-reference bits
// included), by-reference values are read through their pointers, arrays keep only their
// dimensions and bounds, and text becomes UTF-8. Never throws on a strange VARIANT: what it
// does not know keeps only its tag. cimType is the CIMTYPE WMI reported with the value (0 when
// none was).
#include <windows.h>
#include <oleauto.h>

#include "wmi/value.h"

namespace brevane::wmi::win32 {

Value VariantToValue(const VARIANT& variant, long cimType = 0);

}  // namespace brevane::wmi::win32
