#pragma once
// Reads a list file of computers ("@path" in the box "计算机" or the switch -computers:).
#include <cstddef>
#include <string_view>

#include "app/computer_list.h"

namespace brevane::app::win32 {

// At most maxBytes + 1 bytes of the file, so that a file too big shows as such without
// being read whole; or the system's reason why it cannot be read.
ComputerFileRead ReadComputerFile(std::string_view path, size_t maxBytes);

}  // namespace brevane::app::win32
