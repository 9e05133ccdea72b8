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
  explicit HistorySources(MainWindow& window)
      : query_(window.queryCombo_), classFilter_(window.classFilterCombo_) {
    if (window.queryCombo_) combos_.query = &query_;
    if (window.classFilterCombo_) combos_.classFilter = &classFilter_;
    if (window.findDialog_ && window.findDialog_->Handle()) {
      combos_.search = &window.findDialog_->FindText();
    }
    if (window.connectDialog_ && window.connectDialog_->Handle()) {
      combos_.hosts = &window.connectDialog_->HostCombo();
      combos_.namespaces = &window.connectDialog_->wmiPathCombo();
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
  const HistorySources sources(*this);
  LoadHistoryFiles(DefaultHistoryFiles(), sources.Combos());
}

void MainWindow::SaveHistory() {
  const HistorySources sources(*this);
  // The filter in use counts as used, like a query that ran.
  if (sources.Combos().classFilter && !ClassFilter::Normalized(ClassFilterText()).empty())
    AddToHistory(*sources.Combos().classFilter, ClassFilterText());
  SaveHistoryFiles(DefaultHistoryFiles(), sources.Combos());
}

}  // namespace brevane::app::win32
