// The query tab's run on many computers: the list of the box "计算机" parsed, the query sent
// to every computer through FanOut, their rows streaming into the one result table with the
// column "Computer" first, each computer's state in the status list and the totals in
// status panel 2; "重新运行失败的" runs it again on the failed ones and adds their rows.
#include <windows.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "app/computer_list.h"
#include "app/copy_text.h"
#include "app/win32/computer_file_reader.h"
#include "app/win32/query_view.h"
#include "app/win32/view_controls.h"
#include "framework/win32/control_adapters.h"
#include "util/history.h"

namespace brevane::app::win32 {

namespace {

constexpr const char* kFleetStopCaption = "停止";

}  // namespace

bool QueryView::RunOnComputers(const std::string& queryText) {
  if (fanOut_ == nullptr) return false;
  const std::string text = fleet_.ComputersText();
  ComputerList list = ParseComputerList(text, ReadComputerFile);
  if (!list.error.empty()) {
    host_.SetStatus(2, list.error);
    host_.ShowError(list.error);
    return true;
  }
  if (list.names.empty()) {  // the connected computer alone, as ever: no status band
    if (fleet_.BandShown()) {
      fleet_.Status().Reset({});
      fleet_.Reload();
      LayOutPage();
    }
    return false;
  }
  fleetQuery_ = queryText;
  fleetComputers_ = text;
  fleet_.Status().Reset(list.names);
  fleet_.Reload();
  LayOutPage();
  std::vector<wmi::FanOutComputer> computers;
  computers.reserve(list.names.size());
  for (size_t i = 0; i < list.names.size(); ++i) computers.push_back({i, std::move(list.names[i])});
  query_ = RunningQuery{};
  query_.headerColumns = resultView_.HeaderColumnCount();
  StartFleetRun(std::move(computers));
  return true;
}

void QueryView::RerunFailed() {
  if (query_.active || fanOut_ == nullptr) return;
  const std::vector<size_t> failed = fleet_.Status().RetryFailed();
  if (failed.empty()) return;
  std::vector<wmi::FanOutComputer> computers;
  computers.reserve(failed.size());
  for (size_t index : failed) computers.push_back({index, fleet_.Status().Computers()[index].name});
  fleet_.Reload();
  // Their rows join those of the table, under the columns it has.
  query_ = RunningQuery{};
  query_.rowsReplaced = true;
  query_.headerColumns = resultView_.HeaderColumnCount();
  query_.captionsShown = queryRows_.Rows().ColumnCount();
  StartFleetRun(std::move(computers));
}

void QueryView::StartFleetRun(std::vector<wmi::FanOutComputer> computers) {
  query_.active = true;
  query_.fleet = true;
  query_.start = std::chrono::steady_clock::now();
  query_.panelBefore = host_.Status(2);
  framework::win32::SetWindowTextUtf8(runQueryButton_, kFleetStopCaption);
  fleet_.EnableRetry(true);
  host_.BackgroundChanged();
  ShowFleetProgress();
  fleet_.StartTicking([this] {
    if (query_.active && query_.fleet) ShowFleetProgress();
  });
  wmi::FanOutCallbacks callbacks;
  callbacks.state = [this](size_t index, wmi::ComputerState state) {
    fleet_.Status().SetState(index, state);
    fleet_.Reload(index);
  };
  callbacks.rows = [this](size_t index, wmi::ResultTable&& rows) {
    OnFleetRows(index, std::move(rows));
  };
  callbacks.finished = [this](size_t index, wmi::ComputerState state, int64_t milliseconds,
                              const std::string& error) {
    OnFleetFinished(index, state, milliseconds, error);
  };
  callbacks.ended = [this] { host_.RunAsHandler([this] { OnFleetEnded(); }); };
  fanOut_->Start(ConnectionOf(client_), client_.Regional(), fleetQuery_, std::move(computers),
                 host_.Settings().fanOutLimit, std::move(callbacks));
}

void QueryView::OnFleetRows(size_t index, wmi::ResultTable&& rows) {
  const size_t objects = rows.rowLengths.size();
  AppendQueryRows(std::move(rows));
  fleet_.Status().AddObjects(index, objects);
  fleet_.Reload(index);
  ShowFleetProgress();
}

void QueryView::OnFleetFinished(size_t index, wmi::ComputerState state, int64_t milliseconds,
                                const std::string& error) {
  fleet_.Status().Finish(index, state, milliseconds, error);
  fleet_.Reload(index);
  ShowFleetProgress();
}

void QueryView::OnFleetEnded() {
  if (!query_.active || !query_.fleet) return;
  EndQueryRun();
  fleet_.EnableRetry(false);
  ShowFleetProgress();
  util::AddToHistory(queryHistory_, fleetQuery_);
  util::AddToHistory(fleet_.History(), fleetComputers_);
  if (!query_.rowsReplaced) {  // no computer answered with objects: the table empties
    query_.rowsReplaced = true;
    queryRows_.Rows() = ResultRows();
    resultView_.SetSelectedRow(-1);
  }
  LayOutFinishedResult();
}

void QueryView::StopFleetRun() {
  if (fanOut_ != nullptr) fanOut_->Stop();
  fleet_.Status().StopAll();
  fleet_.Reload();
  EndQueryRun();
  fleet_.EnableRetry(false);
  ShowFleetProgress();
  if (query_.rowsReplaced) LayOutFinishedResult();
}

void QueryView::ShowFleetProgress() {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - query_.start)
                           .count();
  host_.SetStatus(2, fleet_.Status().PanelText(static_cast<int64_t>(elapsed)));
}

void QueryView::OnCopyFleetStatus() {
  HWND list = fleet_.StatusList();
  const auto selected = static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
  if (selected <= 0) return;
  if (static_cast<size_t>(selected) >= fleet_.Status().Computers().size()) {
    CopyToClipboard(host_, FleetStatusText(fleet_.Status(), nullptr));
  } else {
    const std::vector<int> chosen = SelectedListViewRows(list);
    CopyToClipboard(host_, FleetStatusText(fleet_.Status(), &chosen));
  }
}

}  // namespace brevane::app::win32
