#pragma once
// Drives a running Brevane process from outside, the way a user or a monitoring program would:
// finds its windows, reads what they show and sends them messages. Controls whose messages
// carry pointers (tab, list view, header, status bar) are read through a buffer allocated in
// the target process, because the system does not marshal those messages between processes.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brevane::e2e {

using Milliseconds = std::chrono::milliseconds;

// Polls condition every 50 ms until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout);

// The exe named by an environment variable (BREVANE_EXE, BREVANE_FAKE_EXE); empty when unset.
std::wstring ExeFromEnvironment(const char* variable);

class AppProcess {
 public:
  AppProcess() = default;
  ~AppProcess();  // ends the process if it still runs
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  // arguments: appended to the quoted program path as they are.
  bool Start(const std::wstring& exe, const std::wstring& arguments);
  DWORD ProcessId() const { return processId_; }
  bool Running() const;
  // Waits for the process to end; its exit code, or nothing when it still runs.
  std::optional<DWORD> WaitForExit(Milliseconds timeout) const;

  // A visible top-level window of the process with this caption.
  HWND FindTopWindow(const std::wstring& caption) const;
  HWND WaitForTopWindow(const std::wstring& caption, Milliseconds timeout) const;
  // A visible message box (dialog class #32770) of the process, other than the main window.
  HWND FindMessageBox() const;
  HWND WaitForMessageBox(Milliseconds timeout) const;
  // A visible dialog (class #32770) of the process with exactly this caption.
  HWND FindDialog(const std::wstring& caption) const;
  HWND WaitForDialog(const std::wstring& caption, Milliseconds timeout) const;

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
};

// The text of a message box, and pressing its OK button.
std::string MessageBoxText(HWND box);
void DismissMessageBox(HWND box);

// A message to a window of the program, given up after 5 s (the result is then -1): a
// program that hangs or has crashed fails the test instead of holding the whole suite.
LRESULT SendToProgram(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Plain window messages (marshalled by the system).
std::string WindowText(HWND window);
std::vector<std::string> ListBoxItems(HWND listBox);
// The class list has arrived: not empty and sorted without regard to case. Names stream in as
// WMI lists them and are sorted at the end, so a first batch that happens to be sorted passes
// too: ChooseClassLine does not rely on the order staying.
bool ClassListLoaded(HWND classList);
// Selects a line of a list box as a click does: the selection, then the notification to the
// list's owner (posted: the owner may show a modal box).
void ChooseListLine(HWND owner, HWND listBox, int id, int index);
// The same for the class list's line with this name; false when there is none yet, or when
// the list was sorted between reading it and selecting the line (then nothing is chosen).
bool ChooseClassLine(HWND owner, HWND classList, const std::string& name);
// A query runs in the background: its run button reads "停止" until it ends.
bool QueryRunning(HWND mainWindow);
std::vector<std::string> ComboItems(HWND combo);
// The texts of a tree view item's children (of its top items for TVI_ROOT), in order.
std::vector<std::string> TreeChildTexts(HWND tree, HTREEITEM parent);
// The text of the tree's selected item, empty when none is.
std::string TreeSelectedText(HWND tree);
HWND ComboEdit(HWND combo);

// A buffer in another process, for the messages that carry pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND owner, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Valid() const { return address_ != nullptr; }
  char* Address() const { return static_cast<char*>(address_); }
  bool Write(size_t offset, const void* data, size_t size) const;
  bool Read(size_t offset, void* data, size_t size) const;

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_ = 0;
};

std::vector<std::string> TabCaptions(HWND tabControl);
int SelectedTab(HWND tabControl);
std::string StatusPanelText(HWND statusBar, int panel);
int ListViewRowCount(HWND listView);
std::string ListViewCell(HWND listView, int row, int column);
std::vector<std::string> ListViewColumn(HWND listView, int column);
struct HeaderColumn {
  std::string caption;
  int image = -1;  // -1: none
};
std::vector<HeaderColumn> ListViewHeader(HWND listView);
// The sort arrow image of one column; -2 when the column cannot be read.
int HeaderImage(HWND listView, size_t column);
// Clicks a column header of a list view with the mouse messages a user's click sends.
bool ClickListViewHeader(HWND listView, int column);
// Double-clicks a row of a list view the same way (the row must be in view).
bool DoubleClickListViewRow(HWND listView, int row);
// Clicks a tab of a tab control the same way, which selects it and tells its owner.
bool ClickTab(HWND tabControl, int index);

// WM_COMMAND as a menu item or a button sends it (posted: the target may show a modal box).
void PostMenuCommand(HWND window, int id);
void PostButtonClick(HWND button);
void PostChar(HWND window, wchar_t character);
// Returns once the target's thread answers a sent message, that is once it is not stuck in
// a long operation (false when it did not answer in time). Posted messages may still wait.
bool Sync(HWND window, Milliseconds timeout);

}  // namespace brevane::e2e
