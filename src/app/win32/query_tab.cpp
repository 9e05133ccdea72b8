// The query tab: running a WQL query in the background, streaming its answer into a sortable
// table.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <string>

#include "app/query_texts.h"
#include "app/result_rows.h"
#include "app/win32/main_window.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/dpi.h"
#include "framework/win32/redraw_suspension.h"
#include "util/history.h"
#include "util/text.h"
#include "wmi/result_table.h"

namespace brevane::app::win32 {

namespace {

constexpr int kImageArrowUp = 8;    // descending
constexpr int kImageArrowDown = 9;  // ascending
constexpr UINT_PTR kQuery2ComboSubclassId = 1;

constexpr const char* kRunCaption = "执行";
constexpr const char* kStopCaption = "停止";
constexpr wchar_t kEscape = 27;

long long MillisecondsSince(std::chrono::steady_clock::time_point start,
                            std::chrono::steady_clock::time_point end) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
}

LRESULT CALLBACK Query2ComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR refData) {
  if (message == WM_CHAR) {
    auto* window = reinterpret_cast<TMainWin*>(refData);
    auto key = static_cast<wchar_t>(wParam);
    if (!framework::win32::RunGuarded(window->Handle(), [&] { window->Query2ComboKeyPress(key); }))
      return 0;
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
  if (query_.active) StopQuery();
  const std::string queryText = Query2Text();
  query_ = RunningQuery{};
  query_.active = true;
  query_.start = std::chrono::steady_clock::now();
  query_.headerColumns = listView1_.HeaderColumnCount();
  query_.panelBefore = StatusPanel(2);
  framework::win32::SetWindowTextUtf8(Query2Btn, kStopCaption);
  SetStatusPanel(2, QueryProgressText(0));
  UpdateBusyCursor();
  const std::string host = Wmi->Host;
  wmi::StartQuery(*queryWorker_, Connection(), Wmi->Regional(), queryText,
                  {[this, host] {
                     if (!query_.rowsReplaced) SetStatusPanel(2, ConnectingText(host));
                   },
                   [this](wmi::ResultTable&& batch) { OnQueryRows(std::move(batch)); },
                   [this, queryText](const wmi::QueryEnd& end) {
                     RunAsHandler([&] { OnQueryEnded(end, queryText); });
                   }});
}

void TMainWin::QueryButtonClicked() {
  if (query_.active) {
    StopQuery();
  } else {
    Query2BtnClick();
  }
}

void TMainWin::StopQuery() {
  if (!query_.active) return;
  queryWorker_->Cancel();
  const long long elapsed = MillisecondsSince(query_.start, std::chrono::steady_clock::now());
  EndQueryRun();
  SetStatusPanel(
      2, QueryStoppedText(elapsed, queryRows_.Rows().RowCount(), Wmi->Regional().decimalSeparator));
  if (query_.rowsReplaced) LayOutFinishedResult();
}

void TMainWin::EndQueryRun() {
  query_.active = false;
  framework::win32::SetWindowTextUtf8(Query2Btn, kRunCaption);
  UpdateBusyCursor();
}

void TMainWin::OnQueryRows(wmi::ResultTable&& batch) {
  if (!query_.rowsReplaced) {
    query_.rowsReplaced = true;
    queryRows_.Rows() = ResultRows();
    listView1_.SetSelectedRow(-1);
  }
  queryRows_.Rows().Append(std::move(batch));
  ShowStreamedColumns();
  listView1_.SyncRowCount(true);
  SetStatusPanel(2, QueryProgressText(queryRows_.Rows().RowCount()));
}

// While the query runs, the result's columns take the header's places as they appear, and
// columns the header lacks are added; the layout of the finished result comes at the end.
void TMainWin::ShowStreamedColumns() {
  const ResultRows& rows = queryRows_.Rows();
  const int cols = rows.ColumnCount();
  if (cols <= query_.captionsShown) return;
  const int header = listView1_.HeaderColumnCount();
  int width = 0;
  if (cols > header) {
    RECT client{};
    GetClientRect(ListView1, &client);
    const framework::win32::DpiScale scale(dpi_);
    width = scale(QueryColumnWidth(scale.ToDesign(client.right), cols));
  }
  for (int i = query_.captionsShown; i < cols; ++i) {
    const std::string& caption = rows.ColumnNames()[static_cast<size_t>(i)];
    if (i < header) {
      listView1_.SetColumnCaption(i, caption);
    } else {
      listView1_.AddColumn(caption, width);
    }
  }
  query_.captionsShown = cols;
}

void TMainWin::OnQueryEnded(const wmi::QueryEnd& end, const std::string& queryText) {
  EndQueryRun();
  if (!end.ok) {
    if (query_.rowsReplaced) LayOutFinishedResult();
    SetStatusPanel(2, end.errorText);
    ShowError(end.errorText);
    return;
  }
  // Whole milliseconds, from the start to the last object: a query within one millisecond
  // shows no time.
  const long long elapsed = MillisecondsSince(query_.start, end.lastObject);
  SetStatusPanel(2, elapsed > 0 ? QueryTimeText(elapsed, Wmi->Regional().decimalSeparator)
                                : query_.panelBefore);
  framework::win32::Win32ComboBox history(Query2Combo);
  util::AddToHistory(history, queryText);
  if (!query_.rowsReplaced) {  // no objects: the table empties, its headers stay
    query_.rowsReplaced = true;
    queryRows_.Rows() = ResultRows();
    listView1_.SetSelectedRow(-1);
  }
  LayOutFinishedResult();
}

// The finished result as a query that ran at once would show it: the columns rebuilt when
// their number changed (widths and order reset), else only their captions; then the order.
void TMainWin::LayOutFinishedResult() {
  framework::win32::RedrawSuspension redraw(ListView1);
  const ResultRows& rows = queryRows_.Rows();
  const int cols = rows.ColumnCount();
  if (cols > 0) {
    if (query_.headerColumns != cols || listView1_.HeaderColumnCount() != cols) {
      RECT client{};
      GetClientRect(ListView1, &client);
      const framework::win32::DpiScale scale(dpi_);
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
  query_.headerColumns = listView1_.HeaderColumnCount();
  query_.captionsShown = cols;
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
  if (key == kEscape && query_.active) {
    key = 0;
    StopQuery();
    return;
  }
  if (key != L'\r' || util::Trim(Query2Text()).empty()) return;
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

}  // namespace brevane::app::win32
