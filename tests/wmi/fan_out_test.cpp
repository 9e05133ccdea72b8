// One query on a fleet of fake computers: every live computer's rows long before the dead
// ones give up, refusals with their text, no more than the limit at once, a stop that stops.
#include "wmi/fan_out.h"

#include <gtest/gtest.h>

#include <map>

#include "support/fake_fleet.h"
#include "support/fake_scenarios.h"
#include "support/test_dispatcher.h"

namespace brevane::wmi {
namespace {

using namespace std::chrono_literals;
using testing::FleetMember;

struct FleetRun {
  FleetStatus status;
  std::map<size_t, size_t> rows;  // computer -> rows whose first cell is its name
  size_t busy = 0;
  size_t mostBusy = 0;
  int ends = 0;
  int mismatched = 0;  // rows whose "Computer" cell is not their computer's name

  FanOutCallbacks Callbacks() {
    return {[this](size_t i, ComputerState s) {
              if (s == ComputerState::Connecting) mostBusy = std::max(mostBusy, ++busy);
              status.SetState(i, s);
            },
            [this](size_t i, ResultTable&& table) {
              size_t cell = 0;
              for (int length : table.rowLengths) {
                if (table.columnNames[cell] != "Computer" ||
                    table.values[cell] != status.Computers()[i].name)
                  ++mismatched;
                cell += static_cast<size_t>(length);
              }
              rows[i] += table.rowLengths.size();
              status.AddObjects(i, table.rowLengths.size());
            },
            [this](size_t i, ComputerState s, int64_t ms, const std::string& error) {
              --busy;
              status.Finish(i, s, ms, error);
            },
            [this] { ++ends; }};
  }
};

TEST(FanOut, LiveComputersAnswerWhileDeadOnesHangAndStopStopsThem) {
  auto fake = testing::MakeScenario("standard");
  const auto fleet = testing::AddFleet(
      *fake, {.computers = 30, .deadConnect = 30s, .minLatency = 5ms, .maxLatency = 60ms});
  auto dispatcher = std::make_shared<testing::TestDispatcher>();
  FanOut fanOut(fake, dispatcher);

  std::vector<FanOutComputer> computers;
  std::vector<std::string> names;
  for (size_t i = 0; i < fleet.size(); ++i) {
    computers.push_back({i, fleet[i].name});
    names.push_back(fleet[i].name);
  }
  FleetRun run;
  run.status.Reset(names);
  const auto started = std::chrono::steady_clock::now();
  fanOut.Start({".", "root\\cimv2", "", ""}, {}, "SELECT Name FROM Win32_Service", computers, 6,
               run.Callbacks());
  // 3 dead computers hold 3 of the 6 workers; the other 27 pass through the rest.
  ASSERT_TRUE(dispatcher->PumpUntil(
      [&] {
        return run.status.Count(ComputerState::Done) == 24 &&
               run.status.Count(ComputerState::Failed) == 3;
      },
      15s));
  EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
  EXPECT_LE(run.mostBusy, 6u);
  EXPECT_EQ(run.mismatched, 0);
  for (size_t i = 0; i < fleet.size(); ++i) {
    const ComputerStatus& c = run.status.Computers()[i];
    switch (fleet[i].member) {
      case FleetMember::Live:
        EXPECT_EQ(c.state, ComputerState::Done) << c.name;
        EXPECT_GT(run.rows[i], 0u) << c.name;
        EXPECT_GE(c.milliseconds, fleet[i].latency.count()) << c.name;
        break;
      case FleetMember::Refusing:
        EXPECT_EQ(c.state, ComputerState::Failed) << c.name;
        EXPECT_EQ(c.error, "Access is denied") << c.name;
        break;
      case FleetMember::Dead:
        EXPECT_EQ(c.state, ComputerState::Connecting) << c.name;
        break;
    }
  }
  EXPECT_TRUE(fanOut.Running());
  fanOut.Stop();
  run.status.StopAll();
  EXPECT_FALSE(fanOut.Running());
  EXPECT_EQ(run.status.Count(ComputerState::Stopped), 3u);

  // A second run on the refused ones only: just those connect again.
  const int connects = fake->ConnectCount();
  std::vector<FanOutComputer> retry;
  for (size_t i : run.status.RetryFailed()) retry.push_back({i, names[i]});
  ASSERT_EQ(retry.size(), 3u);
  fanOut.Start({".", "root\\cimv2", "", ""}, {}, "SELECT Name FROM Win32_Service", retry, 32,
               run.Callbacks());
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return run.ends == 1; }, 5s));
  EXPECT_EQ(fake->ConnectCount(), connects + 3);
  EXPECT_EQ(run.status.Count(ComputerState::Failed), 3u);
  fake->CutConnectDelays();
}

TEST(FanOut, AnEmptyListEndsAtOnce) {
  auto fake = testing::MakeScenario("standard");
  auto dispatcher = std::make_shared<testing::TestDispatcher>();
  FanOut fanOut(fake, dispatcher);
  FleetRun run;
  fanOut.Start({".", "root\\cimv2", "", ""}, {}, "SELECT * FROM Win32_Service", {}, 0,
               run.Callbacks());
  EXPECT_EQ(run.ends, 1);
  EXPECT_FALSE(fanOut.Running());
}

}  // namespace
}  // namespace brevane::wmi
