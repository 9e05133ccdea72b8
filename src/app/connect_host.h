#pragma once
// The host as WMI gets it: the connect dialog's preset entry "本机" ("this computer") is no
// computer name.
#include <string>

namespace brevane::app {

inline constexpr const char* kThisComputerEntry = "\xE6\x9C\xAC\xE6\x9C\xBA";  // 本机

// "." (the local computer) for the preset entry; any other host unchanged.
std::string HostForConnection(const std::string& host);

}  // namespace brevane::app
