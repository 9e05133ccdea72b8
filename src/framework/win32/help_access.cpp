#include "framework/win32/help_access.h"

#include <string>
#include <vector>

#include "framework/win32/encoding.h"
#include "framework/win32/message_box.h"
#include "framework/win32/program_file.h"
#include "framework/win32/user_folders.h"
#include "util/help_texts.h"

namespace brevane::framework::win32 {

namespace {

constexpr wchar_t kHtmlHelpControlKey[] =
    L"CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";
constexpr UINT kHhDisplayTopic = 0;
constexpr UINT kHhCloseAll = 0x0012;
constexpr UINT kHhInitialize = 0x001C;
constexpr UINT kHhUninitialize = 0x001D;
constexpr UINT kHhPretranslateMessage = 0x00FD;

class RegistryKey {
 public:
  explicit RegistryKey(HKEY key) : key_(key) {}
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_;
};

std::wstring ReadDefaultString(HKEY key) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes == 0) return {};
  // A registry value may be huge or lack its terminator; bound it and terminate it ourselves.
  constexpr DWORD kMaxBytes = 32768 * sizeof(wchar_t);
  if (bytes > kMaxBytes) return {};
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD size = bytes;
  if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &size) != ERROR_SUCCESS) {
    return {};
  }
  std::wstring value(buffer.data());
  if (type == REG_EXPAND_SZ) {
    const DWORD needed = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
    if (needed > 0 && needed < 32768) {
      std::wstring expanded(needed, L'\0');
      if (ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed) == needed) {
        expanded.resize(needed - 1);
        value = expanded;
      }
    }
  }
  return value;
}

void ShowError(HWND owner, const std::string& text) {
  ShowMessageBox(owner, text, util::kHelpErrorTitle, MB_OK | MB_ICONERROR);
}

}  // namespace

std::string ProgramDir() {
  std::wstring path = ProgramFileName();
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  path.resize(slash + 1);
  return WideToUtf8(path);
}

bool FileExists(const std::string& path) {
  return !path.empty() && FileExists(Utf8ToWide(path));
}

std::string FindHtmlHelpControl() {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kHtmlHelpControlKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) {
    return {};
  }
  std::wstring value;
  {
    RegistryKey key(raw);
    value = ReadDefaultString(key.Get());
  }
  if (!value.empty() && !FileExists(value)) return {};
  return WideToUtf8(value);
}

void HelpAccess::LoadHtmlHelp() {
  if (htmlHelp_) return;
  const std::string path = FindHtmlHelpControl();
  if (path.empty() || !FileExists(path)) return;
  // Never freed: see ShutDown.
  HMODULE library = LoadLibraryW(Utf8ToWide(path).c_str());
  if (!library) return;
  // The wide entry point, so that a program folder outside the ANSI code page still works.
  htmlHelp_ = reinterpret_cast<HtmlHelpFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")));
  if (!htmlHelp_) return;
  cookie_ = 0;
  htmlHelp_(nullptr, nullptr, kHhInitialize, reinterpret_cast<DWORD_PTR>(&cookie_));
}

void HelpAccess::ShutDown() {
  if (!htmlHelp_) return;
  htmlHelp_(nullptr, nullptr, kHhCloseAll, 0);
  htmlHelp_(nullptr, nullptr, kHhUninitialize, cookie_);
  // The library stays loaded: a viewer closes asynchronously, and its thread may still run
  // code from the library after HH_CLOSE_ALL returns.
  htmlHelp_ = nullptr;
}

bool HelpAccess::PreTranslateMessage(MSG& message) const {
  return htmlHelp_ && htmlHelp_(nullptr, nullptr, kHhPretranslateMessage,
                                reinterpret_cast<DWORD_PTR>(&message)) != nullptr;
}

void HelpAccess::LocateHelpFile() {
  LocateHelpFileIn(ProgramDir());
}

void HelpAccess::LocateHelpFileIn(const std::string& programDir) {
  programDir_ = programDir;
  helpFile_ = programDir.empty() ? std::string()
                                 : util::ChooseHelpFile(programDir, [](const std::string& path) {
                                     return FileExists(path);
                                   });
}

void HelpAccess::ShowHelpTopic(const std::string& topic, HWND owner) const {
  switch (util::CheckHelpAvailable(helpFile_, htmlHelp_ != nullptr)) {
    case util::HelpProblem::NoHelpFile:
      ShowError(owner, util::HelpFileNotFoundMessage());
      return;
    case util::HelpProblem::NoHelpControl:
      ShowError(owner, util::HelpControlMissingMessage());
      return;
    case util::HelpProblem::None:
      break;
  }
  htmlHelp_(nullptr, Utf8ToWide(topic).c_str(), kHhDisplayTopic, 0);
}

}  // namespace brevane::framework::win32
