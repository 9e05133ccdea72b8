#pragma once
// The settings file "brevane.ini" holding the four drop-down histories: beside the program,
// or in the user's application data folder when the program's folder cannot be written.
#include <string>
#include <string_view>

#include "app/history_file.h"

namespace brevane::app::win32 {

inline constexpr const char* kHistoryFileName = "brevane.ini";

// programDir: the program's folder with a trailing backslash, in UTF-8.
std::wstring HistoryFilePath(const std::string& programDir);

struct HistoryFilePaths {
  std::wstring programFile;  // beside the program
  std::wstring userFile;     // %APPDATA%\Brevane\brevane.ini; empty when unknown
};
HistoryFilePaths DefaultHistoryFiles();

// None ever throws or shows anything: a missing, locked or unwritable file only means that
// nothing is loaded or saved there.
void LoadHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept;
void SaveHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept;
// Where HistoryHomes says: the user's file once it exists, else the program's.
void LoadHistoryFiles(const HistoryFilePaths& paths, const HistoryCombos& combos) noexcept;
// One section of the file LoadHistoryFiles reads; empty when it cannot be read.
util::IniSection ReadHomeSection(const HistoryFilePaths& paths, std::string_view section) noexcept;
// False only when neither file could be written.
bool SaveHistoryFiles(const HistoryFilePaths& paths, const HistoryCombos& combos) noexcept;

}  // namespace brevane::app::win32
