#pragma once
// Access to the HTML Help viewer and the program's help file. One HelpAccess lives in the
// program entry for the whole run; when it goes, it closes the viewer and shuts the help
// system down, but leaves its library loaded until the process ends: a viewer thread may still
// be running code from it.
#include <windows.h>

#include <string>

namespace brevane::framework::win32 {

// The folder of the running program's file, with a trailing backslash.
std::string ProgramDir();

// The registered path of the HTML Help control, or empty when it is not registered or its
// file is gone.
std::string FindHtmlHelpControl();

bool FileExists(const std::string& path);

class HelpAccess {
 public:
  HelpAccess() = default;
  ~HelpAccess() { ShutDown(); }
  HelpAccess(const HelpAccess&) = delete;
  HelpAccess& operator=(const HelpAccess&) = delete;

  // Loads the control and initializes the help system (HH_INITIALIZE, before any other help
  // command). Reports nothing when it fails; the help command explains it later.
  void LoadHtmlHelp();
  // Closes every viewer and uninitializes the help system; once per load, at the end of the
  // run. The library is not freed.
  void ShutDown();
  // For the message loop: the viewer's keyboard handling, needed where the help system runs on
  // the program's thread. True when the viewer took the message.
  bool PreTranslateMessage(MSG& message) const;
  void LocateHelpFile();
  // For tests and for a program that lives elsewhere than its help.
  void LocateHelpFileIn(const std::string& programDir);

  // Shows topic (help file path + "::" + page) or tells the user, in an error box owned by
  // owner, why it cannot.
  void ShowHelpTopic(const std::string& topic, HWND owner = nullptr) const;

  const std::string& ProgramDirectory() const { return programDir_; }
  const std::string& HelpFile() const { return helpFile_; }
  bool IsLoaded() const { return htmlHelp_ != nullptr; }

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

  HtmlHelpFunction htmlHelp_ = nullptr;
  // HH_INITIALIZE's cookie; a pointer's size, whatever the control writes into it.
  DWORD_PTR cookie_ = 0;
  std::string programDir_;
  std::string helpFile_;
};

}  // namespace brevane::framework::win32
