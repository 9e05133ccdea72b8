// Requests off the UI thread under Wine, on the fake backend with a provider delay, side by side
// with the synchronous path in the same run:
// - a 100 000 x 10 query: first rows shown, total time against the synchronous query, the
//   longest time the window took to answer a sent and a posted message while rows streamed,
//   what held the UI thread longest meanwhile (one message handled: a turn of the dispatcher
//   with its batch of rows, a paint, a timer), the final sort, the time a cancel takes to stop
//   the worker, and the peak working set;
// - the last of 30 001 instances: values by path against the walk by position.
// Figures only; nothing here passes or fails.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/result_rows.h"
#include "app/win32/result_rows_source.h"
#include "framework/win32/program_file.h"
#include "framework/win32/ui_dispatcher.h"
#include "framework/win32/virtual_list_view.h"
#include "support/fake_scenarios.h"
#include "wmi/object_fetch.h"
#include "wmi/query_ops.h"
#include "wmi/query_stream.h"

namespace {

using namespace brevane;
using Clock = std::chrono::steady_clock;
constexpr UINT kProbe = WM_APP + 7;
const wmi::ConnectionParams kLocal{".", "root\\cimv2", "", ""};

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

size_t WorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.WorkingSetSize / (1024 * 1024);
}

size_t PeakWorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakWorkingSetSize / (1024 * 1024);
}

// Runs this program again for one memory phase; its exit code is the phase's peak working set
// above the fake backend's world, in MB.
DWORD MemoryPhase(const wchar_t* phase) {
  std::wstring command = L"\"" + brevane::framework::win32::ProgramFileName() + L"\" " + phase;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return 0;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

// The longest delay of a posted probe, measured by the window procedure.
std::atomic<long long> longestPostedUs{0};

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) {
    const long long sent = static_cast<long long>(wParam);
    const long long now =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch())
            .count();
    longestPostedUs = std::max(longestPostedUs.load(), now - sent);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The longest time the UI thread spent on one message, by kind.
struct UiHolds {
  Clock::duration paint{};
  Clock::duration timer{};
  Clock::duration other{};  // the dispatcher's wake messages: its turns, with the batches
  // All messages together, and how often the table painted and learnt a new row count: on a
  // busy machine each drawing waits for the X server, so these say more than the longest.
  Clock::duration busy{};
  int paints = 0;
  int rowCounts = 0;
};
UiHolds holds;

LRESULT CALLBACK CountRowCounts(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
  if (message == LVM_SETITEMCOUNT) ++holds.rowCounts;
  return DefSubclassProc(window, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds timeout) {
  const auto until = Clock::now() + timeout;
  MSG msg;
  while (!done()) {
    if (Clock::now() > until) return false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      const auto start = Clock::now();
      DispatchMessageW(&msg);
      Clock::duration& longest = msg.message == WM_PAINT   ? holds.paint
                                 : msg.message == WM_TIMER ? holds.timer
                                                           : holds.other;
      const Clock::duration spent = Clock::now() - start;
      longest = std::max(longest, spent);
      holds.busy += spent;
      if (msg.message == WM_PAINT) ++holds.paints;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

}  // namespace

// One memory phase in a process of its own: the 100 000 x 10 query streamed into the rows, or
// run synchronously and then turned into rows, without a provider delay.
int RunMemoryPhase(bool streamed) {
  auto fake = testing::MakeScenario("million-cells");
  const size_t baseline = WorkingSetMb();
  app::ResultRows rows;
  if (streamed) {
    auto dispatcher = std::make_shared<framework::win32::UiDispatcher>();
    wmi::RequestWorker worker(fake, dispatcher);
    bool ended = false;
    wmi::StartQuery(worker, kLocal, wmi::RegionalSettings{}, "select * from Brevane_Million",
                    {{},
                     [&](wmi::ResultTable&& batch) { rows.Append(std::move(batch)); },
                     [&](const wmi::QueryEnd&) { ended = true; }});
    PumpUntil([&] { return ended; }, std::chrono::seconds(600));
    worker.Shutdown(std::chrono::seconds(5));
    dispatcher->Close();
  } else {
    wmi::ResultTable all;
    std::string error;
    wmi::RunQuery(*fake, wmi::RegionalSettings{}, kLocal, "select * from Brevane_Million", all,
                  error);
    rows = app::ResultRows::FromTable(std::move(all));
  }
  rows.Sort(0, true);
  return static_cast<int>(PeakWorkingSetMb() - baseline);
}

int main(int argc, char** argv) {
  if (argc > 1) return RunMemoryPhase(std::string(argv[1]) == "streamed");
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  std::printf(
      "1000000 cells, peak working set above the fake's world: streamed %lu MB, synchronous "
      "%lu MB\n",
      static_cast<unsigned long>(MemoryPhase(L"streamed")),
      static_cast<unsigned long>(MemoryPhase(L"synchronous")));
  auto fake = testing::MakeScenario("million-cells,big");
  // About 0.1 ms per object, as a provider that computes its objects one by one.
  fake->SetPacedDelay(std::chrono::milliseconds(1), 10);
  auto dispatcher = std::make_shared<framework::win32::UiDispatcher>();
  wmi::RequestWorker worker(fake, dispatcher);

  WNDCLASSW wc{};
  wc.lpfnWndProc = ProbeWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BenchProbe";
  RegisterClassW(&wc);
  HWND probe = CreateWindowW(L"BenchProbe", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, wc.hInstance, nullptr);
  HWND listView = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0,
                                  0, 800, 600, nullptr, nullptr, wc.hInstance, nullptr);
  app::win32::ResultRowsSource rows;
  framework::win32::VirtualListView table(listView, &rows);
  SetWindowSubclass(listView, CountRowCounts, 1, 0);
  for (int c = 0; c < 10; ++c) table.AddColumn(std::to_string(c), 80);

  // Streamed, as the window runs a query.
  std::atomic<bool> streaming{true};
  std::atomic<bool> proberDone{false};
  long long longestSentUs = 0;
  std::thread prober([&] {
    while (streaming) {
      const auto start = Clock::now();
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(probe, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
      // Only answers while the rows stream count, not those that waited for the final sort.
      if (!streaming) break;
      longestSentUs = std::max<long long>(
          longestSentUs,
          std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
      const long long now =
          std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch())
              .count();
      PostMessageW(probe, kProbe, static_cast<WPARAM>(now), 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    proberDone = true;
  });
  Clock::time_point firstRows{};
  Clock::time_point lastObject{};
  bool ended = false;
  const auto start = Clock::now();
  wmi::StartQuery(worker, kLocal, wmi::RegionalSettings{}, "select * from Brevane_Million",
                  {{},
                   [&](wmi::ResultTable&& batch) {
                     rows.Rows().Append(std::move(batch));
                     table.SyncRowCount(true);
                     if (firstRows == Clock::time_point{}) firstRows = Clock::now();
                   },
                   [&](const wmi::QueryEnd& end) {
                     lastObject = end.lastObject;
                     ended = true;
                     streaming = false;
                   }});
  holds = UiHolds{};
  PumpUntil([&] { return ended; }, std::chrono::seconds(600));
  const long long postedWhileStreaming = longestPostedUs.load();
  const UiHolds streamingHolds = holds;
  const int streamedRows = rows.Rows().RowCount();
  const auto sortStart = Clock::now();
  rows.Rows().Sort(0, true);
  const auto sortTime = Clock::now() - sortStart;
  const auto streamedTotal = Clock::now() - start;
  PumpUntil([&] { return proberDone.load(); }, std::chrono::seconds(30));
  prober.join();
  rows.Rows() = app::ResultRows();
  table.SyncRowCount();

  // Cancel: from the request until the worker has stopped.
  ended = false;
  wmi::StartQuery(worker, kLocal, wmi::RegionalSettings{}, "select * from Brevane_Million",
                  {{}, [](wmi::ResultTable&&) {}, [&](const wmi::QueryEnd&) { ended = true; }});
  PumpUntil([] { return false; }, std::chrono::seconds(0));
  Sleep(300);
  const auto cancel = Clock::now();
  worker.Shutdown(std::chrono::seconds(10));
  const auto cancelTime = Clock::now() - cancel;

  // The synchronous query, as before: the whole result, then the table.
  const auto syncStart = Clock::now();
  wmi::ResultTable all;
  std::string error;
  wmi::RunQuery(*fake, wmi::RegionalSettings{}, kLocal, "select * from Brevane_Million", all,
                error);
  app::ResultRows syncRows = app::ResultRows::FromTable(std::move(all));
  syncRows.Sort(0, true);
  const auto syncTotal = Clock::now() - syncStart;

  std::printf(
      "query 100000 x 10 at ~0.1 ms per object: first rows shown after %.1f ms, all %d rows "
      "after %.0f ms (last object at %.0f ms); synchronous %.0f ms; ratio %.2f\n",
      Ms(firstRows - start), streamedRows, Ms(streamedTotal), Ms(lastObject - start), Ms(syncTotal),
      Ms(streamedTotal) / Ms(syncTotal));
  std::printf(
      "while streaming: longest answer to a sent message %.1f ms, to a posted message %.1f ms; "
      "cancel stopped the worker in %.1f ms\n",
      longestSentUs / 1000.0, postedWhileStreaming / 1000.0, Ms(cancelTime));
  std::printf(
      "longest hold of the UI thread while streaming: a dispatcher turn %.1f ms, a paint %.1f "
      "ms, a timer %.1f ms; then the final sort %.1f ms\n",
      Ms(streamingHolds.other), Ms(streamingHolds.paint), Ms(streamingHolds.timer), Ms(sortTime));
  std::printf(
      "while streaming the UI thread was busy %.0f%% of the time; the table painted %d times and "
      "learnt a new row count %d times\n",
      100.0 * Ms(streamingHolds.busy) / Ms(lastObject - start), streamingHolds.paints,
      streamingHolds.rowCounts);

  // The last of 30 001 instances: by path on a worker against the walk by position.
  wmi::RequestWorker fetcher(fake, dispatcher);
  const auto walkStart = Clock::now();
  util::StringList names;
  util::StringList values;
  wmi::ListInstanceProperties(*fake, wmi::RegionalSettings{}, kLocal, "Brevane_Big", 30000, &names,
                              &values, error);
  const auto walkTime = Clock::now() - walkStart;
  bool fetched = false;
  std::string value;
  const auto pathStart = Clock::now();
  wmi::StartInstanceFetch(fetcher, kLocal, wmi::RegionalSettings{}, "Brevane_Big",
                          "Brevane_Big.Name=\"item30000\"", 30000,
                          [&](wmi::PropertyListing&& listing) {
                            fetched = true;
                            if (!listing.values.empty()) value = listing.values.front();
                          });
  PumpUntil([&] { return fetched; }, std::chrono::seconds(60));
  std::printf(
      "last of 30001 instances: by path %.1f ms (\"%s\"); walk by position %.0f ms (\"%s\")\n",
      Ms(Clock::now() - pathStart), value.c_str(), Ms(walkTime),
      values.empty() ? "" : values.front().c_str());
  fetcher.Shutdown(std::chrono::seconds(5));
  dispatcher->Close();
  return 0;
}
