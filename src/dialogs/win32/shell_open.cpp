#include "dialogs/win32/shell_open.h"

#include <shellapi.h>

#include "dialogs/shell_failure.h"
#include "framework/win32/encoding.h"
#include "framework/win32/message_box.h"

namespace brevane::dialogs::win32 {

bool ShellOpen(HWND owner, const std::string& target, DWORD& errorCode) {
  errorCode = ERROR_SUCCESS;
  const std::wstring file = brevane::framework::win32::Utf8ToWide(target);
  SetLastError(ERROR_SUCCESS);
  // Shown normally: a browser or mail program started hidden would be invisible to the user.
  const HINSTANCE result =
      ShellExecuteW(owner, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) > 32) return true;
  errorCode = ShellFailureCode(reinterpret_cast<INT_PTR>(result), GetLastError());
  return false;
}

void ShowPlainMessage(HWND owner, const std::string& text) {
  brevane::framework::win32::ShowMessageBox(owner, text, MB_OK);
}

}  // namespace brevane::dialogs::win32
