#include "framework/win32/com_bstr.h"

#include <climits>
#include <new>
#include <utility>

#include "framework/win32/encoding.h"

namespace brevane::framework::win32 {

Bstr::Bstr(std::wstring_view text) {
  // A BSTR's byte length is a 32-bit count; anything longer cannot be represented.
  if (text.size() > UINT_MAX / sizeof(wchar_t) - 1) throw std::bad_alloc();
  value_ = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!value_) throw std::bad_alloc();
}

Bstr Bstr::FromUtf8(std::string_view text) {
  return Bstr(Utf8ToWide(text));
}

Bstr Bstr::Secret(std::wstring_view text) {
  Bstr secret(text);
  secret.secret_ = true;
  return secret;
}

Bstr::~Bstr() {
  Free();
}

Bstr::Bstr(Bstr&& other) noexcept
    : value_(std::exchange(other.value_, nullptr)), secret_(std::exchange(other.secret_, false)) {}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
  if (this != &other) {
    Free();
    value_ = std::exchange(other.value_, nullptr);
    secret_ = std::exchange(other.secret_, false);
  }
  return *this;
}

BSTR* Bstr::Receive() {
  Free();
  return &value_;
}

std::wstring_view Bstr::View() const {
  return value_ ? std::wstring_view(value_, SysStringLen(value_)) : std::wstring_view();
}

std::string Bstr::ToUtf8() const {
  return WideToUtf8(View());
}

void Bstr::Free() {
  if (!value_) return;
  if (secret_) SecureZeroMemory(value_, SysStringByteLen(value_));
  SysFreeString(value_);
  value_ = nullptr;
  secret_ = false;
}

}  // namespace brevane::framework::win32
