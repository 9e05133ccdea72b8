// The query tab's run: a WQL query in the background, its answer streaming into a sortable
// table.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <string>

#include "app/query_texts.h"
#include "app/result_rows.h"
#include "app/win32/query_view.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/window_base.h"
#include "framework/win32/dpi.h"
#include "framework/win32/redraw_suspension.h"
#include "util/history.h"
#include "util/text.h"
#include "wmi/result_table.h"

namespace brevane::app::win32 {

namespace {

constexpr int kImageArrowUp = 8;    // descending
constexpr int kImageArrowDown = 9;  // ascending
constexpr UINT_PTR kQueryComboSubclassId = 1;

constexpr const char* kRunCaption = "执行";
constexpr const char* kStopCaption = "停止";
constexpr wchar_t kEscape = 27;

long long MillisecondsSince(std::chrono::steady_clock::time_point start,
                            std::chrono::steady_clock::time_point end) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
}

}  // namespace

LRESULT CALLBACK QueryView::QueryComboEditProc(HWND edit, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
  if (message == WM_CHAR) {
    auto* window = reinterpret_cast<QueryView*>(refData);
    auto key = static_cast<wchar_t>(wParam);
    if (!framework::win32::RunGuarded(window->host_.Frame(), [&] { window->OnQueryComboKey(key); }))
      return 0;
    if (key == 0) return 0;
    wParam = key;
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(edit, QueryComboEditProc, kQueryComboSubclassId);
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

void QueryView::SubclassQueryCombo() {
  // Enter runs and Esc stops in the box "计算机" as in the query box.
  for (HWND combo : {queryCombo_, fleet_.ComputerCombo()}) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(combo, &info) && info.hwndItem != nullptr) {
      SetWindowSubclass(info.hwndItem, QueryComboEditProc, kQueryComboSubclassId,
                        reinterpret_cast<DWORD_PTR>(this));
    }
  }
}

void QueryView::RunQuery() {
  if (query_.active) StopQuery();
  const std::string queryText = QueryText();
  if (RunOnComputers(queryText)) return;
  query_ = RunningQuery{};
  query_.active = true;
  query_.start = std::chrono::steady_clock::now();
  query_.headerColumns = resultView_.HeaderColumnCount();
  query_.panelBefore = host_.Status(2);
  framework::win32::SetWindowTextUtf8(runQueryButton_, kStopCaption);
  host_.SetStatus(2, QueryProgressText(0));
  host_.BackgroundChanged();
  const std::string host = client_.Host;
  wmi::StartQueryOrWatch(queryWorker_, ConnectionOf(client_), client_.Regional(), queryText,
                         {[this, host] {
                            if (!query_.rowsReplaced) host_.SetStatus(2, ConnectingText(host));
                          },
                          [this](wmi::ResultTable&& batch) { OnQueryRows(std::move(batch)); },
                          [this, queryText](const wmi::QueryEnd& end) {
                            host_.RunAsHandler([&] { OnQueryEnded(end, queryText); });
                          }},
                         WatchCallbacks(queryText));
}

void QueryView::OnRunQueryButton() {
  if (query_.active) {
    StopQuery();
  } else {
    RunQuery();
  }
}

void QueryView::StopQuery() {
  if (!query_.active) return;
  if (query_.fleet) {
    StopFleetRun();
    return;
  }
  queryWorker_.Cancel();
  const long long elapsed = MillisecondsSince(query_.start, std::chrono::steady_clock::now());
  EndQueryRun();
  host_.SetStatus(2, query_.watching ? WatchStoppedText(elapsed, query_.events,
                                                        client_.Regional().decimalSeparator)
                                     : QueryStoppedText(elapsed, queryRows_.Rows().RowCount(),
                                                        client_.Regional().decimalSeparator));
  if (query_.rowsReplaced) LayOutFinishedResult();
}

void QueryView::EndQueryRun() {
  query_.active = false;
  fleet_.StopTicking();
  framework::win32::SetWindowTextUtf8(runQueryButton_, kRunCaption);
  host_.BackgroundChanged();
}

void QueryView::OnQueryRows(wmi::ResultTable&& batch) {
  AppendQueryRows(std::move(batch));
  host_.SetStatus(2, query_.watching ? WatchingEventsText(query_.events)
                                     : QueryProgressText(queryRows_.Rows().RowCount()));
}

void QueryView::AppendQueryRows(wmi::ResultTable&& batch) {
  if (!query_.rowsReplaced) {
    query_.rowsReplaced = true;
    queryRows_.Rows() = ResultRows();
    resultView_.SetSelectedRow(-1);
  }
  const int received = batch.rows;
  queryRows_.Rows().Append(std::move(batch));
  const bool dropped = query_.watching && KeepNewestEvents(received);
  ShowStreamedColumns();
  resultView_.SyncRowCount(true);
  if (dropped) InvalidateRect(resultTable_, nullptr, FALSE);
}

// While the query runs, the result's columns take the header's places as they appear, and
// columns the header lacks are added; the layout of the finished result comes at the end.
void QueryView::ShowStreamedColumns() {
  const ResultRows& rows = queryRows_.Rows();
  const int cols = rows.ColumnCount();
  if (cols <= query_.captionsShown) return;
  const int header = resultView_.HeaderColumnCount();
  int width = 0;
  if (cols > header) {
    RECT client{};
    GetClientRect(resultTable_, &client);
    const framework::win32::DpiScale scale(dpi_);
    width = scale(QueryColumnWidth(scale.ToDesign(client.right), cols));
  }
  for (int i = query_.captionsShown; i < cols; ++i) {
    const std::string& caption = rows.ColumnNames()[static_cast<size_t>(i)];
    if (i < header) {
      resultView_.SetColumnCaption(i, caption);
    } else {
      resultView_.AddColumn(caption, width);
    }
  }
  query_.captionsShown = cols;
}

void QueryView::OnQueryEnded(const wmi::QueryEnd& end, const std::string& queryText) {
  EndQueryRun();
  if (!end.ok) {
    if (query_.rowsReplaced) LayOutFinishedResult();
    host_.SetStatus(2, end.errorText);
    host_.ShowError(end.errorText);
    return;
  }
  // Whole milliseconds, from the start to the last object: a query within one millisecond
  // shows no time.
  const long long elapsed = MillisecondsSince(query_.start, end.lastObject);
  host_.SetStatus(2, elapsed > 0 ? QueryTimeText(elapsed, client_.Regional().decimalSeparator)
                                 : query_.panelBefore);
  util::AddToHistory(queryHistory_, queryText);
  if (!query_.rowsReplaced) {  // no objects: the table empties, its headers stay
    query_.rowsReplaced = true;
    queryRows_.Rows() = ResultRows();
    resultView_.SetSelectedRow(-1);
  }
  LayOutFinishedResult();
}

// The finished result as a query that ran at once would show it: the columns rebuilt when
// their number changed (widths and order reset), else only their captions; then the order.
void QueryView::LayOutFinishedResult() {
  framework::win32::RedrawSuspension redraw(resultTable_);
  const ResultRows& rows = queryRows_.Rows();
  const int cols = rows.ColumnCount();
  if (cols > 0) {
    if (query_.headerColumns != cols || resultView_.HeaderColumnCount() != cols) {
      RECT client{};
      GetClientRect(resultTable_, &client);
      const framework::win32::DpiScale scale(dpi_);
      const int width = scale(QueryColumnWidth(scale.ToDesign(client.right), cols));
      resultView_.RemoveAllColumns();
      for (int i = 0; i < cols; ++i)
        resultView_.AddColumn(rows.ColumnNames()[static_cast<size_t>(i)], width);
      sortColumn_ = 0;
      sortAscending_ = true;
      resultView_.SetHeaderImage(0, kImageArrowDown);
    } else {
      for (int i = 0; i < cols; ++i)
        resultView_.SetColumnCaption(i, rows.ColumnNames()[static_cast<size_t>(i)]);
    }
  }
  query_.headerColumns = resultView_.HeaderColumnCount();
  query_.captionsShown = cols;
  SortResultRows();
  resultView_.SyncRowCount();
}

void QueryView::SortResultRows() {
  if (queryRows_.Rows().ColumnCount() == 0) return;
  queryRows_.Rows().Sort(sortColumn_, sortAscending_);
  // The rows under the selection changed; a selection would now mark another object.
  resultView_.SetSelectedRow(-1);
  InvalidateRect(resultTable_, nullptr, FALSE);
}

void QueryView::OnQueryComboKey(wchar_t& key) {
  if (key == kEscape && query_.active) {
    key = 0;
    StopQuery();
    return;
  }
  if (key != L'\r' || util::Trim(QueryText()).empty()) return;
  key = 0;
  RunQuery();
}

void QueryView::OnResultColumnClick(int column) {
  const int columns = resultView_.HeaderColumnCount();
  if (column < 0 || column >= columns) return;
  for (int i = 0; i < columns; ++i) resultView_.SetHeaderImage(i, -1);
  if (column == sortColumn_) sortAscending_ = !sortAscending_;
  resultView_.SetHeaderImage(column, sortAscending_ ? kImageArrowDown : kImageArrowUp);
  sortColumn_ = column;
  SortResultRows();
}

}  // namespace brevane::app::win32
