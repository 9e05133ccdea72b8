#include "framework/win32/message_box.h"

#include <string>

#include "framework/win32/encoding.h"
#include "util/product_info.h"

namespace brevane::win32 {

int ShowMessageBox(HWND owner, std::string_view text, UINT type) noexcept {
  return ShowMessageBox(owner, text, product::kName, type);
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
    MessageBoxA(owner, "Error", product::kName, MB_OK | MB_ICONERROR);
    return 0;
  }
  return MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), type);
}

}  // namespace brevane::win32
