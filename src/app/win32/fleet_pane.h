#pragma once
// The query tab's controls for a query that goes to many computers: the box "计算机" in the
// query strip, and under the result table the status list "计算机状态" with the button
// "重新运行失败的". The status list and its button show only once a query went to a list of
// computers; with the box empty the tab looks and acts as it does for one computer.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "framework/win32/control_adapters.h"
#include "framework/win32/gdi_handles.h"
#include "framework/win32/virtual_list_view.h"
#include "wmi/fleet_status.h"

namespace brevane::app::win32 {

class ViewHost;

// The status list's lines, kept as text so that the list draws without formatting anything.
class FleetStatusSource final : public framework::win32::RowSource {
 public:
  explicit FleetStatusSource(const wmi::FleetStatus& status) : status_(status) {}
  void Reload();             // every line again (a new run, a retry)
  void Reload(size_t line);  // one computer's line
  int RowCount() const override { return static_cast<int>(lines_.size()); }
  int ColumnCount() const override { return static_cast<int>(wmi::kStatusColumns); }
  const std::string& Cell(int row, int column) const override;

 private:
  const wmi::FleetStatus& status_;
  std::vector<std::array<std::string, wmi::kStatusColumns>> lines_;
  std::string empty_;
};

class FleetPane {
 public:
  explicit FleetPane(ViewHost& host) : host_(host) {}
  ~FleetPane() { StopTicking(); }
  FleetPane(const FleetPane&) = delete;
  FleetPane& operator=(const FleetPane&) = delete;

  void Create(HFONT font, UINT dpi);
  void DpiChanged(UINT dpi, UINT previous, HFONT font);
  void Show(bool shown);
  // The label and box "计算机" in strip (a part of the query strip).
  void LayOutBox(const RECT& strip);
  // The status band at the bottom of area when it shows; returns what is left for the table.
  RECT LayOutBand(const RECT& area);
  // Width the label and box take in the query strip, in 96-DPI pixels.
  static constexpr int kBoxWidth = 46 + 170;

  std::string ComputersText() const;
  void SetComputersText(const std::string& text);
  HWND ComputerCombo() const { return computerCombo_; }
  framework::win32::Win32ComboBox& History() { return computerHistory_; }

  wmi::FleetStatus& Status() { return status_; }
  // The list shows status_ again: all of it, or one computer's line.
  void Reload();
  void Reload(size_t index);
  // The band shows while status_ has computers (since a query went to a list of them).
  bool BandShown() const { return !status_.Computers().empty(); }
  // The retry button (and command) acts only with failed computers and no run going.
  void EnableRetry(bool running);

  // The status list's notifications; escape is set for Esc in it.
  bool OnNotify(NMHDR& header, LRESULT& result, bool& escape);
  bool OnContextMenu(HWND control, POINT point, bool running);
  HWND StatusList() const { return statusList_; }

  // While a run waits on computers that give no sign (only dead ones left), panel 2's seconds
  // would stand still: tick runs twice a second until StopTicking.
  void StartTicking(std::function<void()> tick);
  void StopTicking();

 private:
  static void CALLBACK OnTickTimer(HWND list, UINT, UINT_PTR, DWORD);

  std::vector<HWND> Controls() const;

  ViewHost& host_;
  UINT dpi_ = 96;
  bool shown_ = false;
  HWND computerLabel_ = nullptr;
  HWND computerCombo_ = nullptr;
  HWND statusLabel_ = nullptr;
  HWND retryButton_ = nullptr;
  HWND statusList_ = nullptr;
  framework::win32::Win32ComboBox computerHistory_{nullptr};
  framework::win32::UniqueMenu listMenu_;
  std::function<void()> tick_;
  wmi::FleetStatus status_;
  FleetStatusSource lines_{status_};
  framework::win32::VirtualListView listView_;
};

}  // namespace brevane::app::win32
