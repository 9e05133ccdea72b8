#include "app/win32/computer_file_reader.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "framework/win32/encoding.h"
#include "framework/win32/gdi_handles.h"
#include "wmi/win32/system_error_text.h"

namespace brevane::app::win32 {

namespace {

struct FileCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueFile = framework::win32::UniqueHandleOf<HANDLE, FileCloser>;

ComputerFileRead Failure() {
  return {std::nullopt, wmi::win32::SystemErrorText(static_cast<int32_t>(GetLastError()))};
}

}  // namespace

ComputerFileRead ReadComputerFile(std::string_view path, size_t maxBytes) {
  const std::wstring widePath = framework::win32::Utf8ToWide(path);
  HANDLE opened = CreateFileW(widePath.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return Failure();
  const UniqueFile file(opened);
  // A file bigger than the bound is read only up to one byte past it.
  const size_t wanted = maxBytes + 1;
  std::string bytes(std::min<size_t>(wanted, 1u << 16), '\0');
  size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (bytes.size() == wanted) break;
      bytes.resize(std::min(wanted, bytes.size() * 2));
    }
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.Get(), bytes.data() + done, chunk, &got, nullptr)) return Failure();
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return {std::move(bytes), {}};
}

}  // namespace brevane::app::win32
