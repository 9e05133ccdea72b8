#include "app/win32/history_store.h"

#include <stdexcept>

#include "framework/win32/encoding.h"
#include "framework/win32/profile_file.h"
#include "framework/win32/user_folders.h"
#include "util/win32/help_access.h"

namespace brevane::app {

namespace {

// The user's file: its folder is made before the first write, and where no user folder is
// known there is nothing to read and every write fails.
class UserProfile final : public ProfileStore {
 public:
  explicit UserProfile(std::wstring path) : file_(std::move(path)) {}
  IniSection ReadSection(std::string_view section) override {
    return file_.Path().empty() ? IniSection() : file_.ReadSection(section);
  }
  void WriteString(std::string_view section, std::string_view key,
                   std::string_view value) override {
    if (!folderMade_) {
      if (file_.Path().empty() || !win32::EnsureFolderOf(file_.Path()))
        throw std::runtime_error("the user's settings folder cannot be made");
      folderMade_ = true;
    }
    file_.WriteString(section, key, value);
  }

 private:
  win32::ProfileFile file_;
  bool folderMade_ = false;
};

class DiskHomes final : public HistoryHomes {
 public:
  explicit DiskHomes(const HistoryFilePaths& paths)
      : program_(paths.programFile), user_(paths.userFile) {}
  ProfileStore& ProgramFolderFile() override { return program_; }
  ProfileStore& UserFile() override { return user_; }

 private:
  win32::ProfileFile program_;
  UserProfile user_;
};

}  // namespace

std::wstring HistoryFilePath(const std::string& programDir) {
  return win32::Utf8ToWide(programDir + kHistoryFileName);
}

HistoryFilePaths DefaultHistoryFiles() {
  HistoryFilePaths paths;
  paths.programFile = HistoryFilePath(help::ProgramDir());
  const std::wstring appData = win32::RoamingAppDataFolder();
  if (!appData.empty())
    paths.userFile = appData + L"\\Brevane\\" + win32::Utf8ToWide(kHistoryFileName);
  return paths;
}

void LoadHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept {
  try {
    win32::ProfileFile file(path);
    LoadHistory(file, combos);
  } catch (...) {
  }
}

void SaveHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept {
  try {
    win32::ProfileFile file(path);
    SaveHistory(file, combos);
  } catch (...) {
  }
}

void LoadHistoryFiles(const HistoryFilePaths& paths, const HistoryCombos& combos) noexcept {
  try {
    DiskHomes homes(paths);
    LoadHistory(homes, combos);
  } catch (...) {
  }
}

bool SaveHistoryFiles(const HistoryFilePaths& paths, const HistoryCombos& combos) noexcept {
  try {
    DiskHomes homes(paths);
    return SaveHistory(homes, combos);
  } catch (...) {
    return false;
  }
}

}  // namespace brevane::app
