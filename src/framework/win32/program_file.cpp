#include "framework/win32/program_file.h"

#include <windows.h>

namespace brevane::framework::win32 {

std::wstring ProgramFileName() {
  // The system truncates silently to the buffer, so the buffer grows until the name fits, up
  // to the longest path there is.
  constexpr size_t kLongestPath = 32768;
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= kLongestPath) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace brevane::framework::win32
