#pragma once
// Reading and writing a password field without leaving copies behind in freed memory.
#include <windows.h>

#include <string>

namespace brevane::dialogs::win32 {

void WipeText(std::wstring& text);
void WipeText(std::string& text);

std::string ReadSecretText(HWND edit);
void WriteSecretText(HWND edit, const std::string& text);
// Overwrites the field's own buffer before emptying it.
void ClearSecretText(HWND edit);

}  // namespace brevane::dialogs::win32
