#include "wmi/fleet_status.h"

#include <gtest/gtest.h>

namespace brevane::wmi {
namespace {

using S = ComputerState;

TEST(FleetStatus, CountsStatesObjectsAndTime) {
  FleetStatus fleet;
  fleet.Reset({"a", "b", "c", "d", "e"});
  EXPECT_EQ(fleet.PanelText(0), "Computers: 0/5 done, 0 failed, 0 objects, 0.0 sec");
  fleet.SetState(0, S::Connecting);
  fleet.SetState(0, S::Running);
  fleet.AddObjects(0, 460);
  fleet.AddObjects(0, 8);
  fleet.Finish(0, S::Done, 1200);
  fleet.SetState(1, S::Connecting);
  fleet.Finish(1, S::Failed, 20000, "The RPC server is unavailable.");
  fleet.Finish(2, S::Running, 5);  // a run cannot end running: it failed
  fleet.SetState(3, S::Running);
  EXPECT_TRUE(fleet.Active());
  EXPECT_EQ(fleet.PanelText(2349), "Computers: 1/5 done, 2 failed, 468 objects, 2.3 sec");

  fleet.StopAll();
  EXPECT_FALSE(fleet.Active());
  const struct {
    S state;
    uint64_t objects;
    int64_t ms;
    const char* error;
  } expected[] = {{S::Done, 468, 1200, ""},
                  {S::Failed, 0, 20000, "The RPC server is unavailable."},
                  {S::Failed, 0, 5, ""},
                  {S::Stopped, 0, 0, ""},
                  {S::Stopped, 0, 0, ""}};
  for (size_t i = 0; i < 5; ++i) {
    const ComputerStatus& c = fleet.Computers()[i];
    EXPECT_EQ(c.state, expected[i].state) << i;
    EXPECT_EQ(c.objects, expected[i].objects) << i;
    EXPECT_EQ(c.milliseconds, expected[i].ms) << i;
    EXPECT_EQ(c.error, expected[i].error) << i;
  }
  // Late news of a finished run changes nothing; out-of-range indexes are ignored.
  fleet.AddObjects(3, 7);
  fleet.Finish(3, S::Done, 9);
  fleet.SetState(0, S::Running);
  fleet.AddObjects(99, 1);
  EXPECT_EQ(fleet.Objects(), 468u);
  EXPECT_EQ(fleet.Count(S::Stopped), 2u);
  EXPECT_EQ(fleet.PanelText(61949), "Computers: 1/5 done, 2 failed, 468 objects, 61.9 sec");
}

TEST(FleetStatus, RetryTakesTheFailedOnlyAndKeepsTheirObjects) {
  FleetStatus fleet;
  fleet.Reset({"ok", "refused", "stopped", "dead"});
  fleet.Finish(0, S::Done, 10);
  fleet.AddObjects(1, 3);
  fleet.Finish(1, S::Failed, 20, "Access denied");
  fleet.Finish(3, S::Failed, 20000, "timed out");
  fleet.StopAll();
  EXPECT_EQ(fleet.RetryFailed(), (std::vector<size_t>{1, 3}));
  EXPECT_EQ(fleet.Computers()[1].state, S::Waiting);
  EXPECT_EQ(fleet.Computers()[1].error, "");
  EXPECT_EQ(fleet.Computers()[1].objects, 3u);
  EXPECT_EQ(fleet.Computers()[2].state, S::Stopped);
  EXPECT_TRUE(fleet.RetryFailed().empty());
  for (S s : {S::Waiting, S::Connecting, S::Running, S::Done, S::Failed, S::Stopped})
    EXPECT_FALSE(ComputerStateText(s).empty());
  EXPECT_EQ(ComputerStateText(S::Connecting), "connecting");
}

// The status list's line: the time only once the computer ended, the error on one line.
TEST(FleetStatus, StatusCellsOfEachState) {
  struct Case {
    ComputerStatus computer;
    std::array<std::string, kStatusColumns> cells;
  };
  const Case cases[] = {
      {{"pc1", S::Running, 12, 0, ""}, {"pc1", "running", "12", "", ""}},
      {{"pc2", S::Done, 468, 2300, ""}, {"pc2", "done", "468", "2300", ""}},
      {{"pc3", S::Failed, 0, 20000, "The RPC server\r\nis unavailable.\r\n"},
       {"pc3", "failed", "0", "20000", "The RPC server is unavailable."}},
      {{"pc4", S::Stopped, 0, 0, "a\tb"}, {"pc4", "stopped", "0", "0", "a b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(StatusCells(c.computer), c.cells) << c.computer.name;
}

}  // namespace
}  // namespace brevane::wmi
