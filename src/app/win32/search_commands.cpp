// Searching the list of the active tab: the find dialog and find again. The rules are the
// portable search flow's; this file gives it the window, the lists and the message boxes.
#include <windows.h>

#include <memory>
#include <string>

#include "app/search_flow.h"
#include "app/win32/main_window.h"
#include "dialogs/win32/find_dialog.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/encoding.h"
#include "util/product_info.h"

namespace brevane::app::win32 {

class SearchCommands final : public SearchWindowPort, public SearchMessagePort {
 public:
  SearchCommands(TMainWin& window, dialogs::FindDialogPort& dialog)
      : window_(window), classList_(window.ClassListBox), flow_(dialog, *this, *this) {}

  SearchFlow& Flow() { return flow_; }

  SearchTab ActiveTab() const override {
    return window_.ActiveTab() == 1 ? SearchTab::Query : SearchTab::Classes;
  }
  util::ListViewControl& QueryList() override { return window_.listView1_; }
  util::ListBoxControl& ClassList() override { return classList_; }
  void FocusQueryList() override { SetFocus(window_.ListView1); }
  void FocusClassList() override { SetFocus(window_.ClassListBox); }
  void EmptyClassPanes() override { window_.EmptyClassPanes(); }

  bool AskYesNo(const std::string& text) override {
    return Box(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  void ShowWarning(const std::string& text) override { Box(text, MB_OK | MB_ICONWARNING); }

 private:
  int Box(const std::string& text, UINT type) {
    return MessageBoxW(window_.Handle(), framework::win32::Utf8ToWide(text).c_str(),
                       framework::win32::Utf8ToWide(util::kProductName).c_str(), type);
  }

  TMainWin& window_;
  framework::win32::Win32ListBox classList_;
  SearchFlow flow_;
};

namespace {

// The window's copy of the search state follows the flow's after each command.
void MirrorSearchState(TMainWin& window, const SearchFlow& flow) {
  window.SearchText = flow.SearchText();
  window.MatchCase = flow.MatchCase();
  window.WholeWord = flow.WholeWord();
}

}  // namespace

void TMainWin::Search1Click() {
  if (!FindDialog) return;
  if (!searchCommands_) searchCommands_ = std::make_shared<SearchCommands>(*this, *FindDialog);
  searchCommands_->Flow().Search1Click();
  MirrorSearchState(*this, searchCommands_->Flow());
}

void TMainWin::Findagain1Click() {
  if (!FindDialog) return;
  if (!searchCommands_) searchCommands_ = std::make_shared<SearchCommands>(*this, *FindDialog);
  searchCommands_->Flow().Findagain1Click();
  MirrorSearchState(*this, searchCommands_->Flow());
}

}  // namespace brevane::app::win32
