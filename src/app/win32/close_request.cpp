// The close request: saving the histories and offering the query to the monitoring program.
#include "app/close_request.h"

#include "app/win32/main_window.h"
#include "app/win32/query_handoff.h"
#include "framework/win32/encoding.h"
#include "util/product_info.h"

namespace brevane::app::win32 {

namespace {

class MessageBoxQuestions final : public QuestionBox {
 public:
  explicit MessageBoxQuestions(HWND owner) : owner_(owner) {}
  bool AskYesNo(const std::string& text) override {
    return MessageBoxW(owner_, framework::win32::Utf8ToWide(text).c_str(),
                       framework::win32::Utf8ToWide(util::kProductName).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
  }

 private:
  HWND owner_;
};

}  // namespace

void TMainWin::FormCloseQuery(bool& canClose) {
  SaveHistory();
  try {
    CloseRequestState state;
    const std::string query = Query2Text();
    state.queryText = query;
    state.monitorWindow = MonitorWindow;
    state.startupQuery = StartupQuery;
    state.resultHasColumns = listView1_.HeaderColumnCount() > 0;
    MessageBoxQuestions questions(Handle());
    const CloseDecision decision = DecideCloseRequest(state, questions);
    canClose = decision.canClose;
    if (decision.send) {
      SendQueryHandoff(Handle(), MonitorWindowHandle(MonitorWindow), decision.query);
    }
  } catch (...) {
    // Only the user's own answer keeps the window open.
    canClose = true;
  }
}

}  // namespace brevane::app::win32
