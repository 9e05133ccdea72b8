#include "app/search_flow.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "support/fake_list_controls.h"

namespace brevane::app {
namespace {

using testing::FakeListBox;
using testing::FakeListView;

// Records everything the flow does, in order, in one log.
struct Recorder : dialogs::FindDialogPort, SearchWindowPort, SearchMessagePort {
  std::vector<std::string> log;

  // Find dialog: what the user does when it is shown.
  bool confirm = true;
  std::string typedText;
  bool typedMatchCase = false;
  bool typedWholeWord = false;
  std::string dialogText;
  bool dialogMatchCase = false;
  bool dialogWholeWord = false;

  void SetSearchText(const std::string& text) override { dialogText = text; }
  void SetMatchCase(bool checked) override { dialogMatchCase = checked; }
  void SetWholeWord(bool checked) override { dialogWholeWord = checked; }
  bool Execute() override {
    log.push_back("dialog '" + dialogText + "' case=" + std::to_string(dialogMatchCase) +
                  " word=" + std::to_string(dialogWholeWord));
    if (confirm) {
      dialogText = typedText;
      dialogMatchCase = typedMatchCase;
      dialogWholeWord = typedWholeWord;
    }
    return confirm;
  }
  std::string SearchText() const override { return dialogText; }
  bool MatchCase() const override { return dialogMatchCase; }
  bool WholeWord() const override { return dialogWholeWord; }

  SearchTab tab = SearchTab::Query;
  FakeListView queryList;
  FakeListBox classList;
  SearchTab ActiveTab() const override { return tab; }
  util::ListViewControl& QueryList() override { return queryList; }
  util::ListBoxControl& ClassList() override { return classList; }
  void FocusQueryList() override { log.push_back("focus query list"); }
  void FocusClassList() override { log.push_back("focus class list"); }
  void EmptyClassPanes() override { log.push_back("empty class panes"); }

  std::deque<bool> answers;  // Yes/No answers to the start-over question, in order
  bool AskYesNo(const std::string& text) override {
    log.push_back("ask " + text);
    const bool yes = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return yes;
  }
  void ShowWarning(const std::string& text) override { log.push_back("warn " + text); }
};

using Log = std::vector<std::string>;

class SearchFlowTest : public ::testing::Test {
 protected:
  Recorder ui;
  SearchFlow flow{ui, ui, ui};

  void QueryRows(std::vector<util::StringList> rows) {
    ui.tab = SearchTab::Query;
    ui.queryList.rows = std::move(rows);
    ui.queryList.columns = 2;
  }
  void Confirm(const std::string& text, bool matchCase = false, bool wholeWord = false) {
    ui.typedText = text;
    ui.typedMatchCase = matchCase;
    ui.typedWholeWord = wholeWord;
  }
};

TEST_F(SearchFlowTest, FindAgainBeforeAnySearchOpensTheDialog) {
  QueryRows({{"notepad.exe", "1"}});
  Confirm("notepad");
  flow.Findagain1Click();
  EXPECT_EQ(ui.log, (Log{"dialog '' case=0 word=0", "focus query list"}));
  EXPECT_EQ(flow.SearchText(), "notepad");
  EXPECT_EQ(ui.queryList.selected, 0);
}

TEST_F(SearchFlowTest, EmptyTextGivesNotFoundWithTwoQuotes) {
  QueryRows({{"a", "b"}});
  Confirm("");
  flow.Search1Click();
  EXPECT_EQ(ui.log, (Log{"dialog '' case=0 word=0", "warn Could not find \"\""}));
}

TEST_F(SearchFlowTest, CancelKeepsTheSearchAndSearchesNothing) {
  QueryRows({{"a", "b"}});
  Confirm("a", true, true);
  flow.Search1Click();
  ui.log.clear();
  ui.confirm = false;
  Confirm("zzz");
  flow.Search1Click();
  EXPECT_EQ(ui.log, (Log{"dialog 'a' case=1 word=1"}));
  EXPECT_EQ(flow.SearchText(), "a");
  EXPECT_TRUE(flow.MatchCase());
  EXPECT_TRUE(flow.WholeWord());
}

TEST_F(SearchFlowTest, DialogReopensWithTheOptionsOfAFailedSearch) {
  QueryRows({{"a", "b"}});
  Confirm("missing", true, false);
  flow.Search1Click();
  ui.confirm = false;
  flow.Search1Click();
  EXPECT_EQ(ui.log.back(), "dialog 'missing' case=1 word=0");
}

TEST_F(SearchFlowTest, ListViewWrapsWithoutPromptThenAsksAtTheEnd) {
  QueryRows({{"svc", "1"}, {"other", "2"}, {"svc", "3"}});
  Confirm("svc");
  flow.Search1Click();
  EXPECT_EQ(ui.queryList.focused, 0);
  flow.Findagain1Click();
  EXPECT_EQ(ui.queryList.focused, 2);
  // Focused on the last row: the list view begins again at the top by itself.
  flow.Findagain1Click();
  EXPECT_EQ(ui.queryList.focused, 0);
  ui.log.clear();

  // Row 2 no longer matches: the search from row 1 reaches the end and asks.
  ui.queryList.rows[2] = {"none", "3"};
  ui.answers = {true};
  flow.Findagain1Click();
  EXPECT_EQ(ui.log, (Log{"ask Could not find \"svc\"\r\rStart search over?", "focus query list"}));
  EXPECT_EQ(ui.queryList.focused, 0);
}

TEST_F(SearchFlowTest, YesSearchesFromTheTopOnceThenNotFound) {
  QueryRows({{"a", "1"}, {"b", "2"}});
  Confirm("a");
  flow.Search1Click();
  ui.queryList.rows[0] = {"gone", "1"};
  ui.log.clear();
  ui.answers = {true, true};
  flow.Findagain1Click();
  EXPECT_EQ(ui.log,
            (Log{"ask Could not find \"a\"\r\rStart search over?", "warn Could not find \"a\""}));
  EXPECT_EQ(ui.answers.size(), 1u);  // asked only once
}

TEST_F(SearchFlowTest, NoEndsSilently) {
  ui.tab = SearchTab::Classes;
  ui.classList.items = {"Win32_Process", "Win32_Service"};
  Confirm("service");
  flow.Search1Click();
  ASSERT_EQ(ui.classList.selected, 1);
  ui.log.clear();
  ui.answers = {false};
  flow.Findagain1Click();
  EXPECT_EQ(ui.log, (Log{"ask Could not find \"service\"\r\rStart search over?"}));
  EXPECT_EQ(ui.classList.selected, 1);
}

TEST_F(SearchFlowTest, ClassListAsksAtOnceAfterTheLastItemAndClearsTheDetails) {
  ui.tab = SearchTab::Classes;
  ui.classList.items = {"Win32_Process", "Win32_Service", "CIM_Process"};
  ui.classList.selected = 2;
  Confirm("Process", true, true);
  flow.Search1Click();  // from the top despite the selection
  EXPECT_EQ(ui.classList.selected, 0);
  EXPECT_EQ(ui.log, (Log{"dialog '' case=0 word=0", "focus class list", "empty class panes"}));
  flow.Findagain1Click();
  EXPECT_EQ(ui.classList.selected, 2);
  ui.log.clear();
  ui.answers = {true};
  flow.Findagain1Click();
  EXPECT_EQ(ui.log, (Log{"ask Could not find \"Process\"\r\rStart search over?", "focus class list",
                         "empty class panes"}));
  EXPECT_EQ(ui.classList.selected, 0);
}

TEST_F(SearchFlowTest, FromStartMissGoesStraightToNotFound) {
  ui.tab = SearchTab::Classes;
  ui.classList.items = {"A"};
  Confirm("B");
  flow.Search1Click();
  EXPECT_EQ(ui.log, (Log{"dialog '' case=0 word=0", "warn Could not find \"B\""}));
}

TEST_F(SearchFlowTest, SearchFollowsTheActiveTab) {
  QueryRows({{"Win32_Process", "x"}});
  ui.classList.items = {"CIM_X", "Win32_Process"};
  Confirm("win32_process");
  flow.Search1Click();
  EXPECT_EQ(ui.queryList.selected, 0);
  ui.tab = SearchTab::Classes;
  ui.log.clear();
  flow.Findagain1Click();  // nothing selected in the class list yet: from the top
  EXPECT_EQ(ui.classList.selected, 1);
  EXPECT_EQ(ui.log.front(), "focus class list");
}

TEST(SearchMessagesTest, Texts) {
  EXPECT_EQ(StartOverQuestion("x y"), "Could not find \"x y\"\r\rStart search over?");
  EXPECT_EQ(NotFoundMessage(""), "Could not find \"\"");
}

}  // namespace
}  // namespace brevane::app
