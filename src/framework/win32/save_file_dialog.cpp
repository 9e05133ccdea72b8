#include "framework/win32/save_file_dialog.h"

#include <commdlg.h>
// commdlg.h defines FindText as a macro, which would rename the find dialog's text box in
// any source compiled after this one in the same batch.
#undef FindText

#include <algorithm>
#include <stdexcept>

namespace brevane::framework::win32 {

namespace {
// Long paths are allowed where the system allows them.
constexpr size_t kPathBuffer = 32768;
}  // namespace

std::optional<SaveFileChoice> ChooseSaveFile(HWND owner, const wchar_t* filters,
                                             const std::wstring& initialName,
                                             const wchar_t* defaultExtension) {
  std::wstring path(kPathBuffer, L'\0');
  initialName.copy(path.data(), std::min(initialName.size(), kPathBuffer - 1));
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrDefExt = defaultExtension;
  // A read-only file or folder is refused in the dialog, before any work is done for it.
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_NOCHANGEDIR | OFN_NOREADONLYRETURN;
  if (!GetSaveFileNameW(&dialog)) {
    const DWORD error = CommDlgExtendedError();
    if (error != 0)
      throw std::runtime_error("the save dialog failed (" + std::to_string(error) + ")");
    return std::nullopt;
  }
  path.resize(wcslen(path.c_str()));
  return SaveFileChoice{std::move(path), static_cast<int>(dialog.nFilterIndex)};
}

}  // namespace brevane::framework::win32
