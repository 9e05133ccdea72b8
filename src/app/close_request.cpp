#include "app/close_request.h"

#include "util/text.h"

namespace brevane::app {

bool SelectsEveryProperty(std::string_view query) {
  const size_t star = query.find('*');
  if (star == std::string_view::npos) return false;
  return util::AsciiLower(util::Trim(query.substr(0, star))) == "select";
}

CloseDecision DecideCloseRequest(const CloseRequestState& state, QuestionBox& questions) {
  CloseDecision decision;
  decision.query = util::Trim(state.queryText);
  if (decision.query.empty() || state.monitorWindow == 0 || decision.query == state.startupQuery) {
    return decision;
  }
  if (!questions.AskYesNo(kSendQueryQuestion)) return decision;
  if (state.resultHasColumns && SelectsEveryProperty(decision.query) &&
      questions.AskYesNo(kStarQueryQuestion)) {
    decision.canClose = false;
    return decision;
  }
  decision.send = true;
  return decision;
}

}  // namespace brevane::app
