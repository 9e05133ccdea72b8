// One query on 200 fake computers, at most 32 at once: 10 % dead (a 20 s connect), 10 %
// refusing, the rest answering after 20-400 ms. Prints when every live computer's rows were
// in, the total, the same run one computer at a time (estimated: the sum of every computer's
// own time), the longest the UI thread was busy with one turn of answers, the CPU time the
// process and its UI thread had used when the live rows were in (on a shared machine the wall
// time is mostly the UI thread waiting for a core), and the peak memory.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/result_rows.h"
#include "support/fake_fleet.h"
#include "support/fake_scenarios.h"
#include "support/test_dispatcher.h"
#include "wmi/fan_out.h"

namespace {

using Clock = std::chrono::steady_clock;

long PeakRssKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// CPU time of the whole process (every thread), in ms: on a machine shared with other work
// the wall time to the live rows may be mostly waiting for a core.
double CpuMs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// One run at the given limit, figures printed.
void Run(const std::shared_ptr<brevane::testing::FakeWmi>& fake,
         const std::vector<brevane::testing::FleetComputer>& fleet, int limit) {
  using namespace brevane;
  auto dispatcher = std::make_shared<testing::TestDispatcher>();
  wmi::FanOut fanOut(fake, dispatcher);

  std::vector<wmi::FanOutComputer> computers;
  std::vector<std::string> names;
  size_t live = 0;
  std::chrono::milliseconds slowestLive{0};
  for (size_t i = 0; i < fleet.size(); ++i) {
    computers.push_back({i, fleet[i].name});
    names.push_back(fleet[i].name);
    if (fleet[i].member == testing::FleetMember::Live) {
      ++live;
      slowestLive = std::max(slowestLive, fleet[i].latency);
    }
  }
  wmi::FleetStatus status;
  status.Reset(names);
  app::ResultRows rows;
  bool ended = false;
  const long rssBefore = PeakRssKb();
  const auto start = Clock::now();
  const double cpuAtStart = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
  const double uiAtStart = CpuMs(CLOCK_THREAD_CPUTIME_ID);
  double cpuAtLive = 0;
  double uiAtLive = 0;
  Clock::time_point liveIn{};
  // 500 objects of 5 properties from each live computer, laid out as the window does.
  fanOut.Start(
      {".", "root\\cimv2", "", ""}, {}, "SELECT * FROM Bench_Fleet", computers, limit,
      {[&](size_t i, wmi::ComputerState s) { status.SetState(i, s); },
       [&](size_t i, wmi::ResultTable&& table) {
         status.AddObjects(i, table.rowLengths.size());
         rows.Append(std::move(table));
       },
       [&](size_t i, wmi::ComputerState s, int64_t ms, const std::string& error) {
         status.Finish(i, s, ms, error);
         if (liveIn == Clock::time_point{} && status.Count(wmi::ComputerState::Done) == live) {
           liveIn = Clock::now();
           cpuAtLive = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
           uiAtLive = CpuMs(CLOCK_THREAD_CPUTIME_ID);
         }
       },
       [&] { ended = true; }});
  Clock::duration longestTurn{};
  while (!ended) {
    const auto turn = Clock::now();
    dispatcher->RunPending();
    longestTurn = std::max(longestTurn, Clock::now() - turn);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const auto total = Clock::now() - start;

  int64_t oneAtATime = 0;
  for (const wmi::ComputerStatus& c : status.Computers()) oneAtATime += c.milliseconds;
  std::printf("-- at most %d at once\n", limit);
  std::printf("%s\n", status.PanelText(static_cast<int64_t>(Ms(total))).c_str());
  std::printf("rows in the table: %d, columns: %d\n", rows.RowCount(), rows.ColumnCount());
  std::printf(
      "every live computer's rows in after %.0f ms (slowest live computer alone: %lld ms, "
      "ratio %.2f)\n",
      Ms(liveIn - start), static_cast<long long>(slowestLive.count()),
      Ms(liveIn - start) / static_cast<double>(std::max<int64_t>(slowestLive.count(), 1)));
  std::printf("CPU time until then: %.0f ms of the process, %.0f ms of the UI thread\n",
              cpuAtLive - cpuAtStart, uiAtLive - uiAtStart);
  std::printf("total with the dead ones' 20 s connects: %.0f ms\n", Ms(total));
  std::printf(
      "one computer at a time (estimated as the sum of each computer's own time): %lld ms\n",
      static_cast<long long>(oneAtATime));
  std::printf("longest UI turn over the answers: %.1f ms\n", Ms(longestTurn));
  std::printf("peak resident memory: %ld KB (%ld KB before the run)\n", PeakRssKb(), rssBefore);
}

}  // namespace

int main() {
  auto fake = brevane::testing::MakeScenario("standard");
  brevane::testing::AddBigClass(*fake, "Bench_Fleet", 500, 5);
  const auto fleet = brevane::testing::AddFleet(*fake, {.computers = 200});
  for (int limit : {32, 256}) Run(fake, fleet, limit);
  return 0;
}
