#pragma once
// The support mail link of the help menu.
#include <cstdint>
#include <string>

namespace brevane::app {

struct WindowsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
};

// "mailto:" + mailbox + "?subject=Question about Brevane 2.00 on Windows 5.01 (2600). ",
// handed to the shell as it stands (nothing escaped).
std::string SupportMailLink(const WindowsVersion& version);

}  // namespace brevane::app
