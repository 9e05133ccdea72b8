#include "framework/extended_path.h"

namespace brevane::framework {

namespace {

constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kExtendedUnc = L"\\\\?\\UNC\\";

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsDrivePath(std::wstring_view path) {
  return path.size() >= 3 &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
         path[1] == L':' && IsSeparator(path[2]);
}

}  // namespace

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
  if (IsDrivePath(fullPath)) return std::wstring(kExtended) + std::wstring(fullPath);
  // "\\server\share": but not "\\?\" or "\\.\", which are already past the normalisation.
  if (fullPath.size() > 2 && IsSeparator(fullPath[0]) && IsSeparator(fullPath[1]) &&
      fullPath[2] != L'?' && fullPath[2] != L'.' && !IsSeparator(fullPath[2])) {
    return std::wstring(kExtendedUnc) + std::wstring(fullPath.substr(2));
  }
  return std::wstring(fullPath);
}

std::wstring DisplayPath(std::wstring_view path) {
  if (path.starts_with(kExtendedUnc))
    return L"\\\\" + std::wstring(path.substr(kExtendedUnc.size()));
  if (path.starts_with(kExtended) && IsDrivePath(path.substr(kExtended.size())))
    return std::wstring(path.substr(kExtended.size()));
  return std::wstring(path);
}

}  // namespace brevane::framework
