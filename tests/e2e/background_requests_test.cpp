// End to end on the fake backend with a provider that answers slowly or not at all: the
// window keeps answering while queries stream, a query stops at Esc, closing never waits long
// for a stuck worker, and the grid shows the clicked instance or says it is gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/win32/command_ids.h"
#include "e2e/e2e_driver.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Polls without sleeping, for latencies below the 50 ms of WaitUntil.
bool WaitUntilAnswered(const std::function<bool()>& condition) {
  const auto until = Clock::now() + 10s;
  while (Clock::now() < until) {
    if (condition()) return true;
    std::this_thread::yield();
  }
  return false;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

class BackgroundRequestsTest : public ::testing::Test {
 protected:
  void Launch(const std::wstring& scenario, bool waitForClasses = true) {
    const std::wstring exe = ExeFromEnvironment("BREVANE_FAKE_EXE");
    if (exe.empty()) GTEST_SKIP() << "BREVANE_FAKE_EXE is not set";
    SetEnvironmentVariableW(L"BREVANE_FAKE_SCENARIO", scenario.c_str());
    ASSERT_TRUE(app_.Start(exe, L""));
    main_ = app_.WaitForTopWindow(L"Brevane", 30s);
    ASSERT_NE(main_, nullptr);
    classList_ = GetDlgItem(main_, app::win32::kIdClassListBox);
    instanceList_ = GetDlgItem(main_, app::win32::kIdInstanceListBox);
    propGrid_ = GetDlgItem(main_, app::win32::kIdPropGrid);
    listView1_ = GetDlgItem(main_, app::win32::kIdListView1);
    query2Combo_ = GetDlgItem(main_, app::win32::kIdQuery2Combo);
    status_ = GetDlgItem(main_, app::win32::kIdStatusBar1);
    if (waitForClasses) {
      ASSERT_TRUE(WaitUntil([&] { return ClassListLoaded(classList_); }, 30s));
    }
  }

  void TearDown() override {
    if (main_ != nullptr && app_.Running()) {
      PostMessageW(main_, WM_CLOSE, 0, 0);
      EXPECT_TRUE(app_.WaitForExit(15s).has_value()) << "the program did not end after WM_CLOSE";
    }
  }

  void ChooseLine(HWND list, int id, int index) { ChooseListLine(main_, list, id, index); }

  void ChooseClass(const std::string& name) {
    ASSERT_TRUE(ChooseClassLine(main_, classList_, name)) << name;
  }

  void RunQuery(const std::string& text) {
    SetWindowTextW(query2Combo_, std::wstring(text.begin(), text.end()).c_str());
    PostButtonClick(GetDlgItem(main_, app::win32::kIdQuery2Btn));
  }

  long long CloseAndTimeExit() {
    const auto start = Clock::now();
    PostMessageW(main_, WM_CLOSE, 0, 0);
    const bool ended = app_.WaitForExit(15s).has_value();
    main_ = nullptr;
    EXPECT_TRUE(ended) << "the program did not end after WM_CLOSE";
    return MillisecondsSince(start);
  }

  AppProcess app_;
  HWND main_ = nullptr;
  HWND classList_ = nullptr;
  HWND instanceList_ = nullptr;
  HWND propGrid_ = nullptr;
  HWND listView1_ = nullptr;
  HWND query2Combo_ = nullptr;
  HWND status_ = nullptr;
};

TEST_F(BackgroundRequestsTest, SlowQueryStreamsWhileTheWindowAnswersAndEscStopsIt) {
  Launch(L"standard,million-cells,paced");
  if (IsSkipped() || HasFatalFailure()) return;
  const auto start = Clock::now();
  RunQuery("select * from Brevane_Million");
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(listView1_) > 0; }, 30s));
  const long long firstRows = MillisecondsSince(start);
  EXPECT_TRUE(QueryRunning(main_));
  EXPECT_TRUE(StartsWith(StatusPanelText(status_, 2), "Running query... "))
      << StatusPanelText(status_, 2);

  // While it streams, the window answers sent and posted messages, and the rows grow.
  long long longestSent = 0;
  long long longestPosted = 0;
  const int rowsBefore = ListViewRowCount(listView1_);
  WPARAM selection = 0;
  const auto watch = Clock::now();
  while (MillisecondsSince(watch) < 1500) {
    const auto sent = Clock::now();
    ASSERT_TRUE(Sync(main_, 5s));
    longestSent = std::max(longestSent, MillisecondsSince(sent));
    // A posted selection change (no notification) is seen once the queue got to it.
    const WPARAM line = selection++ % 2;
    const auto posted = Clock::now();
    ASSERT_TRUE(PostMessageW(classList_, LB_SETCURSEL, line, 0));
    ASSERT_TRUE(WaitUntilAnswered([&] {
      return SendMessageW(classList_, LB_GETCURSEL, 0, 0) == static_cast<LRESULT>(line);
    }));
    longestPosted = std::max(longestPosted, MillisecondsSince(posted));
    std::this_thread::sleep_for(20ms);
  }
  const int rowsLater = ListViewRowCount(listView1_);
  EXPECT_GT(rowsLater, rowsBefore);
  EXPECT_LT(rowsLater, 100000);

  const auto stop = Clock::now();
  PostMessageW(ComboEdit(query2Combo_), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntil(
      [&] { return StartsWith(StatusPanelText(status_, 2), "Query stopped after "); }, 10s))
      << StatusPanelText(status_, 2);
  const long long stopped = MillisecondsSince(stop);
  EXPECT_FALSE(QueryRunning(main_));
  const int rowsAtStop = ListViewRowCount(listView1_);
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(ListViewRowCount(listView1_), rowsAtStop);  // nothing arrives after the stop
  std::printf(
      "[streaming] first rows %lld ms after the click; longest answer while streaming: sent "
      "%lld ms, posted %lld ms; Esc to stopped %lld ms, %d rows kept (\"%s\")\n",
      firstRows, longestSent, longestPosted, stopped, rowsAtStop,
      StatusPanelText(status_, 2).c_str());
}

TEST_F(BackgroundRequestsTest, ClosingDuringAHungQueryEndsWithinTheBound) {
  Launch(L"standard,million-cells,hang-query");
  if (IsSkipped() || HasFatalFailure()) return;
  RunQuery("select * from Brevane_Million");
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(listView1_) == 40; }, 30s));
  EXPECT_TRUE(QueryRunning(main_));
  EXPECT_TRUE(Sync(main_, 2s));
  std::printf("[streaming] close during a hung query: ended %lld ms after WM_CLOSE\n",
              CloseAndTimeExit());
}

TEST_F(BackgroundRequestsTest, DeadHostLeavesTheWindowUsableAndClosable) {
  Launch(L"standard,dead-host", false);
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_TRUE(
      WaitUntil([&] { return StatusPanelText(status_, 2) == "Connecting to localhost..."; }, 30s))
      << StatusPanelText(status_, 2);
  EXPECT_TRUE(Sync(main_, 2s));
  EXPECT_TRUE(ListBoxItems(classList_).empty());
  // Closing abandons the worker stuck in its connect after at most 2 s.
  std::printf("[streaming] close while connecting to a dead host: ended %lld ms after WM_CLOSE\n",
              CloseAndTimeExit());
}

TEST_F(BackgroundRequestsTest, LastInstanceOfASlowBigClassFillsTheGridQuickly) {
  Launch(L"standard,big,paced");
  if (IsSkipped() || HasFatalFailure()) return;
  ChooseClass("Brevane_Big");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 30001"; }, 180s))
      << StatusPanelText(status_, 2);
  const auto click = Clock::now();
  ChooseLine(instanceList_, app::win32::kIdInstanceListBox, 30000);
  ASSERT_TRUE(WaitUntil([&] { return ListViewCell(propGrid_, 0, 1) == "item30000"; }, 30s));
  std::printf("[by path] click on the last of 30001 instances to its values: %lld ms\n",
              MillisecondsSince(click));
}

TEST_F(BackgroundRequestsTest, InstanceGoneSinceTheLoadShowsNotFoundAndNoValues) {
  Launch(L"standard,vanishing");
  if (IsSkipped() || HasFatalFailure()) return;
  ChooseClass("Win32_Service");
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Instances: 13"; }, 30s));
  ASSERT_EQ(ListBoxItems(instanceList_).back(), "Winmgmt");
  ChooseLine(instanceList_, app::win32::kIdInstanceListBox, 12);
  ASSERT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) == "Not found"; }, 30s))
      << StatusPanelText(status_, 2);
  EXPECT_EQ(ListViewColumn(propGrid_, 0), Strings{""});
  EXPECT_EQ(ListViewColumn(propGrid_, 1), Strings{""});
  EXPECT_EQ(app_.FindMessageBox(), nullptr);
}

}  // namespace
}  // namespace brevane::e2e
