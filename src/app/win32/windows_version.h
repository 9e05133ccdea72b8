#pragma once
// The version of the running Windows as the kernel reports it.
#include "app/support_mail.h"

namespace brevane::app::win32 {

// From RtlGetVersion, which, unlike GetVersionEx, is not bent by compatibility shims to the
// version that the program's manifest claims to know. Zeros when it cannot be read.
WindowsVersion RunningWindowsVersion();

}  // namespace brevane::app::win32
