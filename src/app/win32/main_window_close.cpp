// The close request: saving the histories and offering the query to the monitoring program.
#include "app/close_request.h"

#include "app/win32/main_window.h"
#include "app/win32/main_window_host.h"
#include "app/win32/query_view.h"
#include "app/win32/query_handoff.h"
#include "framework/win32/message_box.h"

namespace brevane::app::win32 {

namespace {

class MessageBoxQuestions final : public QuestionBox {
 public:
  explicit MessageBoxQuestions(HWND owner) : owner_(owner) {}
  bool AskYesNo(const std::string& text) override {
    return framework::win32::ShowMessageBox(owner_, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
  }

 private:
  HWND owner_;
};

}  // namespace

bool MainWindow::CloseGranted() {
  host_->SaveHistories();
  bool canClose = true;
  try {
    CloseRequestState state;
    const std::string query = queryView_->QueryText();
    state.queryText = query;
    state.monitorWindow = monitorWindow_;
    state.startupQuery = startupQuery_;
    state.resultHasColumns = queryView_->ResultHasColumns();
    MessageBoxQuestions questions(Handle());
    const CloseDecision decision = DecideCloseRequest(state, questions);
    canClose = decision.canClose;
    if (decision.send) {
      SendQueryHandoff(Handle(), MonitorWindowHandle(monitorWindow_), decision.query);
    }
  } catch (...) {
    // Only the user's own answer keeps the window open.
    canClose = true;
  }
  return canClose;
}

}  // namespace brevane::app::win32
