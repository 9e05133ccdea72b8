// End to end on the fake backend with a provider that answers slowly or not at all: the
// window keeps answering while queries and instance lists stream, a query stops at Esc, and
// closing never waits long for a stuck worker.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "e2e/launched_app.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;

// Polls without sleeping, for latencies below the 50 ms of WaitUntil.
bool WaitUntilAnswered(const std::function<bool()>& condition) {
  const auto until = Clock::now() + 10s;
  while (Clock::now() < until) {
    if (condition()) return true;
    std::this_thread::yield();
  }
  return false;
}

using BackgroundRequestsTest = LaunchedAppTest;

TEST_F(BackgroundRequestsTest, SlowQueryStreamsWhileTheWindowAnswersAndEscStopsIt) {
  LaunchFakeWithClasses(L"standard,million-cells,paced");
  if (IsSkipped() || HasFatalFailure()) return;
  const auto start = Clock::now();
  RunQuery("select * from Brevane_Million");
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(resultList_) > 0; }, 30s));
  const long long firstRows = MillisecondsSince(start);
  EXPECT_TRUE(QueryRunning(main_));
  EXPECT_TRUE(StatusPanelText(status_, 2).starts_with("Running query... "))
      << StatusPanelText(status_, 2);

  // While it streams, the window answers sent and posted messages, and the rows grow.
  long long longestSent = 0;
  long long longestPosted = 0;
  const int rowsBefore = ListViewRowCount(resultList_);
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
      return SendToProgram(classList_, LB_GETCURSEL, 0, 0) == static_cast<LRESULT>(line);
    }));
    longestPosted = std::max(longestPosted, MillisecondsSince(posted));
    std::this_thread::sleep_for(20ms);
  }
  const int rowsLater = ListViewRowCount(resultList_);
  EXPECT_GT(rowsLater, rowsBefore);
  EXPECT_LT(rowsLater, 100000);

  const auto stop = Clock::now();
  PostMessageW(ComboEdit(queryCombo_), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntil(
      [&] { return StatusPanelText(status_, 2).starts_with("Query stopped after "); }, 10s))
      << StatusPanelText(status_, 2);
  const long long stopped = MillisecondsSince(stop);
  EXPECT_FALSE(QueryRunning(main_));
  const int rowsAtStop = ListViewRowCount(resultList_);
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(ListViewRowCount(resultList_), rowsAtStop);  // nothing arrives after the stop
  std::printf(
      "[streaming] first rows %lld ms after the click; longest answer while streaming: sent "
      "%lld ms, posted %lld ms; Esc to stopped %lld ms, %d rows kept (\"%s\")\n",
      firstRows, longestSent, longestPosted, stopped, rowsAtStop,
      StatusPanelText(status_, 2).c_str());
}

TEST_F(BackgroundRequestsTest, ClosingDuringAHungQueryEndsWithinTheBound) {
  LaunchFakeWithClasses(L"standard,million-cells,hang-query");
  if (IsSkipped() || HasFatalFailure()) return;
  RunQuery("select * from Brevane_Million");
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(resultList_) == 40; }, 30s));
  EXPECT_TRUE(QueryRunning(main_));
  EXPECT_TRUE(Sync(main_, 2s));
  std::printf("[streaming] close during a hung query: ended %lld ms after WM_CLOSE\n",
              CloseAndTimeExit());
}

TEST_F(BackgroundRequestsTest, DeadHostLeavesTheWindowUsableAndClosable) {
  LaunchFake(L"standard,dead-host");
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

// Thirty thousand instances from a slow provider: the window answers while they stream in,
// and a click on the last one reads that instance alone, not the whole class again.
TEST_F(BackgroundRequestsTest, SlowBigClassLoadsWhileTheWindowAnswersAndItsLastInstanceShows) {
  LaunchFakeWithClasses(L"standard,big,paced");
  if (IsSkipped() || HasFatalFailure()) return;
  ChooseClass("Brevane_Big");
  long long longest = 0;
  const bool done = WaitUntil(
      [&] {
        const auto sent = Clock::now();
        Sync(main_, 5s);
        longest = std::max(longest, MillisecondsSince(sent));
        return StatusPanelText(status_, 2) == "Instances: 30001";
      },
      180s);
  ASSERT_TRUE(done) << StatusPanelText(status_, 2);
  EXPECT_EQ(SendToProgram(instanceList_, LB_GETCOUNT, 0, 0), 30001);
  const auto click = Clock::now();
  ChooseInstance(30000);
  ASSERT_TRUE(WaitUntil([&] { return ListViewCell(propGrid_, 0, 1) == "item30000"; }, 30s));
  std::printf(
      "[by path] longest answer of the window during the load: %lld ms; click on the last of "
      "30001 instances to its values: %lld ms\n",
      longest, MillisecondsSince(click));
}

}  // namespace
}  // namespace brevane::e2e
