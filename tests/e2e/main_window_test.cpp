// End to end: the real program, started as a user or a monitoring program would start it,
// driven and read from outside through window messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/result_rows.h"
#include "app/win32/command_ids.h"
#include "e2e/e2e_driver.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

constexpr auto kStartTimeout = 30s;
constexpr auto kQueryTimeout = 60s;
constexpr auto kExitTimeout = 15s;
constexpr int kImageArrowUp = 8;
constexpr int kImageArrowDown = 9;

// One running program and its main window's controls.
class MainWindowTest : public ::testing::Test {
 protected:
  void Launch(const std::wstring& arguments) {
    const std::wstring exe = ExeFromEnvironment("BREVANE_EXE");
    if (exe.empty()) GTEST_SKIP() << "BREVANE_EXE is not set";
    // Each test starts from a first run: no histories left by earlier runs in the exe's folder.
    const std::wstring settings = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"brevane.ini";
    DeleteFileW(settings.c_str());
    ASSERT_TRUE(app_.Start(exe, arguments));
    main_ = app_.WaitForTopWindow(L"Brevane", kStartTimeout);
    ASSERT_NE(main_, nullptr) << "no window captioned Brevane";
    tabs_ = Control(app::win32::kIdPageControl2);
    query2Combo_ = Control(app::win32::kIdQuery2Combo);
    query2Btn_ = Control(app::win32::kIdQuery2Btn);
    listView1_ = Control(app::win32::kIdListView1);
    statusBar1_ = Control(app::win32::kIdStatusBar1);
  }

  HWND Control(int id) const { return GetDlgItem(main_, id); }

  // The start-up sequence may report that WMI is unavailable; the text of that box, if any.
  std::string DismissStartupError() {
    HWND box = app_.WaitForMessageBox(3s);
    if (box == nullptr) return {};
    std::string text = MessageBoxText(box);
    DismissMessageBox(box);
    EXPECT_TRUE(WaitUntil([&] { return app_.FindMessageBox() == nullptr; }, 10s));
    return text;
  }

  // Starts with a query on the command line and waits for its rows; skips when this machine
  // has no WMI that can answer.
  void LaunchWithQuery(const std::wstring& query) {
    std::wstring argument = L"\"-query:";
    argument.append(query).append(L"\"");
    Launch(argument);
    if (HasFatalFailure() || IsSkipped()) return;
    const std::string startupError = DismissStartupError();
    if (!startupError.empty()) GTEST_SKIP() << "WMI is not available here: " << startupError;
    ASSERT_TRUE(WaitUntil(
        [&] {
          return (ListViewRowCount(listView1_) > 0 && !QueryRunning(main_)) ||
                 app_.FindMessageBox() != nullptr;
        },
        kQueryTimeout));
    HWND box = app_.FindMessageBox();
    if (box != nullptr) {
      const std::string text = MessageBoxText(box);
      DismissMessageBox(box);
      GTEST_SKIP() << "the start-up query failed here: " << text;
    }
  }

  void CloseAndExpectExit() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    const auto code = app_.WaitForExit(kExitTimeout);
    ASSERT_TRUE(code.has_value()) << "the program did not end after WM_CLOSE";
    EXPECT_EQ(*code, 0u);
  }

  Strings Column(int column) const { return ListViewColumn(listView1_, column); }

  AppProcess app_;
  HWND main_ = nullptr;
  HWND tabs_ = nullptr;
  HWND query2Combo_ = nullptr;
  HWND query2Btn_ = nullptr;
  HWND listView1_ = nullptr;
  HWND statusBar1_ = nullptr;
};

bool InOrder(const Strings& cells, bool ascending) {
  for (size_t i = 1; i < cells.size(); ++i) {
    const int order = app::CompareCells(cells[i - 1], cells[i]);
    if (ascending ? order > 0 : order < 0) return false;
  }
  return true;
}

TEST_F(MainWindowTest, ShowsTabsAndMenusAndClosesOnWmClose) {
  Launch(L"");
  if (HasFatalFailure() || IsSkipped()) return;
  DismissStartupError();

  EXPECT_EQ(TabCaptions(tabs_), (Strings{"WMI 类", "查询"}));
  EXPECT_EQ(SelectedTab(tabs_), 0);
  HMENU bar = GetMenu(main_);
  ASSERT_NE(bar, nullptr);
  // Wine keeps menus inside their process: there another process reads no items. The
  // captions are then checked by the in-process tests of the main window.
  if (GetMenuItemCount(bar) > 0) {
    EXPECT_EQ(MenuBarCaptions(main_), (Strings{"操作动作", "&查找", "帮助"}));
    EXPECT_EQ(MenuItemCaptions(GetSubMenu(bar, 0)),
              (Strings{"&连接到主机...", "&刷新\tF5", "导出...\tCtrl+S", "", "&退出\tAlt+X"}));
    EXPECT_EQ(MenuItemCaptions(GetSubMenu(bar, 1)),
              (Strings{"&查找...\tCtrl+F", "开始查找\tF3", "筛选类\tCtrl+L"}));
    EXPECT_EQ(MenuItemCaptions(GetSubMenu(bar, 2)),
              (Strings{"帮助\tF1", "主页", "联机帮助", "", "关于我们"}));
  }
  EXPECT_EQ(TabCaptions(Control(app::win32::kIdPageControl3)), Strings{"结果预览"});
  EXPECT_EQ(TabCaptions(Control(app::win32::kIdPageControl1)), Strings{"属性"});
  EXPECT_EQ(WindowText(query2Combo_),
            "select Caption, HandleCount, ThreadCount from Win32_Process");
  EXPECT_EQ(WindowText(Control(app::win32::kIdQuery1Btn)), "执行");
  const std::vector<HeaderColumn> grid = ListViewHeader(Control(app::win32::kIdPropGrid));
  ASSERT_EQ(grid.size(), 3u);
  EXPECT_EQ(grid[0].caption, "Property");
  EXPECT_EQ(grid[1].caption, "Value");
  EXPECT_EQ(grid[2].caption, "Type");

  CloseAndExpectExit();
}

TEST_F(MainWindowTest, ExitCommandClosesTheWindow) {
  Launch(L"");
  if (HasFatalFailure() || IsSkipped()) return;
  DismissStartupError();
  PostMenuCommand(main_, app::win32::kCmdExit1);
  EXPECT_TRUE(app_.WaitForExit(kExitTimeout).has_value());
}

TEST_F(MainWindowTest, StartupQueryOpensTheQueryTabWithItsRows) {
  LaunchWithQuery(L"select Caption, ThreadCount from Win32_Process");
  if (HasFatalFailure() || IsSkipped()) return;

  EXPECT_EQ(SelectedTab(tabs_), 1);
  EXPECT_EQ(WindowText(query2Combo_), "select Caption, ThreadCount from Win32_Process");
  EXPECT_EQ(StatusPanelText(statusBar1_, 0), "localhost");
  EXPECT_EQ(StatusPanelText(statusBar1_, 1), "")
      << "the class list loads only when its tab is chosen";
  const std::vector<HeaderColumn> header = ListViewHeader(listView1_);
  ASSERT_GE(header.size(), 1u);
  EXPECT_EQ(header[0].image, kImageArrowDown);
  EXPECT_TRUE(InOrder(Column(0), true));
  const Strings history = ComboItems(query2Combo_);
  ASSERT_FALSE(history.empty());
  EXPECT_EQ(history[0], "select Caption, ThreadCount from Win32_Process");

  CloseAndExpectExit();
}

TEST_F(MainWindowTest, HeaderClicksReorderTheRowsAndMoveTheArrow) {
  LaunchWithQuery(L"select Caption, ThreadCount, HandleCount from Win32_Process");
  if (HasFatalFailure() || IsSkipped()) return;
  ASSERT_GE(ListViewHeader(listView1_).size(), 2u);

  ASSERT_TRUE(ClickListViewHeader(listView1_, 1));
  ASSERT_TRUE(
      WaitUntil([&] { return ListViewHeader(listView1_)[1].image == kImageArrowDown; }, 10s));
  EXPECT_EQ(ListViewHeader(listView1_)[0].image, -1);
  EXPECT_TRUE(InOrder(Column(1), true));

  ASSERT_TRUE(ClickListViewHeader(listView1_, 1));
  ASSERT_TRUE(WaitUntil([&] { return ListViewHeader(listView1_)[1].image == kImageArrowUp; }, 10s));
  EXPECT_TRUE(InOrder(Column(1), false));

  // Another column keeps the direction.
  ASSERT_TRUE(ClickListViewHeader(listView1_, 0));
  ASSERT_TRUE(WaitUntil([&] { return ListViewHeader(listView1_)[0].image == kImageArrowUp; }, 10s));
  EXPECT_EQ(ListViewHeader(listView1_)[1].image, -1);
  EXPECT_TRUE(InOrder(Column(0), false));

  CloseAndExpectExit();
}

TEST_F(MainWindowTest, MalformedQueryShowsTheErrorAndKeepsTheTable) {
  LaunchWithQuery(L"select Caption, ThreadCount from Win32_Process");
  if (HasFatalFailure() || IsSkipped()) return;
  const Strings before = Column(0);
  const Strings historyBefore = ComboItems(query2Combo_);

  SetWindowTextW(query2Combo_, L"select from where bad");
  PostButtonClick(query2Btn_);
  HWND box = app_.WaitForMessageBox(kQueryTimeout);
  ASSERT_NE(box, nullptr) << "no error box";
  const std::string error = MessageBoxText(box);
  EXPECT_EQ(error.rfind("Error: ", 0), 0u) << error;
  DismissMessageBox(box);
  ASSERT_TRUE(WaitUntil([&] { return app_.FindMessageBox() == nullptr; }, 10s));

  EXPECT_EQ(StatusPanelText(statusBar1_, 2), error);
  EXPECT_EQ(Column(0), before);
  EXPECT_EQ(ComboItems(query2Combo_), historyBefore);
  CloseAndExpectExit();
}

TEST_F(MainWindowTest, EnterRunsOnlyANonBlankQuery) {
  LaunchWithQuery(L"select Caption, ThreadCount from Win32_Process");
  if (HasFatalFailure() || IsSkipped()) return;
  HWND edit = ComboEdit(query2Combo_);
  ASSERT_NE(edit, nullptr);

  // A blank text: nothing runs, so an invalid one would not be reported either. The
  // history may hold entries of earlier runs (it is kept in the settings file).
  const Strings history = ComboItems(query2Combo_);
  SetWindowTextW(query2Combo_, L"  \t ");
  PostChar(edit, L'\r');
  ASSERT_TRUE(Sync(main_, 10s));
  EXPECT_EQ(app_.WaitForMessageBox(1500ms), nullptr);
  EXPECT_EQ(ComboItems(query2Combo_), history);

  // A real text runs and goes to the top of the history.
  SetWindowTextW(query2Combo_, L"select Caption from Win32_Process");
  PostChar(edit, L'\r');
  EXPECT_TRUE(WaitUntil(
      [&] {
        const Strings items = ComboItems(query2Combo_);
        return !items.empty() && items[0] == "select Caption from Win32_Process";
      },
      kQueryTimeout));
  EXPECT_EQ(ListViewHeader(listView1_).size(), 1u);
  CloseAndExpectExit();
}

}  // namespace
}  // namespace brevane::e2e
