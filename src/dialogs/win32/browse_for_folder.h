#pragma once
// BrowseForFolder: runs the shell's browse dialog (folders, drives, network computers,
// printers) and returns the chosen item.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "dialogs/browse_flags.h"

namespace brevane::dialogs::win32 {

class BrowseForFolder {
 public:
  BrowseForFolder() = default;
  BrowseForFolder(const BrowseForFolder&) = delete;
  BrowseForFolder& operator=(const BrowseForFolder&) = delete;

  // The window of the owning form; the browse dialog is modal to it.
  void SetOwner(HWND owner) { owner_ = owner; }

  // Set on the form; used by the next Execute.
  std::string StatusText = "Plase select folder";
  std::string FolderName = "C:\\";
  BrowseLocation Root = BrowseLocation::bl_STANDART;
  std::string Caption = "Select Folder";
  // The root for bl_CUSTOM; it stays the caller's to free.
  PCIDLIST_ABSOLUTE CustomRoot = nullptr;

  BrowseFlags Flags() const { return options_.Flags(); }
  void SetFlags(BrowseFlags flags) { options_.SetFlags(flags); }
  uint32_t OptionBits() const { return options_.Bits(); }
  const std::string& DisplayName() const { return displayName_; }

  // True when the user chose an item with OK; FolderName and DisplayName then hold it.
  bool Execute();

  static int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM data, LPARAM callbackData);

 private:
  HWND owner_ = nullptr;
  BrowseOptions options_;
  std::string displayName_;
};

}  // namespace brevane::dialogs::win32
