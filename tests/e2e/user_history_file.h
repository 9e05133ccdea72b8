#pragma once
// The histories in the user's own settings file (%APPDATA%\Brevane\brevane.ini), where the
// program keeps them when its own folder cannot be written. Taken out again when the test
// ends: left there, they would be every later run's histories.
#include <windows.h>

#include <string>

#include "framework/win32/profile_file.h"
#include "framework/win32/user_folders.h"
#include "util/ini_text.h"

namespace brevane::e2e {

class UserHistoryFile {
 public:
  UserHistoryFile() : path_(framework::win32::RoamingAppDataFolder() + L"\\Brevane\\brevane.ini") {}
  ~UserHistoryFile() {
    for (const wchar_t* section :
         {L"QueryHistory", L"SearchHistory", L"HostHistory", L"NSpaceHistory"}) {
      WritePrivateProfileStringW(section, nullptr, nullptr, path_.c_str());
    }
  }
  UserHistoryFile(const UserHistoryFile&) = delete;
  UserHistoryFile& operator=(const UserHistoryFile&) = delete;

  util::IniSection Section(const char* name) const {
    return util::ReadIniSection(framework::win32::ReadProfileText(path_).text, name);
  }

 private:
  std::wstring path_;
};

}  // namespace brevane::e2e
