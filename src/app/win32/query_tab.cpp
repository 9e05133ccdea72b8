// The query tab: running a WQL query and showing its answer as a sortable table.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <string>

#include "app/result_rows.h"
#include "app/win32/main_window.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/dpi.h"
#include "util/history.h"
#include "util/text.h"
#include "wmi/result_table.h"

namespace brevane::app {

namespace {

constexpr int kImageArrowUp = 8;    // descending
constexpr int kImageArrowDown = 9;  // ascending
constexpr UINT_PTR kQuery2ComboSubclassId = 1;

std::string QueryTimeText(long long milliseconds, const std::string& decimalSeparator) {
  std::string text =
      Format("Query execution time: %1.4f sec", static_cast<double>(milliseconds) / 1000.0);
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text.replace(dot, 1, decimalSeparator);
  return text;
}

LRESULT CALLBACK Query2ComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR refData) {
  if (message == WM_CHAR) {
    auto* window = reinterpret_cast<TMainWin*>(refData);
    auto key = static_cast<wchar_t>(wParam);
    if (!win32::RunGuarded(window->Handle(), [&] { window->Query2ComboKeyPress(key); })) return 0;
    if (key == 0) return 0;
    wParam = key;
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(edit, Query2ComboEditProc, kQuery2ComboSubclassId);
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void TMainWin::SubclassQuery2Combo() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(Query2Combo, &info) && info.hwndItem != nullptr) {
    SetWindowSubclass(info.hwndItem, Query2ComboEditProc, kQuery2ComboSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
  }
}

void TMainWin::Query2BtnClick() {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  BusyScope busy(*this);
  wmi::ResultTable table;
  const bool ok = Wmi->ExecQuery(Query2Text(), table);
  // Whole milliseconds, as the local clock gives them: a query within one millisecond shows no
  // time.
  const long long elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  if (!ok) {
    busy.Restore();
    const std::string error = Wmi->LastError;
    SetStatusPanel(2, error);
    ShowError(error);
    return;
  }
  if (elapsed > 0) SetStatusPanel(2, QueryTimeText(elapsed, Wmi->Regional().decimalSeparator));
  win32::Win32ComboBox history(Query2Combo);
  AddToHistory(history, Query2Text());
  RebuildResultTable(std::move(table));
}

void TMainWin::RebuildResultTable(wmi::ResultTable&& table) {
  win32::RedrawSuspension redraw(ListView1);
  queryRows_.Rows() = ResultRows::FromTable(std::move(table));
  listView1_.SetSelectedRow(-1);
  const ResultRows& rows = queryRows_.Rows();
  const int cols = rows.ColumnCount();
  if (cols > 0) {
    if (listView1_.HeaderColumnCount() != cols) {
      RECT client{};
      GetClientRect(ListView1, &client);
      const win32::DpiScale scale(dpi_);
      const int width = scale(QueryColumnWidth(scale.ToDesign(client.right), cols));
      listView1_.RemoveAllColumns();
      for (int i = 0; i < cols; ++i)
        listView1_.AddColumn(rows.ColumnNames()[static_cast<size_t>(i)], width);
      SortColumn = 0;
      SortAscending = true;
      listView1_.SetHeaderImage(0, kImageArrowDown);
    } else {
      for (int i = 0; i < cols; ++i)
        listView1_.SetColumnCaption(i, rows.ColumnNames()[static_cast<size_t>(i)]);
    }
  }
  SortResultRows();
  listView1_.SyncRowCount();
}

void TMainWin::SortResultRows() {
  if (queryRows_.Rows().ColumnCount() == 0) return;
  queryRows_.Rows().Sort(SortColumn, SortAscending);
  // The rows under the selection changed; a selection would now mark another object.
  listView1_.SetSelectedRow(-1);
  InvalidateRect(ListView1, nullptr, FALSE);
}

void TMainWin::Query2ComboKeyPress(wchar_t& key) {
  if (key != L'\r' || Trim(Query2Text()).empty()) return;
  key = 0;
  Query2BtnClick();
}

void TMainWin::ListView1ColumnClick(int column) {
  const int columns = listView1_.HeaderColumnCount();
  if (column < 0 || column >= columns) return;
  for (int i = 0; i < columns; ++i) listView1_.SetHeaderImage(i, -1);
  if (column == SortColumn) SortAscending = !SortAscending;
  listView1_.SetHeaderImage(column, SortAscending ? kImageArrowDown : kImageArrowUp);
  SortColumn = column;
  SortResultRows();
}

}  // namespace brevane::app
