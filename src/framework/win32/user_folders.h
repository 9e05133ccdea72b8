#pragma once
// The user's own folders and the small file-system questions the settings files ask.
#include <string>

namespace brevane::framework::win32 {

// The user's roaming application data folder (%APPDATA%), or empty when it is unknown.
std::wstring RoamingAppDataFolder();

// True for an existing file (not a folder).
bool FileExists(const std::wstring& path);

// Makes the folder that file is to go in, with its parents; an existing one is fine. False
// when it cannot be made.
bool EnsureFolderOf(const std::wstring& file);

}  // namespace brevane::framework::win32
