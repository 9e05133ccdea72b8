#include "app/win32/history_store.h"

#include <windows.h>

#include <stdexcept>

#include "framework/win32/encoding.h"
#include "framework/win32/help_access.h"
#include "framework/win32/profile_file.h"
#include "framework/win32/user_folders.h"

namespace brevane::app::win32 {

namespace {

// No history file comes near this size. A bigger file is something else (or damaged): it is
// neither read nor written, for every key written would rewrite all of it, and a close would
// take minutes; the histories go to the other place instead.
constexpr unsigned long long kMaxHistoryFileBytes = 16ull << 20;

bool Oversized(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    return false;
  const unsigned long long size =
      (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return size > kMaxHistoryFileBytes;
}

// One of the two files. The user's may have to have its folder made before the first write;
// where no path is known or the file is oversized, there is nothing to read and every write
// fails.
class HistoryFile final : public util::ProfileStore {
 public:
  HistoryFile(std::wstring path, bool makeFolder)
      : file_(std::move(path)),
        makeFolder_(makeFolder),
        usable_(!file_.Path().empty() && !Oversized(file_.Path())) {}
  util::IniSection ReadSection(std::string_view section) override {
    return usable_ ? file_.ReadSection(section) : util::IniSection();
  }
  void WriteString(std::string_view section, std::string_view key,
                   std::string_view value) override {
    if (!usable_) throw std::runtime_error("the settings file cannot be used");
    if (makeFolder_) {
      if (!framework::win32::EnsureFolderOf(file_.Path()))
        throw std::runtime_error("the settings folder cannot be made");
      makeFolder_ = false;
    }
    file_.WriteString(section, key, value);
  }

 private:
  framework::win32::ProfileFile file_;
  bool makeFolder_;
  bool usable_;
};

class DiskHomes final : public HistoryHomes {
 public:
  explicit DiskHomes(const HistoryFilePaths& paths)
      : program_(paths.programFile, false), user_(paths.userFile, true) {}
  util::ProfileStore& ProgramFolderFile() override { return program_; }
  util::ProfileStore& UserFile() override { return user_; }

 private:
  HistoryFile program_;
  HistoryFile user_;
};

}  // namespace

std::wstring HistoryFilePath(const std::string& programDir) {
  return framework::win32::Utf8ToWide(programDir + kHistoryFileName);
}

HistoryFilePaths DefaultHistoryFiles() {
  HistoryFilePaths paths;
  paths.programFile = HistoryFilePath(framework::win32::ProgramDir());
  const std::wstring appData = framework::win32::RoamingAppDataFolder();
  if (!appData.empty())
    paths.userFile = appData + L"\\Brevane\\" + framework::win32::Utf8ToWide(kHistoryFileName);
  return paths;
}

void LoadHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept {
  try {
    framework::win32::ProfileFile file(path);
    LoadHistory(file, combos);
  } catch (...) {
  }
}

void SaveHistoryFile(const std::wstring& path, const HistoryCombos& combos) noexcept {
  try {
    framework::win32::ProfileFile file(path);
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

util::IniSection ReadHomeSection(const HistoryFilePaths& paths, std::string_view section) noexcept {
  try {
    DiskHomes homes(paths);
    return ReadHome(homes).ReadSection(section);
  } catch (...) {
    return {};
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

}  // namespace brevane::app::win32
