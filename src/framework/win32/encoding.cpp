#include "framework/win32/encoding.h"

#include <windows.h>

#include <climits>

namespace brevane::framework::win32 {

namespace {
std::wstring ToWide(UINT codePage, std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  if (size > 0) {
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  }
  return out;
}

std::string FromWide(UINT codePage, std::wstring_view text, bool* lossless) {
  if (lossless) *lossless = true;
  if (text.empty() || text.size() > INT_MAX) return {};
  BOOL usedDefault = FALSE;
  // The "used default char" report is not allowed for UTF-8.
  BOOL* usedDefaultPtr = codePage == CP_UTF8 ? nullptr : &usedDefault;
  const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, usedDefaultPtr);
  std::string out(static_cast<size_t>(size), '\0');
  if (size > 0) {
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, usedDefaultPtr);
  }
  if (lossless && usedDefault) *lossless = false;
  return out;
}
}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
  return ToWide(CP_UTF8, text);
}
std::string WideToUtf8(std::wstring_view text) {
  return FromWide(CP_UTF8, text, nullptr);
}

std::string Utf8ToAnsi(std::string_view text, bool* lossless) {
  return FromWide(CP_ACP, Utf8ToWide(text), lossless);
}

std::string AnsiToUtf8(std::string_view text) {
  return WideToUtf8(ToWide(CP_ACP, text));
}

}  // namespace brevane::framework::win32
