// The histories of the combo boxes, loaded from and saved to the settings file.
#include "app/win32/history_store.h"
#include "app/win32/main_window.h"
#include "framework/win32/control_adapters.h"
#include "util/win32/help_access.h"

namespace brevane::app {

namespace {

std::wstring SettingsFile() {
  return HistoryFilePath(help::ProgramDir());
}

}  // namespace

void TMainWin::LoadHistory() {
  win32::Win32ComboBox query(Query2Combo);
  HistoryCombos combos;
  combos.query = &query;
  LoadHistoryFile(SettingsFile(), combos);
}

void TMainWin::SaveHistory() {
  win32::Win32ComboBox query(Query2Combo);
  HistoryCombos combos;
  combos.query = &query;
  SaveHistoryFile(SettingsFile(), combos);
}

}  // namespace brevane::app
