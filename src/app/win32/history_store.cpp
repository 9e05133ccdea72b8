#include "app/win32/history_store.h"

#include "framework/win32/encoding.h"
#include "framework/win32/profile_file.h"

namespace brevane::app {

std::wstring HistoryFilePath(const std::string& programDir) {
  return win32::Utf8ToWide(programDir + kHistoryFileName);
}

void LoadHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept {
  try {
    win32::ProfileFile file(path);
    LoadHistory(file, combos);
  } catch (...) {
  }
}

void SaveHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept {
  try {
    win32::ProfileFile file(path);
    SaveHistory(file, combos);
  } catch (...) {
  }
}

}  // namespace brevane::app
