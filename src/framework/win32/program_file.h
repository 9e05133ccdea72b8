#pragma once
// Where the running program's own file is: its help and its placement file are named after it.
#include <string>

namespace brevane::framework::win32 {

// The full path of the program's file, however long; empty when the system cannot give it.
std::wstring ProgramFileName();

}  // namespace brevane::framework::win32
