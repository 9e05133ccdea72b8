#pragma once
// Access to the HTML Help viewer and the program's help file. One HelpAccess lives in the
// program entry for the whole run; it unloads the viewer's library when it goes.
#include <windows.h>

#include <string>

namespace brevane::help {

// The folder of the running program's file, with a trailing backslash.
std::string ProgramDir();

// The registered path of the HTML Help control, or empty when it is not registered or its
// file is gone.
std::string FindHtmlHelpControl();

bool FileExists(const std::string& path);

class HelpAccess {
 public:
  HelpAccess() = default;
  ~HelpAccess() { UnloadHtmlHelp(); }
  HelpAccess(const HelpAccess&) = delete;
  HelpAccess& operator=(const HelpAccess&) = delete;

  // Both report nothing when they fail; the help command explains it later.
  void LoadHtmlHelp();
  void UnloadHtmlHelp();
  void LocateHelpFile();
  // For tests and for a program that lives elsewhere than its help.
  void LocateHelpFileIn(const std::string& programDir);

  // Shows topic (help file path + "::" + page) or tells the user, in an error box owned by
  // owner, why it cannot.
  void ShowHelpTopic(const std::string& topic, HWND owner = nullptr) const;

  const std::string& ProgramDirectory() const { return programDir_; }
  const std::string& HelpFile() const { return helpFile_; }
  bool IsLoaded() const { return htmlHelp_ != nullptr; }
  // The viewer window that the last ShowHelpTopic opened, if it reported one.
  HWND LastViewer() const { return lastViewer_; }

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

  HMODULE library_ = nullptr;
  HtmlHelpFunction htmlHelp_ = nullptr;
  std::string programDir_;
  std::string helpFile_;
  mutable HWND lastViewer_ = nullptr;
};

}  // namespace brevane::help
