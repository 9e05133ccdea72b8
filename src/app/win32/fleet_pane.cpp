// The box "计算机", the status list "计算机状态" and the button "重新运行失败的" of the query
// tab: their controls, placement and the status list's lines.
#include "app/win32/fleet_pane.h"

#include <algorithm>

#include "app/win32/command_ids.h"
#include "app/win32/view.h"
#include "app/win32/view_controls.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"

namespace brevane::app::win32 {

namespace {

constexpr int kComputerLabelWidth = 46;
constexpr int kBandMinHeight = 90;
constexpr int kRetryButtonWidth = 110;
constexpr UINT_PTR kTickTimer = 0x4654;  // the list view's own timers use small numbers
constexpr UINT kTickMilliseconds = 500;
// The timer finds its pane through this property, which the pane removes when it stops.
constexpr wchar_t kTickProperty[] = L"BrevaneFleetTick";
constexpr int kStatusColumnWidths[wmi::kStatusColumns] = {120, 80, 70, 70, 320};

}  // namespace

void FleetStatusSource::Reload() {
  lines_.clear();
  lines_.reserve(status_.Computers().size());
  for (const wmi::ComputerStatus& computer : status_.Computers())
    lines_.push_back(wmi::StatusCells(computer));
}

void FleetStatusSource::Reload(size_t line) {
  if (lines_.size() != status_.Computers().size()) {
    Reload();
  } else if (line < lines_.size()) {
    lines_[line] = wmi::StatusCells(status_.Computers()[line]);
  }
}

const std::string& FleetStatusSource::Cell(int row, int column) const {
  if (row < 0 || column < 0 || static_cast<size_t>(row) >= lines_.size() ||
      static_cast<size_t>(column) >= wmi::kStatusColumns)
    return empty_;
  return lines_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void FleetPane::Create(HFONT font, UINT dpi) {
  dpi_ = dpi;
  HWND frame = host_.Frame();
  computerLabel_ = framework::win32::CreateChild(frame, WC_STATICW, "计算机",
                                                 WS_CLIPSIBLINGS | SS_CENTERIMAGE | SS_RIGHT, 0,
                                                 kIdComputerLabel, font);
  computerCombo_ = framework::win32::CreateChild(
      frame, WC_COMBOBOXW, "",
      WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
      kIdComputerCombo, font);
  computerHistory_ = framework::win32::Win32ComboBox(computerCombo_);
  statusLabel_ =
      framework::win32::CreateChild(frame, WC_STATICW, "计算机状态",
                                    WS_CLIPSIBLINGS | SS_CENTERIMAGE, 0, kIdFleetStatusLabel, font);
  retryButton_ = framework::win32::CreateChild(frame, WC_BUTTONW, "重新运行失败的",
                                               WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                               kIdRerunFailedButton, font);
  statusList_ = framework::win32::CreateChild(
      frame, WC_LISTVIEWW, "",
      WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
      WS_EX_CLIENTEDGE, kIdFleetStatusList, font);
  listView_.Attach(statusList_, &lines_);
  SendMessageW(statusList_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  const framework::win32::DpiScale scale(dpi);
  for (size_t i = 0; i < wmi::kStatusColumns; ++i)
    listView_.AddColumn(std::string(wmi::kStatusCaptions[i]), scale(kStatusColumnWidths[i]));
  listMenu_.Reset(CreatePopupMenu());
  AppendMenuItem(listMenu_.Get(), kCmdCopy, "复制\tCtrl+C");
  AppendMenuItem(listMenu_.Get(), kCmdSelectAll, "全选\tCtrl+A");
  AppendMenuItem(listMenu_.Get(), 0, "");
  AppendMenuItem(listMenu_.Get(), kCmdRerunFailed, "重新运行失败的");
  EnableRetry(false);
}

void FleetPane::DpiChanged(UINT dpi, UINT previous, HFONT font) {
  dpi_ = dpi;
  RescaleColumns(statusList_, dpi, previous);
  SetControlsFont({computerLabel_, computerCombo_, statusLabel_, retryButton_, statusList_}, font);
}

std::vector<HWND> FleetPane::Controls() const {
  return {computerLabel_, computerCombo_, statusLabel_, retryButton_, statusList_};
}

void FleetPane::Show(bool shown) {
  shown_ = shown;
  for (HWND box : {computerLabel_, computerCombo_}) ShowWindow(box, shown ? SW_SHOW : SW_HIDE);
  const bool band = shown && BandShown();
  for (HWND part : {statusLabel_, retryButton_, statusList_})
    ShowWindow(part, band ? SW_SHOW : SW_HIDE);
}

void FleetPane::LayOutBox(const RECT& strip) {
  const framework::win32::DpiScale scale(dpi_);
  const int labelRight = std::min(strip.left + scale(kComputerLabelWidth), strip.right);
  framework::win32::MoveChild(
      computerLabel_, Bounds(strip.left, strip.top, labelRight - scale(kGap), strip.bottom));
  framework::win32::MoveChild(computerCombo_,
                              Bounds(labelRight, strip.top + scale(2), strip.right,
                                     strip.top + scale(2) + scale(kComboDropHeight)));
}

RECT FleetPane::LayOutBand(const RECT& area) {
  Show(shown_);
  if (!BandShown()) return area;
  const framework::win32::DpiScale scale(dpi_);
  const int areaTop = area.top;
  const int areaBottom = area.bottom;
  const int height = std::max(scale(kBandMinHeight), (areaBottom - areaTop) * 3 / 10);
  const int top = std::max(areaTop, areaBottom - height);
  const int stripBottom = std::min(top + scale(kStripHeight), areaBottom);
  const int buttonLeft = area.right - scale(kRetryButtonWidth) - scale(2);
  framework::win32::MoveChild(
      statusLabel_, Bounds(area.left + scale(kGap), top, buttonLeft - scale(kGap), stripBottom));
  framework::win32::MoveChild(retryButton_, Bounds(buttonLeft, top + scale(1),
                                                   area.right - scale(2), stripBottom - scale(1)));
  framework::win32::MoveChild(statusList_, Bounds(area.left, stripBottom, area.right, area.bottom));
  return Bounds(area.left, area.top, area.right, top);
}

std::string FleetPane::ComputersText() const {
  return framework::win32::GetWindowTextUtf8(computerCombo_);
}

void FleetPane::SetComputersText(const std::string& text) {
  framework::win32::SetWindowTextUtf8(computerCombo_, text);
}

void FleetPane::Reload() {
  lines_.Reload();
  listView_.SyncRowCount();
  InvalidateRect(statusList_, nullptr, FALSE);
}

void FleetPane::Reload(size_t index) {
  const bool sameCount = lines_.RowCount() == static_cast<int>(status_.Computers().size());
  lines_.Reload(index);
  if (!sameCount) {
    listView_.SyncRowCount();
    InvalidateRect(statusList_, nullptr, FALSE);
  } else {
    ListView_RedrawItems(statusList_, static_cast<int>(index), static_cast<int>(index));
  }
}

void FleetPane::EnableRetry(bool running) {
  const bool failed = status_.Count(wmi::ComputerState::Failed) > 0;
  EnableWindow(retryButton_, (failed && !running) ? TRUE : FALSE);
}

bool FleetPane::OnNotify(NMHDR& header, LRESULT& result, bool& escape) {
  if (header.idFrom != kIdFleetStatusList) return false;
  result = 0;
  if (header.code == LVN_GETDISPINFOW)
    listView_.FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
  if (header.code == LVN_ODFINDITEMW)
    result = listView_.FindTypedRow(reinterpret_cast<NMLVFINDITEMW&>(header));
  if (header.code == LVN_KEYDOWN && reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_ESCAPE)
    escape = true;
  return true;
}

bool FleetPane::OnContextMenu(HWND control, POINT point, bool running) {
  if (control != statusList_) return false;
  if (listMenu_.Get() == nullptr) return true;
  EnableMenuCommand(listMenu_.Get(), kCmdCopy,
                    SendMessageW(statusList_, LVM_GETSELECTEDCOUNT, 0, 0) > 0);
  EnableMenuCommand(listMenu_.Get(), kCmdRerunFailed,
                    !running && status_.Count(wmi::ComputerState::Failed) > 0);
  TrackContextMenu(listMenu_.Get(), host_.Frame(), point);
  return true;
}

void FleetPane::StartTicking(std::function<void()> tick) {
  StopTicking();
  if (statusList_ == nullptr) return;
  tick_ = std::move(tick);
  SetPropW(statusList_, kTickProperty, this);
  if (SetTimer(statusList_, kTickTimer, kTickMilliseconds, &FleetPane::OnTickTimer) == 0)
    StopTicking();
}

void FleetPane::StopTicking() {
  if (!tick_) return;
  tick_ = nullptr;
  if (statusList_ == nullptr) return;
  KillTimer(statusList_, kTickTimer);
  RemovePropW(statusList_, kTickProperty);
}

void CALLBACK FleetPane::OnTickTimer(HWND list, UINT, UINT_PTR, DWORD) {
  auto* self = static_cast<FleetPane*>(GetPropW(list, kTickProperty));
  if (self == nullptr || self->statusList_ != list || !self->tick_) {
    KillTimer(list, kTickTimer);
    return;
  }
  try {
    self->tick_();
  } catch (...) {  // nothing unwinds through the system's timer dispatch
    self->StopTicking();
  }
}

}  // namespace brevane::app::win32
