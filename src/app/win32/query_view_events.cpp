// The query tab's event queries: the worker decides that the query is one and watches it until
// the user stops it; the events stream into the same table as a query's objects, the oldest
// dropped once the table holds its bound.
#include <windows.h>

#include <string>

#include "app/powershell_copy.h"
#include "app/query_texts.h"
#include "app/win32/query_view.h"
#include "app/win32/view_controls.h"
#include "util/history.h"
#include "util/text.h"
#include "wmi/event_rows.h"

namespace brevane::app::win32 {

wmi::EventWatchCallbacks QueryView::WatchCallbacks(const std::string& queryText) {
  return {[this, queryText] { OnWatching(queryText); },
          [this](wmi::ResultTable&& batch) { OnQueryRows(std::move(batch)); },
          [this, queryText](const wmi::QueryEnd& end) {
            host_.RunAsHandler([&] { OnQueryEnded(end, queryText); });
          }};
}

void QueryView::OnWatching(const std::string& queryText) {
  query_.watching = true;
  lastWatchedQuery_ = queryText;
  host_.SetStatus(2, WatchingEventsText(0));
  // A watch ends with a stop rather than an answer: it goes into the history once it runs.
  util::AddToHistory(queryHistory_, queryText);
}

bool QueryView::KeepNewestEvents(int received) {
  query_.events += received;
  ResultRows& rows = queryRows_.Rows();
  if (static_cast<size_t>(rows.RowCount()) <= wmi::kMaxEventRows) return false;
  rows.KeepNewest(wmi::kMaxEventRows);
  return true;
}

void QueryView::OnCopyPowerShell() {
  const std::string query = QueryText();
  if (util::Trim(query).empty()) return;
  CopyToClipboard(host_, PowerShellTextOfQuery(PowerShellTargetOf(ConnectionOf(client_)), query,
                                               lastWatchedQuery_));
}

}  // namespace brevane::app::win32
