// End to end on the fake's event sources: an event query on the query tab streams its events
// as rows until stopped, and one that never sees an event still stops at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "e2e/launched_app.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;

using EventQueryTest = LaunchedAppTest;

TEST_F(EventQueryTest, EventsStreamUntilStoppedAndASilentWatchStopsAtOnce) {
  LaunchFakeWithClasses(L"standard,events");
  if (IsSkipped() || HasFatalFailure()) return;
  const auto start = Clock::now();
  RunQuery(
      "SELECT * FROM __InstanceCreationEvent WITHIN 1 WHERE TargetInstance ISA "
      "'Win32_Process'");
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(resultList_) >= 3; }, 30s))
      << StatusPanelText(status_, 2);
  const long long watched = MillisecondsSince(start);
  const int rowsSeen = ListViewRowCount(resultList_);
  EXPECT_TRUE(StatusPanelText(status_, 2).starts_with("Watching events... "))
      << StatusPanelText(status_, 2);
  const auto header = ListViewHeader(resultList_);
  ASSERT_FALSE(header.empty());
  EXPECT_EQ(header.front().caption, "Time");
  EXPECT_TRUE(std::any_of(header.begin(), header.end(), [](const HeaderColumn& column) {
    return column.caption == "TargetInstance.Name";
  }));

  const auto stop = Clock::now();
  PostMessageW(ComboEdit(queryCombo_), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntil(
      [&] { return StatusPanelText(status_, 2).starts_with("Watch stopped after "); }, 10s))
      << StatusPanelText(status_, 2);
  const long long escStopped = MillisecondsSince(stop);
  EXPECT_FALSE(QueryRunning(main_));
  const int rowsAtStop = ListViewRowCount(resultList_);
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(ListViewRowCount(resultList_), rowsAtStop);  // nothing arrives after the stop

  // A watch that sees nothing: 停止 ends it, and the next query runs at once on the worker.
  RunQuery("SELECT * FROM __InstanceDeletionEvent WITHIN 1");
  ASSERT_TRUE(
      WaitUntil([&] { return StatusPanelText(status_, 2) == "Watching events... 0 events"; }, 30s))
      << StatusPanelText(status_, 2);
  std::this_thread::sleep_for(300ms);
  const auto silentStop = Clock::now();
  PostButtonClick(Control(app::win32::kIdRunQueryButton));
  ASSERT_TRUE(WaitUntil([&] { return !QueryRunning(main_); }, 10s));
  const long long buttonStopped = MillisecondsSince(silentStop);
  EXPECT_LT(buttonStopped, 1000);
  // A query the fake answers within a millisecond shows no time and keeps the panel's text: its
  // table tells that it ran.
  RunQuery("select Name from Win32_Service");
  ASSERT_TRUE(WaitUntil(
      [&] {
        const std::vector<HeaderColumn> columns = ListViewHeader(resultList_);
        return !QueryRunning(main_) && !columns.empty() && columns[0].caption == "Name" &&
               ListViewRowCount(resultList_) > 0;
      },
      30s))
      << StatusPanelText(status_, 2);
  std::printf(
      "[events] %d rows %lld ms after the click; Esc to stopped %lld ms, 停止 on a silent "
      "watch %lld ms\n",
      rowsSeen, watched, escStopped, buttonStopped);
}

}  // namespace
}  // namespace brevane::e2e
