#include "app/win32/program_settings_store.h"

namespace brevane::app::win32 {

ProgramSettings LoadProgramSettings(const HistoryFilePaths& paths) noexcept {
  try {
    return ProgramSettingsFrom(ReadHomeSection(paths, kProgramSettingsSection));
  } catch (...) {
    return {};
  }
}

}  // namespace brevane::app::win32
