#pragma once
// The one place where text changes encoding: UTF-8 inside, UTF-16 at the Win32/COM edge, the
// ANSI code page only for the two INI files and the hand-off message.
#include <string>
#include <string_view>

namespace brevane::framework::win32 {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// Into the system's ANSI code page; lossless is set to false when a character had no
// representation there.
std::string Utf8ToAnsi(std::string_view text, bool* lossless = nullptr);
std::string AnsiToUtf8(std::string_view text);

}  // namespace brevane::framework::win32
