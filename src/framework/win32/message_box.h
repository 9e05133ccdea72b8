#pragma once
// Every message box of the program: UTF-8 text, captioned with the product's name unless the
// caller names another caption.
#include <windows.h>

#include <string_view>

namespace brevane::framework::win32 {

// type: the MB_ icon and buttons. Returns the button pressed; 0 when the question could not be
// asked.
// Never throws, so that it can report a failure from a catch block.
int ShowMessageBox(HWND owner, std::string_view text, UINT type) noexcept;
int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) noexcept;

}  // namespace brevane::framework::win32
