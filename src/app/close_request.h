#pragma once
// The close-time decision for a program started by the monitor: whether to offer the final
// query back to it, whether to warn about "*", and whether the window may close.
#include <cstdint>
#include <string>
#include <string_view>

namespace brevane::app {

inline constexpr const char* kSendQueryQuestion = "Send query string to Kestrum?";
inline constexpr const char* kStarQueryQuestion =
    "Kestrum requires specific field name instead of *\r\nWould you like to modify WMI query?";

// Asks a question with Yes and No; true only for Yes.
class QuestionBox {
 public:
  virtual ~QuestionBox() = default;
  virtual bool AskYesNo(const std::string& text) = 0;
};

struct CloseRequestState {
  std::string_view queryText;     // the query box's text as it stands
  int32_t monitorWindow = 0;      // from "-kt:"; 0 when the monitor did not start us
  std::string_view startupQuery;  // from "-query:", trimmed
  bool resultHasColumns = false;  // some query of this run returned at least one object
};

struct CloseDecision {
  bool canClose = true;
  bool send = false;
  std::string query;  // the trimmed query text, what is sent when `send` is set
};

// True when the text before the first "*", trimmed and ASCII-lowered, is exactly "select".
bool SelectsEveryProperty(std::string_view query);

// Asks what has to be asked and says what to do. The histories are saved before this.
CloseDecision DecideCloseRequest(const CloseRequestState& state, QuestionBox& questions);

}  // namespace brevane::app
