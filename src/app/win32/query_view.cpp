// The query tab's controls, their placement at the window's DPI, the commands it answers, and
// copying from the result table.
#include "app/win32/query_view.h"

#include <commctrl.h>

#include <algorithm>

#include "app/copy_text.h"
#include "app/win32/command_ids.h"
#include "app/win32/view_controls.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"

namespace brevane::app::win32 {

namespace {
constexpr char kInitialQuery[] = "select Caption, HandleCount, ThreadCount from Win32_Process";
}  // namespace

QueryView::QueryView(ViewHost& host, wmi::WmiClient& client, wmi::RequestWorker& queryWorker)
    : host_(host), client_(client), queryWorker_(queryWorker) {}

QueryView::~QueryView() = default;

void QueryView::Create(HFONT font, HIMAGELIST images, UINT dpi) {
  dpi_ = dpi;
  HWND self = host_.Frame();
  tableMenu_.Reset(CreatePopupMenu());
  AppendMenuItem(tableMenu_.Get(), kCmdCopy, "复制\tCtrl+C");
  AppendMenuItem(tableMenu_.Get(), kCmdSelectAll, "全选\tCtrl+A");
  AppendMenuItem(tableMenu_.Get(), 0, "-");
  AppendMenuItem(tableMenu_.Get(), kCmdExport, "导出...\tCtrl+S");
  AppendMenuItem(tableMenu_.Get(), kCmdCopyPowerShell, "复制为 PowerShell\tCtrl+Shift+P");

  queryLabel_ = framework::win32::CreateChild(
      self, WC_STATICW, "查询", WS_CLIPSIBLINGS | SS_CENTERIMAGE, 0, kIdQueryLabel, font);
  queryCombo_ = framework::win32::CreateChild(
      self, WC_COMBOBOXW, "",
      WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, kIdQueryCombo,
      font);
  queryHistory_ = framework::win32::Win32ComboBox(queryCombo_);
  SetQueryText(kInitialQuery);  // a combo box ignores the window name it is created with
  runQueryButton_ = framework::win32::CreateChild(self, WC_BUTTONW, "执行",
                                                  WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                                  kIdRunQueryButton, font);
  resultTable_ =
      framework::win32::CreateChild(self, WC_LISTVIEWW, "",
                                    WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                        LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                                    WS_EX_CLIENTEDGE, kIdResultTable, font);
  resultView_.Attach(resultTable_, &queryRows_);
  SendMessageW(resultTable_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP);
  SendMessageW(resultTable_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  // The sort arrows are header images; not every common controls version hands the list
  // view's small images to its header by itself.
  HWND header = reinterpret_cast<HWND>(SendMessageW(resultTable_, LVM_GETHEADER, 0, 0));
  if (header != nullptr)
    SendMessageW(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  fleet_.Create(font, dpi);
  SubclassQueryCombo();
}

void QueryView::DpiChanged(UINT dpi, UINT previous, HFONT font) {
  dpi_ = dpi;
  RescaleColumns(resultTable_, dpi, previous);
  SetControlsFont({queryLabel_, queryCombo_, runQueryButton_, resultTable_}, font);
  fleet_.DpiChanged(dpi, previous, font);
}

void QueryView::Layout(const RECT& page) {
  page_ = page;
  LayOutPage();
}

void QueryView::LayOutPage() {
  const RECT& page = page_;
  const framework::win32::DpiScale scale(dpi_);
  const int stripHeight = scale(kStripHeight);
  const int stripBottom = std::min(page.top + stripHeight, page.bottom);
  const int buttonLeft = page.right - scale(kButtonWidth) - scale(2);
  framework::win32::MoveChild(
      queryLabel_, Bounds(page.left + scale(kGap), page.top, page.left + scale(kGap + kLabelWidth),
                          stripBottom));
  framework::win32::MoveChild(
      runQueryButton_, Bounds(buttonLeft, page.top + scale(1), buttonLeft + scale(kButtonWidth),
                              stripBottom - scale(1)));
  // The box "计算机" takes its width from the query box, never more than half the strip.
  const int queryLeft = page.left + scale(kGap + kLabelWidth);
  const int boxLeft = std::max(buttonLeft - scale(kGap) - scale(FleetPane::kBoxWidth),
                               (queryLeft + buttonLeft) / 2);
  framework::win32::MoveChild(queryCombo_,
                              Bounds(queryLeft, page.top + scale(2), boxLeft - scale(kGap),
                                     page.top + scale(2) + scale(kComboDropHeight)));
  fleet_.LayOutBox(Bounds(boxLeft, page.top, buttonLeft - scale(kGap), stripBottom));
  framework::win32::MoveChild(
      resultTable_, fleet_.LayOutBand(Bounds(page.left, stripBottom, page.right, page.bottom)));
}

void QueryView::Show(bool shown) {
  for (HWND child : {queryLabel_, queryCombo_, runQueryButton_, resultTable_})
    ShowWindow(child, shown ? SW_SHOW : SW_HIDE);
  fleet_.Show(shown);
}

bool QueryView::Handles(ViewCommand command) const {
  return command != ViewCommand::CopyValue;
}

bool QueryView::Available(ViewCommand command) const {
  switch (command) {
    case ViewCommand::Export:  // needs a result table, and a whole one: not while rows arrive
      return queryRows_.Rows().ColumnCount() > 0 && !query_.active;
    case ViewCommand::Stop:
      return query_.active;
    default:
      return Handles(command);
  }
}

void QueryView::Run(ViewCommand command, bool fromKeyboard) {
  HWND target = fromKeyboard ? GetFocus() : contextList_;
  switch (command) {
    case ViewCommand::Copy:
      OnCopy(target);
      return;
    case ViewCommand::SelectAll:
      OnSelectAll(target);
      return;
    case ViewCommand::Export:
      OnExport();
      return;
    case ViewCommand::Refresh:
      RunQuery();
      return;
    case ViewCommand::Stop:
      StopQuery();
      return;
    case ViewCommand::CopyPowerShell:
      OnCopyPowerShell();
      return;
    default:
      return;
  }
}

bool QueryView::OnCommand(int id, int notification, HWND control) {
  if ((control == nullptr && id == kCmdRerunFailed) ||
      (control != nullptr && id == kIdRerunFailedButton)) {
    if (control == nullptr || notification == BN_CLICKED) RerunFailed();
    return true;
  }
  if (control == nullptr || id != kIdRunQueryButton) return false;
  if (notification == BN_CLICKED) OnRunQueryButton();
  return true;
}

bool QueryView::OnNotify(NMHDR& header, LRESULT& result) {
  bool escape = false;
  if (fleet_.OnNotify(header, result, escape)) {
    if (escape) StopQuery();
    return true;
  }
  if (header.idFrom != kIdResultTable) return false;
  result = 0;
  if (header.code == LVN_GETDISPINFOW)
    resultView_.FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
  if (header.code == LVN_COLUMNCLICK)
    OnResultColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
  if (header.code == LVN_ODFINDITEMW)
    result = resultView_.FindTypedRow(reinterpret_cast<NMLVFINDITEMW&>(header));
  if (header.code == LVN_KEYDOWN && reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_ESCAPE)
    StopQuery();
  return true;
}

bool QueryView::OnContextMenu(HWND control, POINT point) {
  if (control != nullptr && control == fleet_.StatusList()) contextList_ = control;
  if (fleet_.OnContextMenu(control, point, query_.active)) return true;
  if (control != resultTable_) return false;
  if (tableMenu_.Get() == nullptr) return true;
  const bool selection = SendMessageW(resultTable_, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
  EnableMenuCommand(tableMenu_.Get(), kCmdCopy, selection);
  EnableMenuCommand(tableMenu_.Get(), kCmdSelectAll, !query_.active);
  EnableMenuCommand(tableMenu_.Get(), kCmdExport, Available(ViewCommand::Export));
  contextList_ = resultTable_;
  TrackContextMenu(tableMenu_.Get(), host_.Frame(), point);
  return true;
}

void QueryView::Histories(HistoryCombos& combos) {
  if (queryCombo_ != nullptr) combos.query = &queryHistory_;
  if (fleet_.ComputerCombo() != nullptr) combos.computers = &fleet_.History();
}

std::string QueryView::QueryText() const {
  return framework::win32::GetWindowTextUtf8(queryCombo_);
}

void QueryView::SetQueryText(const std::string& text) {
  framework::win32::SetWindowTextUtf8(queryCombo_, text);
}

void QueryView::OnCopy(HWND list) {
  if (list != nullptr && IsEditField(list)) {
    SendMessageW(list, WM_COPY, 0, 0);
    return;
  }
  if (list != nullptr && list == fleet_.StatusList()) {
    OnCopyFleetStatus();
    return;
  }
  if (list != resultTable_) return;
  const ResultRows& rows = queryRows_.Rows();
  const auto selected = static_cast<int>(SendMessageW(resultTable_, LVM_GETSELECTEDCOUNT, 0, 0));
  if (selected <= 0 || rows.ColumnCount() == 0) return;
  if (selected >= rows.RowCount()) {
    CopyToClipboard(host_, ResultRowsText(rows, ResultColumnOrder(), nullptr));
  } else {
    const std::vector<int> chosen = SelectedListViewRows(resultTable_);
    CopyToClipboard(host_, ResultRowsText(rows, ResultColumnOrder(), &chosen));
  }
}

void QueryView::OnSelectAll(HWND control) {
  // All of a table that still grows would be copied as if it were the whole result.
  if (control == resultTable_ && query_.active) {
    MessageBeep(MB_OK);
    return;
  }
  SelectAll(control, control == fleet_.StatusList() ? control : resultTable_);
}

std::vector<int> QueryView::ResultColumnOrder() const {
  const int columns = resultView_.HeaderColumnCount();
  std::vector<int> order(static_cast<size_t>(std::max(columns, 0)));
  if (columns <= 0 ||
      !SendMessageW(resultTable_, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(columns),
                    reinterpret_cast<LPARAM>(order.data()))) {
    for (int i = 0; i < columns; ++i) order[static_cast<size_t>(i)] = i;
  }
  return order;
}

}  // namespace brevane::app::win32
