#include "framework/win32/message_box.h"

#include <string>

#include "framework/win32/encoding.h"
#include "util/product_info.h"

namespace brevane::framework::win32 {

int ShowMessageBox(HWND owner, std::string_view text, UINT type) noexcept {
  return ShowMessageBox(owner, text, util::kProductName, type);
}

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption,
                   UINT type) noexcept {
  std::wstring wideText;
  std::wstring wideCaption;
  try {
    wideText = Utf8ToWide(text);
    wideCaption = Utf8ToWide(caption);
  } catch (...) {
    // No memory for the texts: the box still tells the user that something failed, in texts
    // that need no conversion. It asks nothing, so a question counts as not answered.
    MessageBoxA(owner, "Error", util::kProductName, MB_OK | MB_ICONERROR);
    return 0;
  }
  return MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), type);
}

}  // namespace brevane::framework::win32
