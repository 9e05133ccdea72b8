// The histories of the combo boxes, loaded from and saved to the settings file.
#include "app/win32/history_store.h"
#include "app/win32/main_window.h"
#include "dialogs/win32/connect_form.h"
#include "dialogs/win32/find_dialog.h"
#include "framework/win32/control_adapters.h"
#include "util/history.h"

namespace brevane::app::win32 {

namespace {

// The four combo boxes; one whose dialog does not exist is left out, so that its stored
// history is neither replaced by an empty list nor lost.
class HistorySources {
 public:
  HistorySources(HWND queryCombo, HWND classFilterCombo, dialogs::win32::FindDialog* findDialog,
                 dialogs::win32::ConnectDialog* connectDialog)
      : query_(queryCombo), classFilter_(classFilterCombo) {
    if (queryCombo) combos_.query = &query_;
    if (classFilterCombo) combos_.classFilter = &classFilter_;
    if (findDialog && findDialog->Handle()) combos_.search = &findDialog->FindText();
    if (connectDialog && connectDialog->Handle()) {
      combos_.hosts = &connectDialog->HostCombo();
      combos_.namespaces = &connectDialog->wmiPathCombo();
    }
  }
  const HistoryCombos& Combos() const { return combos_; }

 private:
  framework::win32::Win32ComboBox query_;
  framework::win32::Win32ComboBox classFilter_;
  HistoryCombos combos_;
};

}  // namespace

void MainWindow::LoadHistory() {
  const HistorySources sources(queryCombo_, classFilterCombo_, findDialog_, connectDialog_);
  LoadHistoryFiles(DefaultHistoryFiles(), sources.Combos());
}

void MainWindow::SaveHistory() {
  const HistorySources sources(queryCombo_, classFilterCombo_, findDialog_, connectDialog_);
  // The filter in use counts as used, like a query that ran.
  if (sources.Combos().classFilter && !ClassFilter::Normalized(ClassFilterText()).empty())
    AddToHistory(*sources.Combos().classFilter, ClassFilterText());
  SaveHistoryFiles(DefaultHistoryFiles(), sources.Combos());
}

}  // namespace brevane::app::win32
