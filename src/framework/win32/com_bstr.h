#pragma once
// Bstr: an owned BSTR. Move-only, so that a string is freed exactly once. Secret strings
// (passwords) are wiped before they are freed.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace brevane::framework::win32 {

class Bstr {
 public:
  Bstr() = default;
  // Keeps embedded NULs: the length travels with the string. Throws std::bad_alloc.
  explicit Bstr(std::wstring_view text);
  static Bstr FromUtf8(std::string_view text);
  // A copy whose characters are overwritten with zeros when it is freed.
  static Bstr Secret(std::wstring_view text);
  ~Bstr();

  Bstr(Bstr&& other) noexcept;
  Bstr& operator=(Bstr&& other) noexcept;
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR Get() const { return value_; }
  // Frees the current string and hands out the slot for an output parameter.
  BSTR* Receive();
  std::wstring_view View() const;
  std::string ToUtf8() const;

 private:
  void Free();

  BSTR value_ = nullptr;
  bool secret_ = false;
};

}  // namespace brevane::framework::win32
