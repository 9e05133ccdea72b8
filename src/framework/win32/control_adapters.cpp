#include "framework/win32/control_adapters.h"

#include <string>

#include "framework/win32/encoding.h"

namespace brevane::framework::win32 {

std::string GetWindowTextUtf8(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  buffer.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return WideToUtf8(buffer);
}

void SetWindowTextUtf8(HWND window, const std::string& text) {
  SetWindowTextW(window, Utf8ToWide(text).c_str());
}

int Win32ComboBox::ItemCount() const {
  const LRESULT count = SendMessageW(combo_, CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string Win32ComboBox::ItemText(int index) const {
  const LRESULT length = SendMessageW(combo_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length < 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(combo_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return WideToUtf8(buffer);
}

void Win32ComboBox::DeleteItem(int index) {
  SendMessageW(combo_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32ComboBox::InsertItem(int index, const std::string& text) {
  const std::wstring wide = Utf8ToWide(text);
  SendMessageW(combo_, CB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string Win32ComboBox::EditText() const {
  return GetWindowTextUtf8(combo_);
}

void Win32ComboBox::SetEditText(const std::string& text) {
  SetWindowTextUtf8(combo_, text);
}

int Win32ListBox::ItemCount() const {
  const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::string Win32ListBox::ItemText(int index) const {
  const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length < 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
  return WideToUtf8(buffer);
}

int Win32ListBox::SelectedIndex() const {
  const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Win32ListBox::Select(int index) {
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace brevane::framework::win32
