// End to end on the fake fleet: a start-up query on ten computers, one of them dead (its
// connect would take 20 s) and one refusing. The live ones' rows come long before the dead
// one gives up, the refusing one is listed with its error, Esc stops the dead one, and
// "重新运行失败的" goes to the refusing one alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "e2e/launched_app.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using app::win32::kIdFleetStatusList;
using app::win32::kIdRerunFailedButton;

constexpr int kStateColumn = 1;
constexpr int kErrorColumn = 4;

using FleetQueryTest = LaunchedAppTest;

TEST_F(FleetQueryTest, LiveRowsComeFirstFailuresAreListedStopAndRerunTheFailedOnly) {
  const auto start = Clock::now();
  LaunchFake(L"standard,fleet",
             L"\"-computers:pc001,pc002;pc003 pc004,pc005,pc006,pc007,PC008,pc009,pc010\" "
             L"\"-query:select Name, State from Win32_Service\"");
  if (IsSkipped() || HasFatalFailure()) return;
  const HWND statusList = Control(kIdFleetStatusList);
  ASSERT_NE(statusList, nullptr);
  ASSERT_TRUE(WaitUntil(
      [&] { return StatusPanelText(status_, 2).starts_with("Computers: 8/10 done, 1 failed, "); },
      15s))
      << StatusPanelText(status_, 2);
  const long long liveIn = MillisecondsSince(start);
  EXPECT_TRUE(QueryRunning(main_));  // the dead one still connects

  const std::vector<HeaderColumn> header = ListViewHeader(resultList_);
  ASSERT_FALSE(header.empty());
  EXPECT_EQ(header[0].caption, "Computer");
  // The table learns its row count at a pace; it catches up with the panel's objects.
  const std::string panel = StatusPanelText(status_, 2);
  const size_t objectsEnd = panel.find(" objects");
  ASSERT_NE(objectsEnd, std::string::npos) << panel;
  const int objects = std::stoi(panel.substr(panel.rfind(' ', objectsEnd - 1) + 1));
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(resultList_) == objects; }, 5s)) << panel;
  const int rows = ListViewRowCount(resultList_);
  EXPECT_GT(rows, 0);
  EXPECT_EQ(rows % 8, 0) << "every live computer answers with the same services";
  const std::vector<std::string> computers = ListViewColumn(resultList_, 0);
  EXPECT_EQ(std::count(computers.begin(), computers.end(), "pc004"), 0);
  EXPECT_EQ(std::count(computers.begin(), computers.end(), "PC008"), 0);

  ASSERT_EQ(ListViewRowCount(statusList), 10);
  EXPECT_EQ(ListViewCell(statusList, 3, kStateColumn), "connecting");
  EXPECT_EQ(ListViewCell(statusList, 7, 0), "PC008");
  EXPECT_EQ(ListViewCell(statusList, 7, kStateColumn), "failed");
  EXPECT_NE(ListViewCell(statusList, 7, kErrorColumn).find("Access is denied"), std::string::npos)
      << ListViewCell(statusList, 7, kErrorColumn);

  // Only the dead one is left and it gives no sign: the panel's seconds still go on.
  const std::string waiting = StatusPanelText(status_, 2);
  EXPECT_TRUE(WaitUntil([&] { return StatusPanelText(status_, 2) != waiting; }, 2s)) << waiting;

  const auto stop = Clock::now();
  PostMessageW(ComboEdit(queryCombo_), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !QueryRunning(main_); }, 5s));
  const long long stopped = MillisecondsSince(stop);
  EXPECT_EQ(ListViewCell(statusList, 3, kStateColumn), "stopped");
  EXPECT_EQ(ListViewRowCount(resultList_), rows);  // the rows stay

  // The refusing computer fails again at once; the panel's time is then the rerun's own.
  const std::string stoppedPanel = StatusPanelText(status_, 2);
  PostButtonClick(Control(kIdRerunFailedButton));
  ASSERT_TRUE(WaitUntil(
      [&] { return !QueryRunning(main_) && StatusPanelText(status_, 2) != stoppedPanel; }, 10s))
      << stoppedPanel;
  EXPECT_EQ(ListViewCell(statusList, 7, kStateColumn), "failed");
  EXPECT_EQ(ListViewCell(statusList, 3, kStateColumn), "stopped");  // not retried
  EXPECT_EQ(ListViewCell(statusList, 0, kStateColumn), "done");
  EXPECT_EQ(ListViewRowCount(resultList_), rows);
  std::printf(
      "[fleet] 8 live of 10 computers in %lld ms from the start (a dead one would take 20 s); "
      "Esc to stopped %lld ms; \"%s\"\n",
      liveIn, stopped, StatusPanelText(status_, 2).c_str());
}

}  // namespace
}  // namespace brevane::e2e
