#include "dialogs/win32/secret_text.h"

#include "framework/win32/encoding.h"
#include "util/secret.h"

namespace brevane::dialogs::win32 {

void WipeText(std::wstring& text) {
  // The whole buffer: a shorter text assigned over a longer one leaves characters behind.
  text.resize(text.capacity());
  SecureZeroMemory(text.data(), text.size() * sizeof(wchar_t));
  text.clear();
}

void WipeText(std::string& text) {
  util::WipeSecret(text);
}

std::string ReadSecretText(HWND edit) {
  const int length = GetWindowTextLengthW(edit);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(edit, buffer.data(), length + 1);
  std::string text = brevane::framework::win32::WideToUtf8(
      std::wstring_view(buffer.data(), copied > 0 ? copied : 0));
  SecureZeroMemory(buffer.data(), buffer.size() * sizeof(wchar_t));
  return text;
}

void WriteSecretText(HWND edit, const std::string& text) {
  // Overwrite what the field held first: the edit control may keep its old buffer.
  ClearSecretText(edit);
  std::wstring wide = brevane::framework::win32::Utf8ToWide(text);
  SetWindowTextW(edit, wide.c_str());
  WipeText(wide);
}

void ClearSecretText(HWND edit) {
  const int length = GetWindowTextLengthW(edit);
  if (length > 0) {
    const std::wstring filler(static_cast<size_t>(length), L'*');
    SetWindowTextW(edit, filler.c_str());
  }
  SetWindowTextW(edit, L"");
}

}  // namespace brevane::dialogs::win32
