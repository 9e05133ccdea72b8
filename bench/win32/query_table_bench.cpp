// The query table under Wine: after ExecQuery has returned 100 000 x 10 cells, the time until the
// table holds them all and is sorted, our way (rows in our own storage behind an owner-data list
// view) and the plain way (one LVM_INSERTITEM and one LVM_SETITEM per cell into an ordinary list
// view, then LVM_SORTITEMSEX), in the same run. Prints both times, the ratio and the peak memory.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/result_rows.h"
#include "app/win32/result_rows_source.h"
#include "framework/win32/encoding.h"
#include "framework/win32/virtual_list_view.h"
#include "wmi/result_table.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRows = 100000;
constexpr int kColumns = 10;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

size_t PeakWorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakWorkingSetSize / (1024 * 1024);
}

HWND MakeListView(DWORD extraStyle) {
  return CreateWindowExW(0, WC_LISTVIEWW, L"",
                         WS_OVERLAPPEDWINDOW | WS_VISIBLE | LVS_REPORT | extraStyle, 0, 0, 800, 600,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// What ExecQuery hands over for 100 000 objects of 10 properties (built directly, so that the
// peak memory is that of the result and the table, not of a WMI stand-in).
brevane::wmi::ResultTable Query() {
  brevane::wmi::ResultTable table;
  table.columnNames.reserve(static_cast<size_t>(kRows) * kColumns);
  table.values.reserve(static_cast<size_t>(kRows) * kColumns);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      table.columnNames.push_back(c == 0 ? "Name" : "Property" + std::to_string(c));
      table.values.push_back(c == 0  ? "item" + std::to_string(r)
                             : c % 2 ? std::to_string((r * 7919 + c) % 100003)
                                     : "text " + std::to_string(r % 977));
    }
    table.rowLengths.push_back(kColumns);
  }
  table.rows = kRows;
  table.cols = kColumns;
  return table;
}

// The plain way's sort: the control asks for two rows at a time; the texts come back from it.
struct PlainSort {
  HWND view;
  int column;
};

int CALLBACK ComparePlain(LPARAM a, LPARAM b, LPARAM data) {
  const auto* sort = reinterpret_cast<const PlainSort*>(data);
  wchar_t left[256];
  wchar_t right[256];
  ListView_GetItemText(sort->view, static_cast<int>(a), sort->column, left, 256);
  ListView_GetItemText(sort->view, static_cast<int>(b), sort->column, right, 256);
  return brevane::app::CompareCells(brevane::framework::win32::WideToUtf8(left),
                                    brevane::framework::win32::WideToUtf8(right));
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);

  // Ours.
  double ours = 0;
  {
    brevane::wmi::ResultTable table = Query();
    HWND view = MakeListView(LVS_OWNERDATA);
    brevane::app::win32::ResultRowsSource source;
    brevane::framework::win32::VirtualListView list(view, &source);
    const auto start = Clock::now();
    source.Rows() = brevane::app::ResultRows::FromTable(std::move(table));
    for (int c = 0; c < source.ColumnCount(); ++c)
      list.AddColumn(source.Rows().ColumnNames()[c], 90);
    source.Rows().Sort(1, true);
    list.SyncRowCount();
    UpdateWindow(view);
    Pump();
    ours = Seconds(start);
    std::printf("owner-data table: %d rows x %d columns filled and sorted in %.3f s\n",
                list.RowCount(), source.ColumnCount(), ours);
    std::printf("peak working set so far: %zu MB\n", PeakWorkingSetMb());
    DestroyWindow(view);
  }

  // The plain way.
  {
    brevane::wmi::ResultTable table = Query();
    HWND view = MakeListView(0);
    for (int c = 0; c < kColumns; ++c) {
      const std::wstring caption = brevane::framework::win32::Utf8ToWide(table.columnNames[c]);
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.cx = 90;
      column.pszText = const_cast<wchar_t*>(caption.c_str());
      ListView_InsertColumn(view, c, &column);
    }
    const auto start = Clock::now();
    SendMessageW(view, WM_SETREDRAW, FALSE, 0);
    for (int r = 0; r < table.rows; ++r) {
      std::wstring text =
          brevane::framework::win32::Utf8ToWide(table.values[static_cast<size_t>(r) * kColumns]);
      LVITEMW item{};
      item.mask = LVIF_TEXT | LVIF_PARAM;
      item.iItem = r;
      item.lParam = r;
      item.pszText = text.data();
      const int index = ListView_InsertItem(view, &item);
      for (int c = 1; c < kColumns; ++c) {
        text = brevane::framework::win32::Utf8ToWide(
            table.values[static_cast<size_t>(r) * kColumns + c]);
        LVITEMW sub{};
        sub.mask = LVIF_TEXT;
        sub.iItem = index;
        sub.iSubItem = c;
        sub.pszText = text.data();
        SendMessageW(view, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&sub));
      }
    }
    PlainSort sort{view, 1};
    ListView_SortItemsEx(view, ComparePlain, reinterpret_cast<LPARAM>(&sort));
    SendMessageW(view, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(view);
    Pump();
    const double plain = Seconds(start);
    std::printf("plain table: %d rows filled cell by cell and sorted in %.3f s\n",
                ListView_GetItemCount(view), plain);
    std::printf("ratio plain / owner-data: %.1f\n", plain / (ours > 0 ? ours : 1e-9));
    DestroyWindow(view);
  }
  std::printf("peak working set: %zu MB\n", PeakWorkingSetMb());
  return 0;
}
