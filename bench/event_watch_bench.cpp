// Events through a watch on the fake, whose source fires as fast as it is asked: how many
// events a second reach the table (rows laid out, the newest 100 000 kept), and how long the
// stop takes. Printed, never asserted.
#include <chrono>
#include <cstdio>

#include "app/result_rows.h"
#include "support/fake_events.h"
#include "support/test_dispatcher.h"
#include "wmi/event_rows.h"
#include "wmi/event_watch.h"

int main() {
  using namespace brevane;
  using Clock = std::chrono::steady_clock;
  auto fake = std::make_shared<testing::FakeWmi>();
  testing::AddEventWorld(*fake, std::chrono::microseconds(1));
  auto dispatcher = std::make_shared<testing::TestDispatcher>();
  wmi::RequestWorker worker(fake, dispatcher);
  const wmi::ConnectionParams conn{".", "root\\cimv2", "", ""};
  app::ResultRows rows;
  long long events = 0;
  bool watching = false;
  wmi::StartQueryOrWatch(
      worker, conn, wmi::RegionalSettings{},
      "SELECT * FROM __InstanceCreationEvent WITHIN 1 WHERE TargetInstance ISA 'Win32_Process'",
      {{}, [](wmi::ResultTable&&) {}, [](const wmi::QueryEnd&) {}},
      {[&] { watching = true; },
       [&](wmi::ResultTable&& batch) {
         events += batch.rows;
         rows.Append(std::move(batch));
         rows.KeepNewest(wmi::kMaxEventRows);
       },
       [](const wmi::QueryEnd& end) { std::printf("watch ended: %s\n", end.errorText.c_str()); }});
  dispatcher->PumpUntil([&] { return watching; }, std::chrono::seconds(10));
  const auto start = Clock::now();
  dispatcher->PumpUntil([] { return false; }, std::chrono::seconds(3));
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const auto stop = Clock::now();
  worker.Cancel();
  const bool ended = worker.Shutdown(std::chrono::seconds(5));
  std::printf(
      "event watch: %lld events in %.2f s = %.0f events/s, %d rows kept, %d columns; "
      "stop to thread ended %.1f ms%s\n",
      events, seconds, static_cast<double>(events) / seconds, rows.RowCount(), rows.ColumnCount(),
      std::chrono::duration<double, std::milli>(Clock::now() - stop).count(),
      ended ? "" : " (not ended)");
  return 0;
}
