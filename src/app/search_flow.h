#pragma once
// The find and find-again commands of the main window: which list is searched, where the
// search starts, and what the user is told. The window supplies the small interfaces below,
// the find dialog FindDialogPort; the matching itself is FindInListView / FindInListBox.
#include <string>

#include "dialogs/find_dialog_port.h"
#include "util/list_controls.h"

namespace brevane::app {

enum class SearchTab { Classes, Query };

// The main window's side: the active tab, its two searchable lists and the effects of a
// find.
class SearchWindowPort {
 public:
  virtual ~SearchWindowPort() = default;
  virtual SearchTab ActiveTab() const = 0;
  virtual util::ListViewControl& QueryList() = 0;  // ListView1
  virtual util::ListBoxControl& ClassList() = 0;   // ClassListBox
  virtual void FocusQueryList() = 0;         // ListView1 becomes the focused control
  virtual void FocusClassList() = 0;         // ClassListBox becomes the focused control
  // PropGrid back to its header row and one data row with both cells empty, InstanceListBox
  // emptied (a running load goes on, unseen), and the class they showed forgotten, so that a
  // click on it loads it again.
  virtual void EmptyClassPanes() = 0;
};

// The two message boxes of a search.
class SearchMessagePort {
 public:
  virtual ~SearchMessagePort() = default;
  // Confirmation icon, Yes and No; true only for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // Warning icon, OK.
  virtual void ShowWarning(const std::string& text) = 0;
};

// "Could not find "..."" followed by two carriage returns and "Start search over?".
std::string StartOverQuestion(const std::string& searchText);
// "Could not find "..."".
std::string NotFoundMessage(const std::string& searchText);

// The search state of the main window (SearchText, MatchCase, WholeWord: the last confirmed
// search, changed only by a confirmed find dialog) and the two commands.
class SearchFlow {
 public:
  SearchFlow(dialogs::FindDialogPort& dialog, SearchWindowPort& window,
             SearchMessagePort& messages);

  // Find (Ctrl+F): the dialog opens with the last confirmed text and options; when the user
  // confirms, they become the search and the active list is searched from the top.
  void Search1Click();
  // Find again (F3): continues after the current row; before any text was searched for it
  // behaves as Find.
  void Findagain1Click();
  // Searches the list of the active tab. A continued search that reaches the end asks
  // whether to start over; a miss from the top says that nothing was found.
  void SearchActiveList(bool fromStart);

  const std::string& SearchText() const { return searchText_; }
  bool MatchCase() const { return matchCase_; }
  bool WholeWord() const { return wholeWord_; }

 private:
  int FindIn(SearchTab tab, bool fromStart);

  dialogs::FindDialogPort& dialog_;
  SearchWindowPort& window_;
  SearchMessagePort& messages_;
  std::string searchText_;
  bool matchCase_ = false;
  bool wholeWord_ = false;
};

}  // namespace brevane::app
