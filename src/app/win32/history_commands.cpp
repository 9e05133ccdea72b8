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
  explicit HistorySources(TMainWin& window)
      : query_(window.Query2Combo), classFilter_(window.ClassFilterCombo) {
    if (window.Query2Combo) combos_.query = &query_;
    if (window.ClassFilterCombo) combos_.classFilter = &classFilter_;
    if (window.FindDialog && window.FindDialog->Handle()) {
      combos_.search = &window.FindDialog->FindText();
    }
    if (window.ConnectForm && window.ConnectForm->Handle()) {
      combos_.hosts = &window.ConnectForm->HostCombo();
      combos_.namespaces = &window.ConnectForm->wmiPathCombo();
    }
  }
  const HistoryCombos& Combos() const { return combos_; }

 private:
  framework::win32::Win32ComboBox query_;
  framework::win32::Win32ComboBox classFilter_;
  HistoryCombos combos_;
};

}  // namespace

void TMainWin::LoadHistory() {
  const HistorySources sources(*this);
  LoadHistoryFiles(DefaultHistoryFiles(), sources.Combos());
}

void TMainWin::SaveHistory() {
  const HistorySources sources(*this);
  // The filter in use counts as used, like a query that ran.
  if (sources.Combos().classFilter && !ClassFilter::Normalized(ClassFilterText()).empty())
    AddToHistory(*sources.Combos().classFilter, ClassFilterText());
  SaveHistoryFiles(DefaultHistoryFiles(), sources.Combos());
}

}  // namespace brevane::app::win32
