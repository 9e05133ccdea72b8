#pragma once
// Paths longer than MAX_PATH: the file functions accept them only in the extended-length form
// ("\\?\C:\..." or "\\?\UNC\server\share\..."), which turns off the system's own
// normalisation, so it is made from a path already made full.
#include <string>
#include <string_view>

namespace brevane::framework {

// The extended-length form of a full path (a drive path or a UNC path); a path already in a
// device or extended form, and any other, comes back unchanged.
std::wstring ExtendedLengthPath(std::wstring_view fullPath);

// The path as the user wrote it: the extended-length prefix removed again.
std::wstring DisplayPath(std::wstring_view path);

}  // namespace brevane::framework
