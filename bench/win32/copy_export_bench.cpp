// Copy and export of a 1 000 000-cell result table under Wine, the whole way: the text made and
// put on the clipboard as UTF-16, and the CSV file written through the temporary file and put
// in place. Prints the times and the peak memory.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/class_filter.h"
#include "app/copy_text.h"
#include "app/delimited_text.h"
#include "app/result_rows.h"
#include "bench_tables.h"
#include "framework/win32/atomic_file_writer.h"
#include "framework/win32/clipboard.h"
#include "framework/win32/encoding.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

size_t PeakWorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakWorkingSetSize / (1024 * 1024);
}

}  // namespace

int main() {
  const brevane::app::ResultRows rows = brevane::bench::MillionCellRows();
  std::printf("table ready, peak %zu MB\n", PeakWorkingSetMb());

  auto start = Clock::now();
  const std::string text = brevane::app::ResultRowsText(rows, {}, nullptr);
  const double made = Milliseconds(start);
  // The clipboard takes data only from a window that opened it.
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  const auto result = brevane::framework::win32::SetClipboardText(owner, text);
  DestroyWindow(owner);
  std::printf(
      "copy 1 000 000 cells: text %.1f ms, clipboard %.1f ms in all (%s), peak %zu MB\n", made,
      Milliseconds(start),
      result == brevane::framework::win32::ClipboardResult::Copied ? "copied" : "not copied",
      PeakWorkingSetMb());

  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"brevane-export-bench.csv";
  start = Clock::now();
  try {
    brevane::framework::win32::AtomicFileWriter file(path);
    file.Append(brevane::app::kUtf8ByteOrderMark);
    brevane::app::WriteResultRows(rows, {}, nullptr, brevane::app::DelimitedFormat::Csv, file);
    file.Commit();
    std::printf("export 1 000 000 cells to CSV: %.1f ms, peak %zu MB\n", Milliseconds(start),
                PeakWorkingSetMb());
  } catch (const brevane::framework::win32::FileWriteError& error) {
    std::printf("export failed with error %lu\n", error.Code());
  }
  DeleteFileW(path.c_str());

  const std::vector<std::string> names = brevane::bench::HundredThousandClassNames();
  brevane::app::ClassFilter filter;
  filter.SetNames(names);
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_OVERLAPPEDWINDOW | LBS_NOINTEGRALHEIGHT, 0, 0,
                              400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (const char* filterText : {"perf", "counter9", "", "nosuchclass"}) {
    start = Clock::now();
    const std::vector<int> shown = filter.Matches(filterText);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_INITSTORAGE, shown.size(), static_cast<LPARAM>(shown.size() * 32));
    for (int index : shown) {
      const std::wstring wide =
          brevane::framework::win32::Utf8ToWide(names[static_cast<size_t>(index)]);
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    std::printf("filter keystroke \"%s\" with the list box refilled: %.1f ms (%zu shown)\n",
                filterText, Milliseconds(start), shown.size());
  }
  DestroyWindow(list);
  return 0;
}
