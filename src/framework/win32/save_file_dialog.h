#pragma once
// The system's save dialog for one file.
#include <windows.h>

#include <optional>
#include <string>

namespace brevane::framework::win32 {

struct SaveFileChoice {
  std::wstring path;
  int filterIndex = 1;  // 1-based, as the dialog counts
};

// filters: pairs of caption and pattern, each NUL-terminated, the whole list ending in a
// second NUL. Asks before replacing an existing file; refuses a read-only one. Nothing when the
// user cancelled; throws std::runtime_error when the dialog itself failed.
std::optional<SaveFileChoice> ChooseSaveFile(HWND owner, const wchar_t* filters,
                                             const std::wstring& initialName,
                                             const wchar_t* defaultExtension);

}  // namespace brevane::framework::win32
