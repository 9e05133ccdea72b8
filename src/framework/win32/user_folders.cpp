#include "framework/win32/user_folders.h"

#include <shlobj.h>
#include <windows.h>

#include <string>

namespace brevane::framework::win32 {

namespace {

class CoTaskString {
 public:
  CoTaskString() = default;
  ~CoTaskString() { CoTaskMemFree(text_); }
  CoTaskString(const CoTaskString&) = delete;
  CoTaskString& operator=(const CoTaskString&) = delete;
  PWSTR* Receive() { return &text_; }
  const wchar_t* Get() const { return text_; }

 private:
  PWSTR text_ = nullptr;
};

}  // namespace

std::wstring RoamingAppDataFolder() {
  CoTaskString path;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, path.Receive())) ||
      !path.Get()) {
    return {};
  }
  return path.Get();
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnsureFolderOf(const std::wstring& file) {
  const size_t slash = file.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return true;
  const std::wstring folder = file.substr(0, slash);
  // Each level from the top; the drive, a share's name and existing levels fail harmlessly.
  for (size_t next = folder.find_first_of(L"\\/"); next != std::wstring::npos;
       next = folder.find_first_of(L"\\/", next + 1)) {
    if (next > 0) CreateDirectoryW(folder.substr(0, next).c_str(), nullptr);
  }
  CreateDirectoryW(folder.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace brevane::framework::win32
