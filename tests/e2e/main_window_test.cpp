// End to end: the real program, started as a user or a monitoring program would start it,
// driven and read from outside through window messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/result_rows.h"
#include "e2e/launched_app.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

constexpr int kImageArrowUp = 8;
constexpr int kImageArrowDown = 9;

class MainWindowTest : public LaunchedAppTest {
 protected:
  void SetUp() override { DeleteFileW(PlacementFileOfCopy().c_str()); }
  void TearDown() override {
    LaunchedAppTest::TearDown();
    DeleteFileW(PlacementFileOfCopy().c_str());
  }

  // From a folder of the test's own: a first run, with no histories of earlier runs.
  void LaunchReal(const std::wstring& arguments) { LaunchRealCopy(folder_, arguments); }

  // Starts without a query and waits for the start-up sequence to end: the class list, or
  // the box that says WMI is unavailable here (pressed away).
  void LaunchPlain() {
    LaunchReal(L"");
    if (HasFatalFailure() || IsSkipped()) return;
    ASSERT_TRUE(
        WaitUntil([&] { return ClassListLoaded(classList_) || app_->FindMessageBox() != nullptr; },
                  kQueryTimeout));
    if (app_->FindMessageBox() != nullptr) ExpectMessageBox();
  }

  void LaunchWithQuery(const std::wstring& query) {
    LaunchReal(L"\"-query:" + query + L"\"");
    if (HasFatalFailure() || IsSkipped()) return;
    WaitForStartupQuery();
  }

  void CloseAndExpectExit() {
    CloseAndTimeExit();
    EXPECT_EQ(exitCode_.value_or(0), 0u);
  }

  Strings Column(int column) const { return ListViewColumn(resultList_, column); }

  testing::TempFolder folder_;
};

bool InOrder(const Strings& cells, bool ascending) {
  for (size_t i = 1; i < cells.size(); ++i) {
    const int order = app::CompareCells(cells[i - 1], cells[i]);
    if (ascending ? order > 0 : order < 0) return false;
  }
  return true;
}

TEST_F(MainWindowTest, ShowsTabsAndControlsAndTheExitCommandCloses) {
  LaunchPlain();
  if (HasFatalFailure() || IsSkipped()) return;

  EXPECT_EQ(TabCaptions(Control(app::win32::kIdTabs)), (Strings{"WMI 类", "查询"}));
  EXPECT_EQ(SelectedTab(Control(app::win32::kIdTabs)), 0);
  // The menus' captions are checked by the in-process tests of the main window: Wine keeps
  // menus inside their process, where another process reads no items.
  EXPECT_EQ(TabCaptions(Control(app::win32::kIdInstancePane)), Strings{"结果预览"});
  EXPECT_EQ(TabCaptions(Control(app::win32::kIdPropertyPane)), (Strings{"属性", "定义", "关联"}));
  EXPECT_EQ(WindowText(queryCombo_), "select Caption, HandleCount, ThreadCount from Win32_Process");
  EXPECT_EQ(WindowText(Control(app::win32::kIdClassTabRunButton)), "执行");
  const std::vector<HeaderColumn> grid = ListViewHeader(Control(app::win32::kIdPropertyGrid));
  ASSERT_EQ(grid.size(), 3u);
  EXPECT_EQ(grid[0].caption, "Property");
  EXPECT_EQ(grid[1].caption, "Value");
  EXPECT_EQ(grid[2].caption, "Type");

  PostMenuCommand(main_, app::win32::kCmdExit);
  const auto code = app_->WaitForExit(kExitTimeout);
  ASSERT_TRUE(code.has_value()) << "the exit command did not end the program";
  EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindowTest, StartupQueryOpensTheQueryTabAndHeaderClicksReorderTheRows) {
  const std::string query = "select Caption, ThreadCount, HandleCount from Win32_Process";
  LaunchWithQuery(std::wstring(query.begin(), query.end()));
  if (HasFatalFailure() || IsSkipped()) return;

  EXPECT_EQ(SelectedTab(Control(app::win32::kIdTabs)), 1);
  EXPECT_EQ(WindowText(queryCombo_), query);
  EXPECT_EQ(StatusPanelText(status_, 0), "localhost");
  EXPECT_EQ(StatusPanelText(status_, 1), "") << "the class list loads only when its tab is chosen";
  ASSERT_GE(ListViewHeader(resultList_).size(), 2u);
  EXPECT_EQ(HeaderImage(resultList_, 0), kImageArrowDown);
  EXPECT_TRUE(InOrder(Column(0), true));
  const Strings history = ComboItems(queryCombo_);
  ASSERT_FALSE(history.empty());
  EXPECT_EQ(history[0], query);

  ASSERT_TRUE(ClickListViewHeader(resultList_, 1));
  ASSERT_TRUE(WaitUntil([&] { return HeaderImage(resultList_, 1) == kImageArrowDown; }, 10s));
  EXPECT_EQ(HeaderImage(resultList_, 0), -1);
  EXPECT_TRUE(InOrder(Column(1), true));

  ASSERT_TRUE(ClickListViewHeader(resultList_, 1));
  ASSERT_TRUE(WaitUntil([&] { return HeaderImage(resultList_, 1) == kImageArrowUp; }, 10s));
  EXPECT_TRUE(InOrder(Column(1), false));

  // Another column keeps the direction.
  ASSERT_TRUE(ClickListViewHeader(resultList_, 0));
  ASSERT_TRUE(WaitUntil([&] { return HeaderImage(resultList_, 0) == kImageArrowUp; }, 10s));
  EXPECT_EQ(HeaderImage(resultList_, 1), -1);
  EXPECT_TRUE(InOrder(Column(0), false));

  CloseAndExpectExit();
}

TEST_F(MainWindowTest, MalformedQueryKeepsTheTableAndEnterRunsOnlyANonBlankQuery) {
  LaunchWithQuery(L"select Caption, ThreadCount from Win32_Process");
  if (HasFatalFailure() || IsSkipped()) return;
  const Strings before = Column(0);
  const Strings historyBefore = ComboItems(queryCombo_);

  RunQuery("select from where bad");
  const std::string error = ExpectMessageBox(kQueryTimeout);
  EXPECT_EQ(error.rfind("Error: ", 0), 0u) << error;
  EXPECT_EQ(StatusPanelText(status_, 2), error);
  EXPECT_EQ(Column(0), before);
  EXPECT_EQ(ComboItems(queryCombo_), historyBefore);

  // A blank text: nothing runs, so an invalid one would not be reported either.
  HWND edit = ComboEdit(queryCombo_);
  ASSERT_NE(edit, nullptr);
  SetWindowTextW(queryCombo_, L"  \t ");
  PostChar(edit, L'\r');
  ASSERT_TRUE(Sync(main_, 10s));
  EXPECT_FALSE(QueryRunning(main_));
  EXPECT_EQ(app_->WaitForMessageBox(500ms), nullptr);
  EXPECT_EQ(StatusPanelText(status_, 2), error);
  EXPECT_EQ(ComboItems(queryCombo_), historyBefore);

  // A real text runs and goes to the top of the history.
  SetWindowTextW(queryCombo_, L"select Caption from Win32_Process");
  PostChar(edit, L'\r');
  EXPECT_TRUE(WaitUntil(
      [&] {
        const Strings items = ComboItems(queryCombo_);
        return !items.empty() && items[0] == "select Caption from Win32_Process";
      },
      kQueryTimeout));
  EXPECT_EQ(ListViewHeader(resultList_).size(), 1u);
  CloseAndExpectExit();
}

}  // namespace
}  // namespace brevane::e2e
