// Searching the list of the active tab: the find dialog and find again. The rules are the
// portable search flow's; this file gives it the window, the lists and the message boxes.
#include <windows.h>

#include <memory>
#include <string>

#include "app/search_flow.h"
#include "app/win32/main_window.h"
#include "dialogs/win32/find_dialog.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/message_box.h"

namespace brevane::app::win32 {

class SearchCommands final : public SearchWindowPort, public SearchMessagePort {
 public:
  SearchCommands(MainWindow& window, dialogs::FindDialogPort& dialog)
      : window_(window), classList_(window.classList_), flow_(dialog, *this, *this) {}

  SearchFlow& Flow() { return flow_; }

  SearchTab ActiveTab() const override {
    return window_.ActiveTab() == 1 ? SearchTab::Query : SearchTab::Classes;
  }
  util::ListViewControl& QueryList() override { return window_.resultView_; }
  util::ListBoxControl& ClassList() override { return classList_; }
  void FocusQueryList() override { SetFocus(window_.resultTable_); }
  void FocusClassList() override { SetFocus(window_.classList_); }
  void EmptyClassPanes() override { window_.EmptyClassPanes(); }

  bool AskYesNo(const std::string& text) override {
    return Box(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  void ShowWarning(const std::string& text) override { Box(text, MB_OK | MB_ICONWARNING); }

 private:
  int Box(const std::string& text, UINT type) {
    return framework::win32::ShowMessageBox(window_.Handle(), text, type);
  }

  MainWindow& window_;
  framework::win32::Win32ListBox classList_;
  SearchFlow flow_;
};

void MainWindow::OnFind() {
  if (!findDialog_) return;
  if (!searchCommands_) searchCommands_ = std::make_shared<SearchCommands>(*this, *findDialog_);
  searchCommands_->Flow().OnFind();
}

void MainWindow::OnFindNext() {
  if (!findDialog_) return;
  if (!searchCommands_) searchCommands_ = std::make_shared<SearchCommands>(*this, *findDialog_);
  searchCommands_->Flow().OnFindNext();
}

}  // namespace brevane::app::win32
