#include "app/close_request.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace brevane::app {
namespace {

class ScriptedQuestions final : public QuestionBox {
 public:
  explicit ScriptedQuestions(std::deque<bool> answers) : answers_(std::move(answers)) {}
  bool AskYesNo(const std::string& text) override {
    asked.push_back(text);
    if (answers_.empty()) return false;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  std::vector<std::string> asked;

 private:
  std::deque<bool> answers_;
};

TEST(CloseRequestTest, DecisionTable) {
  const std::string kStar = "select * from Win32_Process";
  struct Case {
    const char* name;
    std::string query;
    int32_t monitor;
    std::string startup;
    bool columns;
    std::deque<bool> answers;
    std::vector<std::string> expectedQuestions;
    bool canClose;
    bool send;
  } cases[] = {
      {"no -kt:", "select Name from Win32_Service", 0, "", true, {true}, {}, true, false},
      {"unchanged query",
       "  select Name from X  ",
       1234,
       "select Name from X",
       true,
       {true},
       {},
       true,
       false},
      {"case-only change",
       "SELECT Name from X",
       1234,
       "select Name from X",
       true,
       {false},
       {kSendQueryQuestion},
       true,
       false},
      {"blank query", " \t\r\n", 1234, "select x", true, {true}, {}, true, false},
      {"empty query", "", 1234, "", true, {true}, {}, true, false},
      {"offer declined",
       "select Name from X",
       1234,
       "",
       true,
       {false},
       {kSendQueryQuestion},
       true,
       false},
      {"typed, never run",
       "select Name from X",
       1234,
       "",
       false,
       {true},
       {kSendQueryQuestion},
       true,
       true},
      {"star, Yes keeps open",
       kStar,
       1234,
       "",
       true,
       {true, true},
       {kSendQueryQuestion, kStarQueryQuestion},
       false,
       false},
      {"star, No sends",
       kStar,
       -5,
       "",
       true,
       {true, false},
       {kSendQueryQuestion, kStarQueryQuestion},
       true,
       true},
      {"star without columns", kStar, 1234, "", false, {true}, {kSendQueryQuestion}, true, true},
      {"star later in the text",
       "select Name from X where Name like '*'",
       1234,
       "",
       true,
       {true},
       {kSendQueryQuestion},
       true,
       true},
  };
  for (const Case& c : cases) {
    ScriptedQuestions questions(c.answers);
    CloseRequestState state;
    state.queryText = c.query;
    state.monitorWindow = c.monitor;
    state.startupQuery = c.startup;
    state.resultHasColumns = c.columns;
    const CloseDecision decision = DecideCloseRequest(state, questions);
    EXPECT_EQ(questions.asked, c.expectedQuestions) << c.name;
    EXPECT_EQ(decision.canClose, c.canClose) << c.name;
    EXPECT_EQ(decision.send, c.send) << c.name;
    if (decision.send) {
      EXPECT_EQ(decision.query, c.query) << c.name;
    }
  }
}

TEST(CloseRequestTest, SentTextIsTrimmed) {
  ScriptedQuestions questions({true});
  CloseRequestState state;
  state.queryText = " \tselect Name from Win32_Service \r\n";
  state.monitorWindow = 7;
  const CloseDecision decision = DecideCloseRequest(state, questions);
  EXPECT_TRUE(decision.send);
  EXPECT_EQ(decision.query, "select Name from Win32_Service");
}

TEST(CloseRequestTest, StarCheckLooksOnlyBeforeTheFirstStar) {
  EXPECT_TRUE(SelectsEveryProperty("select * from Win32_Process"));
  EXPECT_TRUE(SelectsEveryProperty("SELECT   * FROM Win32_Service"));
  EXPECT_TRUE(SelectsEveryProperty("\tSeLeCt\t*"));
  EXPECT_FALSE(SelectsEveryProperty("select Name from X where Name like '*'"));
  EXPECT_FALSE(SelectsEveryProperty("select Name from X"));
  EXPECT_FALSE(SelectsEveryProperty("selects * from X"));
  EXPECT_FALSE(SelectsEveryProperty("* select"));
  EXPECT_FALSE(SelectsEveryProperty("SELECT\xC3\x80 * from X"));
}

}  // namespace
}  // namespace brevane::app
