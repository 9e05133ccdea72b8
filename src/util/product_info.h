#pragma once
// The product's own addresses and version texts, kept in one place so that a distributor can
// change them.
#include "brevane_version.h"

namespace brevane::util {

inline constexpr const char* kProductName = "Brevane";
// The build's version (CMakeLists.txt), also in the exe's version information.
inline constexpr const char* kProductVersion = BREVANE_VERSION_TEXT;
inline constexpr const char* kVersionLine = "Version: " BREVANE_VERSION_TEXT;
inline constexpr const char* kHomePageUrl = "https://brevane.example.org/";
inline constexpr const char* kSupportMailbox = "support@brevane.example.org";

}  // namespace brevane::util
