#pragma once
// The query tab: the query box with its run/stop button, and the result table the query's
// answer streams into. Its handlers are spread over:
//   query_view.cpp          controls, layout, DPI, commands, copy and the table's context menu
//   query_view_run.cpp      running a query in the background, the result table and its order
//   query_view_export.cpp   export of the result table
//   query_view_fleet.cpp    the query on the computers of the box "计算机"
//   query_view_events.cpp   an event query: watched until stopped, its newest events kept
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/delimited_text.h"
#include "app/win32/fleet_pane.h"
#include "app/win32/result_rows_source.h"
#include "app/win32/view.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/gdi_handles.h"
#include "framework/win32/virtual_list_view.h"
#include "wmi/fan_out.h"
#include "wmi/event_watch.h"
#include "wmi/query_stream.h"
#include "wmi/request_worker.h"
#include "wmi/wmi_client.h"

namespace brevane::app::win32 {

class QueryView final : public View {
 public:
  QueryView(ViewHost& host, wmi::WmiClient& client, wmi::RequestWorker& queryWorker);
  ~QueryView() override;
  // Runs the query on the computers of the box "计算机"; without it the box is ignored.
  void SetFanOut(wmi::FanOut& fanOut) { fanOut_ = &fanOut; }

  std::string Caption() const override { return "查询"; }
  void Create(HFONT font, HIMAGELIST images, UINT dpi) override;
  void Layout(const RECT& page) override;
  void DpiChanged(UINT dpi, UINT previous, HFONT font) override;
  void Show(bool shown) override;
  HWND FocusTarget() const override { return queryCombo_; }
  bool Handles(ViewCommand command) const override;
  bool Available(ViewCommand command) const override;
  void Run(ViewCommand command, bool fromKeyboard) override;
  SearchList Searched() override { return {&resultView_, nullptr}; }
  void Found() override { SetFocus(resultTable_); }
  bool OnCommand(int id, int notification, HWND control) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  bool OnContextMenu(HWND control, POINT point) override;
  void Histories(HistoryCombos& combos) override;
  bool Busy() const override { return query_.active; }
  void WorkersStopped() override {
    query_.active = false;
    fanOut_ = nullptr;  // gone with the other workers
  }

  // The text of the query box.
  std::string QueryText() const;
  void SetQueryText(const std::string& text);
  // Starts the query of the query box in the background; a query still running is stopped.
  void RunQuery();
  // Esc, the run button, a new host: the rows already shown stay.
  void StopQuery();
  bool ResultHasColumns() const { return resultView_.HeaderColumnCount() > 0; }
  // The text of the box "计算机".
  std::string ComputersText() const { return fleet_.ComputersText(); }
  void SetComputersText(const std::string& text) { fleet_.SetComputersText(text); }

 private:
  friend class MainWindowProbe;  // the in-process window tests

  // ---- Running a query (query_view_run.cpp)
  // The run button: runs the query, or stops the one running (its caption is then "停止").
  void OnRunQueryButton();
  // key: the typed character; set to 0 when it was consumed.
  void OnQueryComboKey(wchar_t& key);
  void OnResultColumnClick(int column);
  void OnQueryRows(wmi::ResultTable&& batch);
  void AppendQueryRows(wmi::ResultTable&& batch);
  void OnQueryEnded(const wmi::QueryEnd& end, const std::string& queryText);
  void ShowStreamedColumns();
  void LayOutFinishedResult();
  void EndQueryRun();
  void SortResultRows();
  void SubclassQueryCombo();
  static LRESULT CALLBACK QueryComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR refData);

  // ---- The query on many computers (query_view_fleet.cpp)
  // With names in the box "计算机" runs the query on them and returns true; a list that
  // cannot be used is shown and also returns true. False with the box empty.
  bool RunOnComputers(const std::string& queryText);
  void StartFleetRun(std::vector<wmi::FanOutComputer> computers);
  void RerunFailed();  // "重新运行失败的"
  void StopFleetRun();
  void OnFleetRows(size_t index, wmi::ResultTable&& rows);
  void OnFleetFinished(size_t index, wmi::ComputerState state, int64_t milliseconds,
                       const std::string& error);
  void OnFleetEnded();
  void ShowFleetProgress();
  void OnCopyFleetStatus();
  void LayOutPage();
  // ---- Watching events (query_view_events.cpp)
  wmi::EventWatchCallbacks WatchCallbacks(const std::string& queryText);
  void OnWatching(const std::string& queryText);
  // Drops the oldest events beyond the table's bound; true when some were dropped.
  bool KeepNewestEvents(int received);

  // The query of the box as PowerShell lines, on the clipboard (query_view_events.cpp).
  void OnCopyPowerShell();

  // ---- Copy and export (query_view.cpp, query_view_export.cpp)
  void OnCopy(HWND list);
  void OnSelectAll(HWND control);
  void OnExport();  // "导出...": the save dialog, then ExportResultTable
  // The result table as shown (rows in their order, columns in the header's order, with the
  // header line). False when it failed; the failure is then in panel 2 and in a message box.
  bool ExportResultTable(const std::wstring& path, DelimitedFormat format);
  // Columns of resultTable_ in the header's order on screen.
  std::vector<int> ResultColumnOrder() const;

  ViewHost& host_;
  wmi::WmiClient& client_;
  wmi::RequestWorker& queryWorker_;

  HWND queryLabel_ = nullptr;
  HWND queryCombo_ = nullptr;
  HWND runQueryButton_ = nullptr;
  HWND resultTable_ = nullptr;
  framework::win32::Win32ComboBox queryHistory_{nullptr};
  framework::win32::UniqueMenu tableMenu_;
  HWND contextList_ = nullptr;  // the list whose context menu is open
  UINT dpi_ = 96;
  RECT page_{};

  ResultRowsSource queryRows_;
  framework::win32::VirtualListView resultView_;
  int sortColumn_ = 0;
  bool sortAscending_ = true;
  // The query running in the background.
  struct RunningQuery {
    bool active = false;
    std::chrono::steady_clock::time_point start;
    int headerColumns = 0;      // columns of the table's header when the query started
    int captionsShown = 0;      // columns of this result whose captions are shown
    bool rowsReplaced = false;  // the first objects have replaced the previous result
    std::string panelBefore;    // status panel 2 when the query started
    bool fleet = false;         // it goes to the computers of the box "计算机"
    bool watching = false;      // an event query, running until stopped
    long long events = 0;       // events received, dropped ones included
  };
  RunningQuery query_;
  std::string lastWatchedQuery_;  // the query that last ran as an event watch
  FleetPane fleet_{host_};
  wmi::FanOut* fanOut_ = nullptr;
  // The query and the list of the last run on many computers, for a retry of the failed ones.
  std::string fleetQuery_;
  std::string fleetComputers_;
};

}  // namespace brevane::app::win32
