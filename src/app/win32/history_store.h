#pragma once
// The settings file "brevane.ini" beside the program, holding the four drop-down histories.
#include <string>

#include "app/history_file.h"

namespace brevane::app {

inline constexpr const char* kHistoryFileName = "brevane.ini";

// programDir: the program's folder with a trailing backslash, in UTF-8.
std::wstring HistoryFilePath(const std::string& programDir);

// Neither ever throws nor shows anything: a missing, locked or unwritable file only means that
// nothing is loaded or saved.
void LoadHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept;
void SaveHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept;

}  // namespace brevane::app
