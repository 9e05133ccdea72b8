#pragma once
// Text onto the clipboard as Unicode (CF_UNICODETEXT).
#include <windows.h>

#include <string_view>

namespace brevane::framework::win32 {

enum class ClipboardResult { Copied, Busy, TooLarge };

// Converts straight into the clipboard's memory, so that a large text exists once in UTF-8 and
// once in UTF-16, never more. Another program may hold the clipboard open for a moment: short
// retries for about half a second, then Busy. owner must be a window of this thread: without
// one, SetClipboardData fails on Windows. A NUL inside the text ends it on the clipboard; callers
// replace NULs first where the whole text matters.
ClipboardResult SetClipboardText(HWND owner, std::string_view text);

}  // namespace brevane::framework::win32
