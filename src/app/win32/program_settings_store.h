#pragma once
// The program's settings, read once at start-up from the file that holds the histories.
#include "app/program_settings.h"
#include "app/win32/history_store.h"

namespace brevane::app::win32 {

// The defaults when the file or the section is missing or unreadable. Never writes the file.
ProgramSettings LoadProgramSettings(const HistoryFilePaths& paths) noexcept;

}  // namespace brevane::app::win32
